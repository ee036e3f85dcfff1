// Input test, Windows version names and platform codes, and the system information launcher.
#include "services/mDoEvents.h"
#include "services/mGetOSverioninfo.h"
#include "services/mSystemInfo.h"
#include "TestSupport.h"
#include <chrono>
#include <thread>

using testsupport::Narrow;
using testsupport::TempDir;
namespace mDoEvents = salva::mDoEvents;
namespace mGetOSverioninfo = salva::mGetOSverioninfo;
namespace sysinfo = salva::mSystemInfo::detail;

namespace {

std::wstring SelfFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1);
}

std::wstring ReadWide(const std::wstring& path) {
    const auto bytes = testsupport::ReadBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

void Drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

struct Recorder {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_APP) ++appMessages;
        return ::DefWindowProcW(h, m, w, l);
    }
    static int appMessages;
};
int Recorder::appMessages = 0;

HWND MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Recorder::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SalvaInputPendingTest";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"input", WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10, 200, 150,
                             nullptr, nullptr, wc.hInstance, nullptr);
}

// A key under HKCU standing in for the local machine's root, removed with everything below it.
class TestRegistryRoot {
public:
    TestRegistryRoot() {
        name_ = L"Software\\SalvadiskTest_" + std::to_wstring(::GetCurrentProcessId());
        ::RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    }
    ~TestRegistryRoot() {
        key_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, name_.c_str());
    }
    HKEY get() const { return key_.get(); }
    void SetString(const std::wstring& subkey, const wchar_t* value, const std::wstring& data) {
        ::RegSetKeyValueW(key_.get(), subkey.c_str(), value, REG_SZ, data.c_str(),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }

private:
    std::wstring name_;
    salva::unique_hkey key_;
};

// One window for the whole suite: destroying a visible window costs two seconds under Wine on
// a display without a window manager.
class InputPending : public ::testing::Test {
protected:
    static void SetUpTestSuite() { window_ = MakeWindow(); }
    static void TearDownTestSuite() {
        if (window_) ::DestroyWindow(window_);
        window_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(window_);
        ::UpdateWindow(window_);
        Drain();
    }
    static HWND window_;
};
HWND InputPending::window_ = nullptr;

}  // namespace

TEST_F(InputPending, CountsPaintButNotTimers) {
    ::InvalidateRect(window_, nullptr, TRUE);
    EXPECT_NE(mDoEvents::InputPending() & QS_PAINT, 0u) << "a window with an invalid area waits to be painted";
    ::UpdateWindow(window_);
    Drain();
    mDoEvents::InputPending();  // forgets what was new since the last look
    EXPECT_EQ(mDoEvents::InputPending(), 0u);

    ASSERT_NE(::SetTimer(window_, 1, 5, nullptr), 0u);
    testsupport::WaitUntil("the 5 ms timer to be due", 2000, [] { return HIWORD(::GetQueueStatus(QS_TIMER)) != 0; });
    EXPECT_NE(::GetQueueStatus(QS_TIMER), 0u) << "the timer is due";
    EXPECT_EQ(mDoEvents::InputPending(), 0u) << "a timer alone is no input";
    ::KillTimer(window_, 1);
    Drain();

    ::InvalidateRect(window_, nullptr, TRUE);
    EXPECT_NE(mDoEvents::InputPending() & QS_PAINT, 0u);
    ::UpdateWindow(window_);
    Drain();
}

TEST_F(InputPending, MouseMovesDoNotCountKeysDo) {
    ::SetForegroundWindow(window_);
    Drain();
    RECT r{};
    ::GetWindowRect(window_, &r);
    ::SetCursorPos(r.left + 60, r.top + 60);
    ::Sleep(50);
    ::SetCursorPos(r.left + 80, r.top + 70);
    testsupport::WaitUntil("the mouse move in the queue", 2000, [] { return HIWORD(::GetQueueStatus(QS_MOUSEMOVE)) != 0; });
    // A mouse move is waiting, which is no input for the loops.
    EXPECT_NE(::GetQueueStatus(QS_MOUSEMOVE) & (QS_MOUSEMOVE << 16 | QS_MOUSEMOVE), 0u);
    EXPECT_EQ(mDoEvents::InputPending(), 0u);
    Drain();
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_SHIFT;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    UINT sent = ::SendInput(2, keys, sizeof(INPUT));
    // GetInputState looks without forgetting what is new, which the check below reads.
    testsupport::WaitUntil("the key strokes in the queue", 2000, [] { return ::GetInputState() != FALSE; });
    ASSERT_EQ(sent, 2u);
    EXPECT_NE(mDoEvents::InputPending() & QS_KEY, 0u) << "a key stroke is input";
    Drain();
}

TEST_F(InputPending, PumpRunsWaitingMessagesAndKeepsTheQuitRequest) {
    Recorder::appMessages = 0;
    ::PostMessageW(window_, WM_APP, 0, 0);
    ::PostMessageW(window_, WM_APP, 0, 0);
    ::PostQuitMessage(7);
    mDoEvents::PumpMessages();
    EXPECT_EQ(Recorder::appMessages, 2);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(OSVersion, NamesAndPlatformCodes) {
    EXPECT_EQ(mGetOSverioninfo::VersionName(1, 4, 0), L"Microsoft Windows 95");
    EXPECT_EQ(mGetOSverioninfo::VersionName(2, 5, 2), L"WindowsNT 2.5.2");
    EXPECT_EQ(mGetOSverioninfo::VersionName(2, 6, 0), L"WindowsNT 2.6.0");
    EXPECT_EQ(mGetOSverioninfo::VersionName(0, 3, 10), L"Windows3X 0.3.10");
    EXPECT_EQ(mGetOSverioninfo::VersionName(1, 4, 20), L"Windows9X 1.4.20");
    EXPECT_EQ(mGetOSverioninfo::VersionName(3, 1, 0), L"Windows9X 3.1.0");
    EXPECT_EQ(mGetOSverioninfo::PlatformFromId(0), salva::OSPlatformWin32s);
    EXPECT_EQ(mGetOSverioninfo::PlatformFromId(1), salva::OSPlatformWin9x);
    EXPECT_EQ(mGetOSverioninfo::PlatformFromId(2), salva::OSPlatformNT);
    EXPECT_EQ(mGetOSverioninfo::PlatformFromId(3), salva::OSPlatformOther);
}

// Wine reports the version set for an executable's name under AppDefaults; each version runs
// in its own copy of a small program that writes what it was told.
TEST(OSVersion, UnderTheVersionsWineCanReport) {
    const std::wstring probe = SelfFolder() + L"os_version_probe.exe";
    ASSERT_NE(::GetFileAttributesW(probe.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(probe);
    struct Case { const wchar_t* version; const wchar_t* expected; };
    const Case cases[] = {
        {L"win95", L"1|Microsoft Windows 95"},   {L"win98", L"1|Microsoft Windows 98"},
        {L"winme", L"1|Microsoft Windows Me"},   {L"nt40", L"2|WindowsNT 4.0"},
        {L"win2k", L"2|Microsoft Windows 2000"}, {L"winxp", L"2|Microsoft Windows XP"},
        {L"win2003", L"2|WindowsNT 2.5.2"},      {L"win7", L"2|WindowsNT 2.6.1"},
    };
    TempDir dir;
    const std::wstring tag = std::to_wstring(::GetCurrentProcessId());
    std::vector<std::wstring> keys;
    std::vector<salva::unique_handle> processes;
    for (const Case& c : cases) {
        const std::wstring exeName = L"osprobe_" + tag + L"_" + c.version + L".exe";
        const std::wstring exe = dir / exeName;
        ASSERT_TRUE(::CopyFileW(probe.c_str(), exe.c_str(), FALSE));
        const std::wstring key = L"Software\\Wine\\AppDefaults\\" + exeName;
        keys.push_back(key);
        const std::wstring version = c.version;
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Version", REG_SZ, version.c_str(),
                                    static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        std::wstring commandLine = L"\"" + exe + L"\" \"" + exe + L".txt\"";
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &process));
        ::CloseHandle(process.hThread);
        processes.emplace_back(process.hProcess);
    }
    for (auto& p : processes)
        EXPECT_EQ(::WaitForSingleObject(p.get(), static_cast<DWORD>(testsupport::ScaledMs(30000))), WAIT_OBJECT_0);
    for (const auto& key : keys) ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()), ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    for (const Case& c : cases) {
        const std::wstring out = dir / (L"osprobe_" + tag + L"_" + c.version + L".exe.txt");
        const std::wstring seen = ReadWide(out);
        EXPECT_EQ(seen, c.expected) << Narrow(c.version) << ": " << Narrow(seen);
    }
    // This process runs under the prefix's own version, an NT-family one.
    EXPECT_EQ(mGetOSverioninfo::GetOSPlatform(), salva::OSPlatformNT);
    EXPECT_EQ(mGetOSverioninfo::GetOSVersionName().rfind(L"WindowsNT 2.", 0), 0u)
        << Narrow(mGetOSverioninfo::GetOSVersionName());
}

TEST(SystemInfo, ValueTexts) {
    const std::vector<uint8_t> dword = {0x05, 0x0A, 0x01, 0x00};
    EXPECT_EQ(sysinfo::ValueText(REG_DWORD, dword).value_or(L"?"), L"&h00010A05");
    EXPECT_EQ(sysinfo::ValueText(REG_DWORD, {0, 0, 0, 0}).value_or(L"?"), L"&h00000000");
    const wchar_t sz[] = L"C:\\Tools\\msinfo32.exe";
    std::vector<uint8_t> text(reinterpret_cast<const uint8_t*>(sz), reinterpret_cast<const uint8_t*>(sz) + sizeof(sz));
    EXPECT_EQ(sysinfo::ValueText(REG_SZ, text).value_or(L"?"), sz);
    text.resize(text.size() - sizeof(wchar_t));  // stored without its NUL
    EXPECT_EQ(sysinfo::ValueText(REG_SZ, text).value_or(L"?"), sz);
    EXPECT_FALSE(sysinfo::ValueText(REG_BINARY, dword).has_value());
}

TEST(SystemInfo, ReadsRegistryValues) {
    TestRegistryRoot root;
    ASSERT_TRUE(root.get());
    root.SetString(L"A\\B", L"Text", L"hello");
    const DWORD number = 0x00C0FFEE;
    ::RegSetKeyValueW(root.get(), L"A\\B", L"Number", REG_DWORD, &number, sizeof(number));
    const uint8_t blob[] = {1, 2, 3};
    ::RegSetKeyValueW(root.get(), L"A\\B", L"Blob", REG_BINARY, blob, sizeof(blob));

    std::wstring value = L"before";
    EXPECT_TRUE(sysinfo::GetKeyValue(root.get(), L"A\\B", L"Text", value));
    EXPECT_EQ(value, L"hello");
    EXPECT_TRUE(sysinfo::GetKeyValue(root.get(), L"A\\B", L"Number", value));
    EXPECT_EQ(value, L"&h00C0FFEE") << Narrow(value);
    value = L"kept";
    EXPECT_TRUE(sysinfo::GetKeyValue(root.get(), L"A\\B", L"Blob", value));
    EXPECT_EQ(value, L"kept");
    EXPECT_FALSE(sysinfo::GetKeyValue(root.get(), L"A\\B", L"Missing", value));
    EXPECT_EQ(value, L"");
    value = L"x";
    EXPECT_FALSE(sysinfo::GetKeyValue(root.get(), L"A\\Missing", L"Text", value));
    EXPECT_EQ(value, L"");
}

TEST(SystemInfo, FindsAndStartsTheTool) {
    TestRegistryRoot root;
    ASSERT_TRUE(root.get());
    TempDir dir;
    EXPECT_EQ(sysinfo::FindSysInfoTool(root.get()), L"");

    const std::wstring folder = dir / L"Shared Tools";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    root.SetString(L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO", folder);
    EXPECT_EQ(sysinfo::FindSysInfoTool(root.get()), L"") << "the folder holds no MSINFO32.EXE";

    const std::wstring tool = folder + L"\\MSINFO32.EXE";
    ASSERT_TRUE(::CopyFileW((SelfFolder() + L"os_version_probe.exe").c_str(), tool.c_str(), FALSE));
    EXPECT_EQ(sysinfo::FindSysInfoTool(root.get()), tool) << Narrow(sysinfo::FindSysInfoTool(root.get()));

    // The recorded path comes first.
    root.SetString(L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", L"C:\\elsewhere\\msinfo32.exe");
    EXPECT_EQ(sysinfo::FindSysInfoTool(root.get()), L"C:\\elsewhere\\msinfo32.exe");

    // Started by its own path, which holds a blank, not through a command line search.
    ASSERT_TRUE(sysinfo::StartProgram(tool));
    const std::wstring out = tool + L".out";
    // The stand-in writes its line and closes the file; the file is whole once it can be
    // opened without sharing.
    testsupport::WaitUntil("the stand-in's output file", 10000, [&] {
        if (testsupport::FileLength(out) <= 0) return false;
        salva::unique_hfile f(::CreateFileW(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return static_cast<bool>(f);
    }, 50);
    EXPECT_EQ(ReadWide(out).substr(0, 2), L"2|") << Narrow(ReadWide(out));
    EXPECT_FALSE(sysinfo::StartProgram(dir / L"missing.exe"));
    EXPECT_FALSE(sysinfo::StartProgram(L""));
}
