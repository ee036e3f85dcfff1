// Dorvex.dll as the program meets it: registered with its own entry point, created by class
// identifier and by ProgID, called through the slots and late-bound by name.
#include "TestSupport.h"
#include "Dorvex.h"
#include "services/ComServer.h"

using namespace testsupport;

namespace {

class DorvexServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new RegisteredServer(L"Dorvex.dll"); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(S_OK, server_->result()) << "registering Dorvex.dll"; }
    static RegisteredServer* server_;
};
RegisteredServer* DorvexServer::server_ = nullptr;

HRESULT Invoke(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT argc, VARIANT* result) {
    return InvokeByName(d, name, flags, args, argc, result);
}

}  // namespace

TEST_F(DorvexServer, RegistryHoldsClassesProgIdsAndThreadingModel) {
    const struct { const CLSID* clsid; const wchar_t* progId; } classes[] = {
        {&CLSID_Dorvex, L"Dorvex.Dorvex"},
        {&CLSID_DorvexA, L"Dorvex.DorvexA"},
        {&CLSID_DorvexB, L"Dorvex.DorvexB"},
        {&CLSID_PDVfileformat, L"Dorvex.PDVfileformat"},
    };
    for (const auto& c : classes) {
        CLSID fromProgId{};
        EXPECT_EQ(S_OK, ::CLSIDFromProgID(c.progId, &fromProgId)) << Narrow(c.progId);
        EXPECT_TRUE(IsEqualCLSID(*c.clsid, fromProgId)) << Narrow(c.progId);
        const std::wstring key = L"CLSID\\" + salva::com::GuidText(*c.clsid) + L"\\InprocServer32";
        wchar_t model[32] = {};
        DWORD size = sizeof(model);
        EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"ThreadingModel",
                                               RRF_RT_REG_SZ, nullptr, model, &size));
        EXPECT_STREQ(L"Apartment", model);

        salva::com_ptr<IDispatch> byId, byProgId;
        EXPECT_EQ(S_OK, ::CoCreateInstance(*c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, byId.put_void()));
        EXPECT_EQ(S_OK, ::CoCreateInstance(fromProgId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                           byProgId.put_void()));
    }
    salva::com_ptr<ITypeLib> lib;
    EXPECT_EQ(S_OK, ::LoadRegTypeLib(LIBID_Dorvexs, 1, 0, LOCALE_NEUTRAL, lib.put()));
    if (lib) {
        salva::unique_bstr name;
        lib->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
        EXPECT_STREQ(L"Dorvexs", name.get());
    }
}

TEST_F(DorvexServer, ResumeRecordThroughSlotsAndByName) {
    TempDir dir;
    const std::wstring path = dir / L"part.vob";
    ASSERT_TRUE(WriteBytes(path, Pattern(100)));

    salva::com_ptr<_PDVfileformat> rec;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_PDVfileformat, nullptr, CLSCTX_INPROC_SERVER,
                                       __uuidof(_PDVfileformat), rec.put_void()));
    rec->put_FileLength(100);
    rec->put_TotalTime(42);
    salva::unique_bstr b(::SysAllocString(path.c_str()));
    salva::unique_variant none;
    ASSERT_EQ(S_OK, rec->WritePDVFile(b.get(), &none));
    EXPECT_EQ(116, FileLength(path));

    // A script caller: everything by name.
    salva::com_ptr<IDispatch> disp;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_PDVfileformat, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                       disp.put_void()));
    salva::unique_variant arg, result;
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = ::SysAllocString(path.c_str());
    ASSERT_EQ(S_OK, Invoke(disp.get(), L"ReadPDVFile", DISPATCH_METHOD, &arg, 1, &result));
    EXPECT_EQ(VT_I4, V_VT(&result));
    EXPECT_EQ(1, V_I4(&result));

    salva::unique_variant len;
    ASSERT_EQ(S_OK, Invoke(disp.get(), L"FileLength", DISPATCH_PROPERTYGET, nullptr, 0, &len));
    EXPECT_EQ(84, V_I4(&len));
    salva::unique_variant total;
    ASSERT_EQ(S_OK, Invoke(disp.get(), L"TotalTime", DISPATCH_PROPERTYGET, nullptr, 0, &total));
    EXPECT_EQ(VT_I2, V_VT(&total));
    EXPECT_EQ(42, V_I2(&total));

    salva::unique_variant put;
    V_VT(&put) = VT_I4;
    V_I4(&put) = INT32_MIN;
    ASSERT_EQ(S_OK, Invoke(disp.get(), L"FileLength", DISPATCH_PROPERTYPUT, &put, 1, nullptr));
    salva::unique_variant overflow;
    EXPECT_EQ(DISP_E_OVERFLOW, Invoke(disp.get(), L"FileLength", DISPATCH_PROPERTYGET, nullptr, 0, &overflow));

    salva::unique_variant written;
    ASSERT_EQ(S_OK, Invoke(disp.get(), L"WritePDVFile", DISPATCH_METHOD, &arg, 1, &written));
    EXPECT_EQ(VT_EMPTY, V_VT(&written));
}

TEST_F(DorvexServer, PromptsAnswerByNameToo) {
    salva::com_ptr<IDispatch> a;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_DorvexA, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, a.put_void()));
    salva::unique_variant name;
    ASSERT_EQ(S_OK, Invoke(a.get(), L"GetNewFileName", DISPATCH_METHOD, nullptr, 0, &name));
    EXPECT_EQ(VT_BSTR, V_VT(&name));
}

// Runs last in this suite: afterwards nothing can be created.
TEST_F(DorvexServer, ZUnregisterRemovesEverything) {
    ASSERT_EQ(S_OK, server_->Unregister());
    salva::com_ptr<IUnknown> obj;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, ::CoCreateInstance(CLSID_PDVfileformat, nullptr, CLSCTX_INPROC_SERVER,
                                                       IID_IUnknown, obj.put_void()));
    CLSID c{};
    EXPECT_NE(S_OK, ::CLSIDFromProgID(L"Dorvex.DorvexB", &c));
    salva::com_ptr<ITypeLib> lib;
    EXPECT_NE(S_OK, ::LoadRegTypeLib(LIBID_Dorvexs, 1, 0, LOCALE_NEUTRAL, lib.put()));
}
