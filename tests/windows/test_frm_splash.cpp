// The about box filled under systems described by a registry of the test's own: the local
// machine's key of this process is pointed at a key below the test's user key, which holds
// the values a Windows 98 or a Windows XP machine records. The real prefix is read too.
#include "TestSupport.h"
#include "windows/frmSplash.h"
#include <chrono>
#include <thread>

using salva::frmSplash;
using testsupport::Narrow;

namespace {

const wchar_t kTestRoot[] = L"Software\\SalvadiskTests\\AboutBox";

void SetString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

void SetNumber(HKEY root, const std::wstring& subKey, const wchar_t* name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
}

// The local machine key of this process seen through a key of the test's, for the object's
// life.
class MachineKey {
public:
    MachineKey() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kTestRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        overridden_ = key_ && ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, key_) == ERROR_SUCCESS;
    }
    ~MachineKey() {
        if (overridden_) ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        if (key_) ::RegCloseKey(key_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    }
    bool ok() const { return overridden_; }
    HKEY key() const { return key_; }
    void Processor(const wchar_t* name, DWORD megahertz) {
        const std::wstring cpu = L"HARDWARE\\Description\\System\\CentralProcessor\\0";
        SetString(key_, cpu, L"ProcessorNameString", name);
        SetString(key_, cpu, L"VendorIdentifier", L"GenuineIntel");
        SetString(key_, cpu, L"Identifier", L"x86 Family 6 Model 8 Stepping 3");
        SetNumber(key_, cpu, L"~MHz", megahertz);
    }

private:
    HKEY key_ = nullptr;
    bool overridden_ = false;
};

#define REQUIRE_MACHINE_KEY(m) \
    if (!(m).ok()) GTEST_SKIP() << "the local machine key cannot be pointed elsewhere here"

std::wstring Text(frmSplash& w, int id) { return testsupport::WindowText(w.Control(id)); }

std::wstring RealValue(const wchar_t* key, const wchar_t* name) {
    return frmSplash::ReadRemoteReg(HKEY_LOCAL_MACHINE, key, name);
}

TEST(AboutBox, Windows98Machine) {
    MachineKey machine;
    REQUIRE_MACHINE_KEY(machine);
    const std::wstring k9x = L"Software\\Microsoft\\Windows\\CurrentVersion";
    SetString(machine.key(), k9x, L"VersionNumber", L"4.10.2222");
    SetString(machine.key(), k9x, L"ProductName", L"Microsoft Windows 98");
    SetString(machine.key(), k9x, L"ProductID", L"12345-OEM-0012345-12345");
    SetString(machine.key(), k9x, L"RegisteredOwner", L"张三");
    SetString(machine.key(), k9x, L"RegisteredOrganization", L"救盘工作室");
    SetString(machine.key(), k9x, L"CSDVersion", L" A ");
    machine.Processor(L"Pentium III", 0x320);

    frmSplash w;
    ASSERT_TRUE(w.Load());
    EXPECT_EQ(w.FamilyCode(), L"9x");
    EXPECT_EQ(Text(w, frmSplash::IDC_LBLCOMPUTERINFO),
              L"Microsoft Windows 98\r\n4.10.2222.   A \r\nRegisteredOwner:张三\r\nRegisteredOrganization:救盘工作室\r\n"
              L"ProductID:12345-OEM-0012345-12345\r\n")
        << Narrow(Text(w, frmSplash::IDC_LBLCOMPUTERINFO));
    EXPECT_EQ(Text(w, frmSplash::IDC_LBLCPUINFORMATION),
              L"Pentium III\r\nGenuineIntel  800MHz\r\nx86 Family 6 Model 8 Stepping 3")
        << Narrow(Text(w, frmSplash::IDC_LBLCPUINFORMATION));
    w.Unload();
}

TEST(AboutBox, WindowsXpMachineWithoutProductName) {
    MachineKey machine;
    REQUIRE_MACHINE_KEY(machine);
    const std::wstring kNt = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    SetString(machine.key(), kNt, L"CurrentVersion", L"5.1");
    SetString(machine.key(), kNt, L"CurrentBuildNumber", L"2600");
    SetString(machine.key(), kNt, L"CSDVersion", L"Service Pack 3");
    SetString(machine.key(), kNt, L"RegisteredOwner", L"Owner");
    machine.Processor(L"Athlon", 0x3E8);

    frmSplash w;
    ASSERT_TRUE(w.Load());
    EXPECT_EQ(w.FamilyCode(), L"NT");
    // Values that are missing leave their lines with the label alone.
    EXPECT_EQ(Text(w, frmSplash::IDC_LBLCOMPUTERINFO),
              L"Microsoft Windows NT\r\n5.1.2600  Service Pack 3\r\nRegisteredOwner:Owner\r\nRegisteredOrganization:\r\n"
              L"ProductID:\r\n")
        << Narrow(Text(w, frmSplash::IDC_LBLCOMPUTERINFO));
    EXPECT_EQ(Text(w, frmSplash::IDC_LBLCPUINFORMATION), L"Athlon\r\nGenuineIntel  1000MHz\r\nx86 Family 6 Model 8 Stepping 3");
    w.Unload();
}

TEST(AboutBox, ThisPrefixAndTheFixedLines) {
    const wchar_t kNt[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    frmSplash w;
    ASSERT_TRUE(w.Load());
    // Wine records a version after XP in the NT key; it is of the NT family all the same.
    ASSERT_TRUE(RealValue(L"Software\\Microsoft\\Windows\\CurrentVersion", L"VersionNumber").empty());
    EXPECT_EQ(w.FamilyCode(), L"NT") << Narrow(RealValue(kNt, L"CurrentVersion"));
    const std::wstring info = Text(w, frmSplash::IDC_LBLCOMPUTERINFO);
    const std::wstring product = RealValue(kNt, L"ProductName");
    EXPECT_EQ(info.rfind((product.empty() ? L"Microsoft Windows NT" : product) + L"\r\n" +
                             RealValue(kNt, L"CurrentVersion") + L"." + RealValue(kNt, L"CurrentBuildNumber"),
                         0),
              0u)
        << Narrow(info);

    EXPECT_EQ(Text(w, frmSplash::IDC_LBLPRODUCTNAME), L"Salvadisk");
    EXPECT_EQ(Text(w, frmSplash::IDC_LBLVERSION), L"[Version: 1.0.0]");
    EXPECT_EQ(Text(w, frmSplash::IDC_LABEL3), L"CompanyName:Salvadisk");
    EXPECT_EQ(Text(w, frmSplash::IDC_LABEL4), L"ComputerName:" + frmSplash::GetMyComputerName());
    EXPECT_FALSE(frmSplash::GetMyComputerName().empty());
    EXPECT_EQ(Text(w, frmSplash::IDC_LABEL5), L"UserName:" + frmSplash::GetMyUserName());
    MEMORYSTATUSEX status{sizeof(status)};
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    const std::wstring memory = Text(w, frmSplash::IDC_LABEL6);
    EXPECT_EQ(memory.rfind(salva::splash_text::MemoryLine(0, status.ullTotalPhys, 0) + L"\r\nTotalAvailMem:", 0), 0u)
        << Narrow(memory);
    EXPECT_EQ(Text(w, frmSplash::IDC_CMDSYSINFO), L"SystemInfo(&I)");
    EXPECT_EQ(Text(w, frmSplash::IDC_CMDOK), L"Sure(&S)");
    ::SendMessageW(w.Control(frmSplash::IDC_CMDOK), BM_CLICK, 0, 0);
    EXPECT_FALSE(w.IsLoaded());
}

std::wstring OwnFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1);
}

bool WaitForFile(const std::wstring& path) {
    return testsupport::WaitUntil("the file " + testsupport::Narrow(path), 10000,
                                  [&] { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

TEST(AboutBox, SystemInformationButtonStartsTheToolTheRegistryNames) {
    const std::wstring tool = OwnFolder() + L"sysinfo_standin.exe";
    const std::wstring marker = tool + L".ran";
    ::DeleteFileW(marker.c_str());
    ASSERT_NE(::GetFileAttributesW(tool.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(tool);
    MachineKey machine;
    REQUIRE_MACHINE_KEY(machine);
    SetString(machine.key(), L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", tool);

    testsupport::Watcher watcher(frmSplash::kCaption, [](HWND box) {
        ::PostMessageW(::GetDlgItem(box, frmSplash::IDC_CMDSYSINFO), BM_CLICK, 0, 0);
    });
    frmSplash::ShowAbout();
    watcher.Join();
    EXPECT_TRUE(watcher.found());
    EXPECT_FALSE(frmSplash::Default().IsLoaded()) << "the button closes the box";
    EXPECT_TRUE(WaitForFile(marker)) << "the stand-in did not run";
    ::DeleteFileW(marker.c_str());
}

}  // namespace
