// The start-up walk that registers the COM servers lying in a folder, on copies of the real
// Dorvex.dll and of small libraries built beside the tests.
#include "TestSupport.h"
#include "Dorvex.h"
#include "services/mRegDll_Ocx_Tlb.h"
#include <algorithm>
#include <map>

using namespace testsupport;

namespace {

// The helper libraries built for these tests.
std::wstring HelperDir() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\')) + L"\\lookdlls";
}

bool CopyInto(const std::wstring& from, const std::wstring& to) {
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::wstring InprocServerOf(const CLSID& clsid) {
    wchar_t text[64] = {};
    ::StringFromGUID2(clsid, text, 64);
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    const std::wstring key = std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
    ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// Puts the registration of the program's own Dorvex.dll back for the other tests.
struct RestoreDorvex {
    ~RestoreDorvex() { mRegDll_Ocx_Tlb::RegisterServer(BinDir() + L"\\Dorvex.dll"); }
};

}  // namespace

TEST(ServerFileNames, LastThreeLettersDecide) {
    for (const wchar_t* yes : {L"Dorvex.dll", L"x.OCX", L"lib.Tlb", L"ADLL", L"dll"})
        EXPECT_TRUE(mRegDll_Ocx_Tlb::IsServerFileName(yes)) << Narrow(yes);
    for (const wchar_t* no : {L"readme.txt", L"dl", L"", L"Dorvex.dll.bak", L"x.ocx "})
        EXPECT_FALSE(mRegDll_Ocx_Tlb::IsServerFileName(no)) << Narrow(no);
}

TEST(RegisterFolderServers, RegistersTheRealLibraryAndRefusesTheRest) {
    salva::co_init_scope com;
    RestoreDorvex restore;
    TempDir dir;
    const std::wstring bin = HelperDir();
    ASSERT_TRUE(CopyInto(BinDir() + L"\\Dorvex.dll", dir / L"Dorvex.dll"));
    ASSERT_TRUE(CopyInto(bin + L"\\look_noentry.dll", dir / L"look_noentry.dll"));
    ASSERT_TRUE(CopyInto(bin + L"\\look_comcheck.dll", dir / L"hidden.dll"));
    ASSERT_TRUE(CopyInto(bin + L"\\look_comcheck.dll", dir / L"ADLL"));
    ASSERT_TRUE(::SetFileAttributesW((dir / L"hidden.dll").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteBytes(dir / L"readme.ocx", {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd', 'u', 'l', 'e'}));
    ASSERT_TRUE(WriteBytes(dir / L"notes.txt", {'x'}));
    ASSERT_TRUE(::CreateDirectoryW((dir / L"folder.dll").c_str(), nullptr));

    const auto results = mRegDll_Ocx_Tlb::RegisterFolderServers(dir.path());
    std::map<std::wstring, bool> byName(results.begin(), results.end());
    std::string seen;
    for (const auto& r : results) seen += Narrow(r.first) + (r.second ? "=ok " : "=no ");
    EXPECT_EQ(5u, results.size()) << seen;
    EXPECT_EQ(0u, byName.count(L"notes.txt")) << seen;
    EXPECT_EQ(0u, byName.count(L"folder.dll")) << "folders are not listed: " << seen;
    EXPECT_TRUE(byName[L"Dorvex.dll"]) << seen;
    EXPECT_TRUE(byName[L"ADLL"]) << "a name merely ending in DLL is tried: " << seen;
    EXPECT_FALSE(byName[L"readme.ocx"]) << seen;
    EXPECT_FALSE(byName[L"look_noentry.dll"]) << seen;
    EXPECT_FALSE(byName[L"hidden.dll"]) << seen;

    // Libraries are unloaded again after the walk.
    EXPECT_EQ(nullptr, ::GetModuleHandleW((dir / L"look_noentry.dll").c_str()));
    EXPECT_EQ(nullptr, ::GetModuleHandleW((dir / L"ADLL").c_str()));

    // The classes of the copied library are creatable and served from the copy.
    const std::wstring server = InprocServerOf(CLSID_PDVfileformat);
    EXPECT_EQ(0, lstrcmpiW((dir / L"Dorvex.dll").c_str(), server.c_str())) << Narrow(server);
    for (const CLSID* clsid : {&CLSID_Dorvex, &CLSID_DorvexA, &CLSID_DorvexB, &CLSID_PDVfileformat}) {
        salva::com_ptr<IDispatch> object;
        const HRESULT hr = ::CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void());
        EXPECT_EQ(S_OK, hr) << std::hex << hr;
    }
    ::CoFreeUnusedLibrariesEx(0, 0);
}

TEST(RegUnregServer, EntryPointRunsWithComAndItsResultCounts) {
    TempDir dir;
    ASSERT_TRUE(CopyInto(HelperDir() + L"\\look_comcheck.dll", dir / L"comcheck.dll"));
    // The worker thread initialises COM itself, whatever the calling thread did.
    EXPECT_TRUE(mRegDll_Ocx_Tlb::RegUnregServer(dir / L"comcheck.dll", false));
    // Its DllUnregisterServer answers E_FAIL: ran to its end, yet not done.
    EXPECT_FALSE(mRegDll_Ocx_Tlb::RegUnregServer(dir / L"comcheck.dll", true));
    EXPECT_FALSE(mRegDll_Ocx_Tlb::RegisterServer(dir / L"missing.dll"));
    EXPECT_EQ(nullptr, ::GetModuleHandleW((dir / L"comcheck.dll").c_str()));
}

TEST(RegUnregServer, DependenciesBesideTheLibraryAreFound) {
    TempDir dir;
    ASSERT_TRUE(CopyInto(HelperDir() + L"\\look_dependent.dll", dir / L"dependent.dll"));
    // Without its dependency the library cannot load.
    EXPECT_FALSE(mRegDll_Ocx_Tlb::RegisterServer(dir / L"dependent.dll"));
    ASSERT_TRUE(CopyInto(HelperDir() + L"\\look_noentry.dll", dir / L"look_noentry.dll"));
    EXPECT_TRUE(mRegDll_Ocx_Tlb::RegisterServer(dir / L"dependent.dll"));
    EXPECT_EQ(nullptr, ::GetModuleHandleW((dir / L"dependent.dll").c_str()));
}

TEST(RegUnregServer, AnEntryPointThatHangsIsGivenUpAfterTenSeconds) {
    TempDir dir;
    ASSERT_TRUE(CopyInto(HelperDir() + L"\\look_sleepy.dll", dir / L"sleepy.dll"));
    ASSERT_TRUE(CopyInto(HelperDir() + L"\\look_comcheck.dll", dir / L"after.dll"));
    const DWORD start = ::GetTickCount();
    const auto results = mRegDll_Ocx_Tlb::RegisterFolderServers(dir.path());
    const DWORD elapsed = ::GetTickCount() - start;
    std::map<std::wstring, bool> byName(results.begin(), results.end());
    EXPECT_FALSE(byName[L"sleepy.dll"]);
    EXPECT_TRUE(byName[L"after.dll"]) << "the walk goes on after the time-out";
    EXPECT_GE(elapsed, 9500u);
    EXPECT_LT(elapsed, static_cast<DWORD>(10000 + testsupport::ScaledMs(3000)));
    // The worker still sleeps inside the library, so the library stays loaded.
    EXPECT_NE(nullptr, ::GetModuleHandleW((dir / L"sleepy.dll").c_str()));
}
