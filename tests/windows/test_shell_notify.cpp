// Shell change notifications reaching the log window: event texts, registration, subclass,
// and what the shell really sends when files change.
#include "LogWindowFixture.h"
#include "windows/mRecShellChangeNotifiDef.h"
#include "windows/mRecShellChangeNotifiShell.h"
#include "windows/mRecShellChangeNotifisSubClass.h"
#include <shellapi.h>

using namespace salva;
using namespace logtest;
using testsupport::Narrow;
namespace shell = salva::mRecShellChangeNotifiShell;
namespace def = salva::mRecShellChangeNotifiDef;
namespace sub = salva::mRecShellChangeNotifisSubClass;

TEST(ShellEventText, TableTexts) {
    struct Case { unsigned long code; const wchar_t* want; } cases[] = {
        {0x1, L"重命名文件 \u201Ca\u201D为\u201Cb\u201D"},
        {0x2, L"创建文件\uFF1A\u201Ca\u201D"},
        {0x4, L"删除文件：“a”"},
        {0x8, L"新建文件夹：“a”"},
        {0x10, L"删除文件夹：“a”"},
        {0x20, L"a中插入可移动存储介质"},
        {0x40, L"a中移去可移动存储介质"},
        {0x80, L"移去驱动器：a"},
        {0x100, L"添加驱动器：a"},
        {0x200, L"改变文件夹 “a”的共享属性"},
        {0x400, L"SHCNE_NETUNSHARE"},
        {0x1000, L"更新文件夹 “a”"},
        {0x2000, L"更新文件：“a”"},
        {0x4000, L"断开与服务器的连接“a”“b”"},
        {0x20000, L"重命名文件夹“a”为“b”"},
        {0x40000, L"磁盘空间大小改变"},
        {0x8000000, L"改变文件关联"},
        {0x2381F, L"SHCNE_DISKEVENTS"},
        {0x7FFFFFFF, L"SHCNE_ALLEVENTS"},
        {0x80000000, L"SHCNE_INTERRUPT"},
        {0x80000002, L""},  // combined bits are not split up
        {0x3, L""},
        {0x100000, L""},
    };
    for (const auto& c : cases) {
        const std::wstring got = shell::GetShellEventText(L"a", L"b", c.code);
        EXPECT_EQ(got, c.want) << std::hex << c.code << " gave " << Narrow(got);
    }
    EXPECT_EQ(def::TrimAtNull(std::wstring(L"C:\\x\0junk", 9)), L"C:\\x");
    EXPECT_EQ(def::TrimAtNull(L"C:\\y"), L"C:\\y");
}

TEST(ShellNotifyRegistration, OnceAndOnlyOnce) {
    ASSERT_FALSE(shell::IsRegistered()) << "a previous test left a registration";
    EXPECT_FALSE(shell::DeregisterShellNotify()) << "nothing registered";
    salva::unique_hwnd a(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(a);
    ASSERT_TRUE(shell::RegisterShellNotify(a.get()));
    EXPECT_FALSE(shell::RegisterShellNotify(a.get())) << "second registration";
    EXPECT_TRUE(shell::IsRegistered());
    EXPECT_TRUE(shell::DeregisterShellNotify());
    EXPECT_FALSE(shell::IsRegistered());
    EXPECT_FALSE(shell::DeregisterShellNotify());
}

TEST_F(LogWindowTest, SubclassOnlyOnceAndRestored) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    EXPECT_TRUE(sub::IsSubclassed(h));
    const LONG_PTR original = reinterpret_cast<LONG_PTR>(::GetPropW(h, L"OldWndProc"));
    EXPECT_NE(original, 0);
    EXPECT_NE(original, ::GetWindowLongPtrW(h, GWLP_WNDPROC)) << "the procedure was replaced";

    // A second subclass is refused with a message box and changes nothing.
    bool boxSeen = false;
    std::wstring boxText;
    testsupport::Watcher watcher(L"Salvadisk", [&](HWND box) {
        boxSeen = true;
        boxText = testsupport::WindowText(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }, L"#32770");
    EXPECT_FALSE(sub::SubclassWindow(h));
    watcher.Join();
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(boxText.rfind(L"Unable to successfully subclass &H", 0), 0u) << Narrow(boxText);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropW(h, L"OldWndProc")), original);

    window->KeepLoaded = false;
    ASSERT_TRUE(window->Unload());
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_FALSE(shell::IsRegistered()) << "unload deregisters";
}

TEST_F(LogWindowTest, ForeignNotifyParametersAreIgnored) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    def::ResetLastNotifyText();
    ::SendMessageW(h, shell::WM_SHELLNOTIFY, 0, SHCNE_CREATE);
    void* page = ::VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(page, nullptr);
    ::VirtualFree(page, 0, MEM_RELEASE);
    ::SendMessageW(h, shell::WM_SHELLNOTIFY, reinterpret_cast<WPARAM>(page), SHCNE_CREATE);
    // Readable pair whose first list runs into freed memory.
    BYTE* two = static_cast<BYTE*>(::VirtualAlloc(nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(two, nullptr);
    ::VirtualFree(two + 4096, 4096, MEM_DECOMMIT);
    BYTE* tail = two + 4096 - 4;
    tail[0] = 0x00;
    tail[1] = 0x10;  // an item 4096 bytes long
    void* pair[2] = {tail, nullptr};
    ::SendMessageW(h, shell::WM_SHELLNOTIFY, reinterpret_cast<WPARAM>(pair), SHCNE_CREATE);
    ::VirtualFree(two, 0, MEM_RELEASE);
    EXPECT_EQ(window->CurrentLog(), L"") << Narrow(window->CurrentLog());

    // Two null lists are the shell's: an event without items.
    void* none[2] = {nullptr, nullptr};
    ::SendMessageW(h, shell::WM_SHELLNOTIFY, reinterpret_cast<WPARAM>(none), SHCNE_ASSOCCHANGED);
    EXPECT_EQ(window->CurrentLog(), Stamp() + L"改变文件关联\r\n") << Narrow(window->CurrentLog());
}

TEST_F(LogWindowTest, RepeatsAndUnknownCodes) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    def::ResetLastNotifyText();
    void* none[2] = {nullptr, nullptr};
    auto send = [&](LPARAM code) { ::SendMessageW(h, shell::WM_SHELLNOTIFY, reinterpret_cast<WPARAM>(none), code); };
    send(SHCNE_FREESPACE);
    send(SHCNE_FREESPACE);
    send(SHCNE_ASSOCCHANGED);
    send(SHCNE_FREESPACE);
    send(static_cast<LPARAM>(0x80000002));
    send(0x3);
    send(0x100000);
    const std::wstring s = Stamp();
    const std::wstring want = s + L"磁盘空间大小改变\r\n" + s + L"改变文件关联\r\n" + s + L"磁盘空间大小改变\r\n" + s + L"\r\n";
    EXPECT_EQ(window->CurrentLog(), want) << Narrow(window->CurrentLog());
    EXPECT_EQ(testsupport::WindowText(control(frmSystem::IDC_TTEXT)), want);
    DWORD start = 0, end = 0;
    ::SendMessageW(control(frmSystem::IDC_TTEXT), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, want.size()) << "caret at the end after a shell line";
}

namespace {

bool ShellFileOp(UINT op, const std::wstring& from, const std::wstring& to) {
    std::wstring f = from + L'\0';
    std::wstring t = to + L'\0';
    SHFILEOPSTRUCTW fo{};
    fo.wFunc = op;
    fo.pFrom = f.c_str();
    fo.pTo = to.empty() ? nullptr : t.c_str();
    fo.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR;
    return ::SHFileOperationW(&fo) == 0 && !fo.fAnyOperationsAborted;
}

// The path as the shell reports it back from an item identifier list.
std::wstring ShellPath(const std::wstring& path) {
    LPITEMIDLIST pidl = ::ILCreateFromPathW(path.c_str());
    if (!pidl) return path;
    salva::unique_cotaskmem hold(pidl);
    const std::wstring back = def::GetPathFromIDList(pidl);
    return back.empty() ? path : back;
}

}  // namespace

TEST_F(LogWindowTest, RealShellNotifications) {
    ASSERT_TRUE(window->Load());
    ASSERT_TRUE(window->ShellNotifyActive());
    def::ResetLastNotifyText();
    const std::wstring folder = ShellPath(dir.path());
    const std::wstring src = folder + L"\\源.txt";
    const std::wstring copy = folder + L"\\副本.txt";
    const std::wstring renamed = folder + L"\\改名.txt";
    const std::wstring sub = folder + L"\\子文件夹";
    ASSERT_TRUE(testsupport::WriteBytes(src, {'x'}));

    ASSERT_TRUE(ShellFileOp(FO_COPY, src, copy));
    Pump(200);
    ASSERT_TRUE(ShellFileOp(FO_RENAME, copy, renamed));
    Pump(200);
    // Wine's shell reports no deletion from SHFileOperation (it cannot name a file that is
    // gone); programs report one with the item list taken before the file went. Should the
    // shell report it too, the second report is the same text and is dropped.
    LPITEMIDLIST gone = ::ILCreateFromPathW(renamed.c_str());
    ASSERT_NE(gone, nullptr);
    salva::unique_cotaskmem holdGone(gone);
    ASSERT_TRUE(ShellFileOp(FO_DELETE, renamed, L""));
    Pump(200);
    ::SHChangeNotify(SHCNE_DELETE, SHCNF_IDLIST | SHCNF_FLUSH, gone, nullptr);
    Pump(100);
    ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
    ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, sub.c_str(), nullptr);
    ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSH, folder.c_str(), nullptr);
    ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSH, folder.c_str(), nullptr);
    Pump(200);

    const std::wstring log = window->CurrentLog();
    const std::wstring box = testsupport::WindowText(control(frmSystem::IDC_TTEXT));
    EXPECT_EQ(box, log);
    const std::wstring s = Stamp();
    const std::wstring lines[] = {
        s + L"创建文件：“" + copy + L"”\r\n",
        s + L"重命名文件 “" + copy + L"”为“" + renamed + L"”\r\n",
        s + L"删除文件：“" + renamed + L"”\r\n",
        s + L"新建文件夹：“" + sub + L"”\r\n",
        s + L"更新文件夹 “" + folder + L"”\r\n",
    };
    size_t at = 0;
    for (const auto& line : lines) {
        const size_t found = log.find(line, at);
        EXPECT_NE(found, std::wstring::npos) << "missing, in order: " << Narrow(line) << "\nlog:\n" << Narrow(log);
        if (found != std::wstring::npos) at = found + line.size();
    }
    for (const auto& line : lines)
        EXPECT_EQ(log.find(line), log.rfind(line)) << "logged once: " << Narrow(line) << "\nlog:\n" << Narrow(log);
    EXPECT_TRUE(visible(frmSystem::IDC_TTEXT));
}

namespace {
int g_ncDestroySeen = 0;
LRESULT CALLBACK CountingProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) ++g_ncDestroySeen;
    return ::DefWindowProcW(h, msg, wp, lp);
}
}  // namespace

TEST(ShellNotifySubclass, DestroyedWhileSubclassed) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SalvaCountingWindow";
    ::RegisterClassW(&wc);
    HWND h = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(sub::SubclassWindow(h));
    EXPECT_FALSE(sub::UnsubclassWindow(nullptr));

    std::wstring boxText;
    testsupport::Watcher watcher(L"WndProc Error", [&](HWND box) {
        boxText = testsupport::WindowText(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }, L"#32770");
    g_ncDestroySeen = 0;
    ::DestroyWindow(h);
    watcher.Join();
    EXPECT_EQ(boxText.rfind(L"Unubclassed &H", 0), 0u) << Narrow(boxText);
    EXPECT_EQ(g_ncDestroySeen, 1) << "the window's own procedure still gets WM_NCDESTROY";
}

// A path longer than the shell's buffers is logged whole, or as far as it came with a mark;
// never empty nor cut to a name that does not exist.
TEST(ShellNotifyPath, LongPathsAreWholeOrMarked) {
    testsupport::TempDir dir;
    std::wstring folder = dir.path() + L"\\" + std::wstring(100, L'深');
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    folder += L"\\" + std::wstring(259 - folder.size(), L'd');
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)) << ::GetLastError();
    std::vector<std::wstring> paths;
    for (size_t extra : {3u, 15u}) {
        paths.push_back(folder + L"\\" + std::wstring(extra - 1, L'名'));
        ASSERT_TRUE(testsupport::WriteBytes(paths.back(), {'x'}));
    }
    // Renamed away, 262 characters: cut at 259 it ends in the dot, and by the path rules the
    // cut names the file called like the part before the dot.
    const std::wstring stem = dir.path() + L"\\" + std::wstring(262 - 4 - dir.path().size() - 1, L'L');
    ASSERT_TRUE(testsupport::WriteBytes(stem, {'x'}));
    paths.push_back(stem + L".dat");
    for (const std::wstring& path : paths) {
        LPITEMIDLIST pidl = ::SHSimpleIDListFromPath(path.c_str());
        ASSERT_NE(pidl, nullptr);
        salva::unique_cotaskmem hold(pidl);
        const std::wstring got = def::GetPathFromIDList(pidl);
        const std::wstring note = L"…（路径太长，后面的部分无法取得）";
        const bool marked = got.size() > note.size() && got.compare(got.size() - note.size(), note.size(), note) == 0 &&
                            path.compare(0, got.size() - note.size(), got, 0, got.size() - note.size()) == 0;
        EXPECT_TRUE(got == path || marked) << path.size() << " characters gave " << Narrow(got);
    }
}
