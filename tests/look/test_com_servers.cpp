// What the two libraries share of the COM frame, through their real entry points as regsvr32
// and script callers meet them: registration repeated either way, and the dispatch interface's
// reserved argument.
#include "TestSupport.h"
#include "services/ComServer.h"

using namespace testsupport;

namespace {

struct Library {
    const wchar_t* file;
    const wchar_t* progId;  // one class, whose registration shows the library's
};
const Library kLibraries[] = {{L"Dorvex.dll", L"Dorvex.PDVfileformat"}, {L"Velmora.dll", L"Velmora.cVelmora"}};

// Calls one of the library's self-registration entry points.
HRESULT CallEntry(const wchar_t* file, const char* entry) {
    salva::unique_hmodule dll(::LoadLibraryW((BinDir() + L"\\" + file).c_str()));
    if (!dll) return HRESULT_FROM_WIN32(::GetLastError());
    auto call = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(dll.get(), entry));
    return call ? call() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

}  // namespace

// Each library's entry points, each twice, and registered again at the end for the tests that
// follow: what is not registered is already as unregistering leaves it.
TEST(ComServers, RegisterTwiceAndUnregisterTwice) {
    salva::co_init_scope com;
    const char* steps[] = {"DllRegisterServer", "DllRegisterServer", "DllUnregisterServer", "DllUnregisterServer",
                           "DllRegisterServer"};
    for (const Library& lib : kLibraries)
        for (size_t i = 0; i < std::size(steps); ++i) {
            EXPECT_EQ(S_OK, CallEntry(lib.file, steps[i])) << Narrow(lib.file) << " step " << i << " " << steps[i];
            CLSID clsid{};
            EXPECT_EQ(::CLSIDFromProgID(lib.progId, &clsid) == S_OK, steps[i][3] == 'R')
                << Narrow(lib.file) << " after step " << i << " " << steps[i];
        }
}

TEST(ComServers, DispatchRefusesAnyInterfaceButNull) {
    salva::co_init_scope com;
    const struct {
        const wchar_t* progId;
        const wchar_t* member;  // called with no arguments: a prompt refuses the call, so none opens
    } classes[] = {
        {L"Dorvex.Dorvex", L"SwitchDialogBox"},  {L"Dorvex.DorvexA", L"GetNewFileName"},
        {L"Dorvex.DorvexB", L"SwitchDialogBoxB"}, {L"Dorvex.PDVfileformat", L"FileLength"},
        {L"Velmora.cVelmora", L"OwnerhWnd"},
    };
    for (const Library& lib : kLibraries) ASSERT_EQ(S_OK, CallEntry(lib.file, "DllRegisterServer"));
    for (const auto& c : classes) {
        const std::string name = Narrow(c.progId);
        CLSID clsid{};
        ASSERT_EQ(S_OK, ::CLSIDFromProgID(c.progId, &clsid)) << name;
        salva::com_ptr<IDispatch> d;
        ASSERT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()))
            << name;
        LPOLESTR member = const_cast<LPOLESTR>(c.member);
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, d->GetIDsOfNames(IID_IDispatch, &member, 1, LOCALE_USER_DEFAULT, &id))
            << name;
        ASSERT_EQ(S_OK, d->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id)) << name;
        DISPPARAMS none{};
        salva::unique_variant result;
        EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, d->Invoke(id, IID_IUnknown, LOCALE_USER_DEFAULT,
                                                     DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result,
                                                     nullptr, nullptr))
            << name;
    }
}
