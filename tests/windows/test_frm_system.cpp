// The operation log window: loading hidden, entries, the buttons, the log file at unload,
// KeepLoaded, the modal show and the layout.
#include "LogWindowFixture.h"
#include "windows/mRecShellChangeNotifiShell.h"

using namespace salva;
using namespace logtest;
using testsupport::Narrow;

namespace {
const std::string kBom = "\xEF\xBB\xBF";
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
}  // namespace

TEST_F(LogWindowTest, LoadsHiddenAndRegistered) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_EQ(testsupport::WindowText(h), L"文件/文件夹操作日志记录");
    const std::wstring title = text(frmSystem::IDC_LBLTITLE);
    EXPECT_EQ(title,
              L"文件/文件夹操作日志窗口。其主要记录你在复制文件过程中遇到的错误和其他一些异常情况，同时也记录你在资源"
              L"管理器中对文件或文件夹进行的一系列操作，如：新建、删除、重命名文件或文件夹；改变文件的关联；插入或取出"
              L"光驱中的光盘；添加或删除网络共享等。")
        << Narrow(title);
    EXPECT_TRUE(window->ShellNotifyActive());
    EXPECT_TRUE(mRecShellChangeNotifiShell::IsRegistered());
    EXPECT_NE(::GetPropW(h, L"OldWndProc"), nullptr);
    EXPECT_TRUE(visible(frmSystem::IDC_TTEXT));
    EXPECT_FALSE(visible(frmSystem::IDC_LTEXT));
    EXPECT_EQ(window->LogFilePath(), logFile());

    // The program's own log file lies beside the program.
    const std::wstring def = frmSystem::DefaultLogFilePath();
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    folder.resize(folder.find_last_of(L'\\') + 1);
    EXPECT_EQ(def, folder + L"OperationNotes.log") << Narrow(def);
}

TEST_F(LogWindowTest, EntriesGoToTheCurrentLogOnly) {
    // Logging loads the window when it is not there yet.
    window->GetFileCopyLog(L"文件复制完成！");
    ASSERT_TRUE(window->IsLoaded());
    EXPECT_FALSE(::IsWindowVisible(window->Window()));
    const std::wstring first = Stamp() + L"文件复制完成！\r\n";
    EXPECT_EQ(window->CurrentLog(), first) << Narrow(window->CurrentLog());

    HWND box = control(frmSystem::IDC_TTEXT);
    ::SendMessageW(box, EM_SETSEL, 3, 5);
    const std::wstring multi = L"文件跳过：\r\n" + std::wstring(22, L' ') + L"位置：1,024";
    window->GetFileCopyLog(multi);
    const std::wstring want = first + Stamp() + multi + L"\r\n";
    EXPECT_EQ(window->CurrentLog(), want) << Narrow(window->CurrentLog());
    EXPECT_EQ(testsupport::WindowText(box), want);
    DWORD start = 0, end = 0;
    ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u) << "caret kept";
    EXPECT_EQ(end, 5u);

    // The clock's 12-hour text reaches the line.
    window->SetClock([] {
        SYSTEMTIME t = FixedTime();
        t.wHour = 0;
        t.wMinute = 30;
        t.wSecond = 0;
        return t;
    });
    window->GetFileCopyLog(L"x");
    const std::wstring& log = window->CurrentLog();
    EXPECT_EQ(log.substr(want.size()), L"[" + FormatShortDate(FixedTime()) + L" 12:30:00 AM] x\r\n")
        << Narrow(log.substr(want.size()));
    EXPECT_EQ(testsupport::FileLength(logFile()), -1) << "nothing written before unload";
}

TEST_F(LogWindowTest, ViewAndClearTheLogFile) {
    ASSERT_TRUE(window->Load());
    window->GetFileCopyLog(L"本次");
    const std::wstring current = window->CurrentLog();

    release(frmSystem::IDC_PICVIEW);
    EXPECT_EQ(text(frmSystem::IDC_LTEXT), L"无日志记录！\r\n") << "no file: " << Narrow(text(frmSystem::IDC_LTEXT));
    EXPECT_TRUE(visible(frmSystem::IDC_LTEXT));
    EXPECT_FALSE(visible(frmSystem::IDC_TTEXT));

    ASSERT_TRUE(testsupport::WriteBytes(logFile(), Bytes("A\r\nB\r\n\r\n")));
    release(frmSystem::IDC_PICVIEW, WM_RBUTTONUP);  // any mouse button
    EXPECT_EQ(text(frmSystem::IDC_LTEXT), L"\r\nA\r\nB\r\n") << Narrow(text(frmSystem::IDC_LTEXT));

    ASSERT_TRUE(testsupport::WriteBytes(logFile(), {}));
    release(frmSystem::IDC_PICVIEW);
    EXPECT_EQ(text(frmSystem::IDC_LTEXT), L"无日志记录！\r\n") << "empty file";

    ASSERT_TRUE(testsupport::WriteBytes(logFile(), Bytes("A\r\n")));
    release(frmSystem::IDC_PICCLEAR, WM_MBUTTONUP);
    EXPECT_EQ(Str(testsupport::ReadBytes(logFile())), kBom + "\r\n");
    EXPECT_TRUE(visible(frmSystem::IDC_TTEXT));
    EXPECT_FALSE(visible(frmSystem::IDC_LTEXT));
    release(frmSystem::IDC_PICVIEW);
    EXPECT_EQ(text(frmSystem::IDC_LTEXT), L"无日志记录！\r\n") << "cleared file";
    EXPECT_EQ(window->CurrentLog(), current) << "the buttons never touch the current log";

    release(frmSystem::IDC_PICDELETE);
    EXPECT_EQ(window->CurrentLog(), L"");
    EXPECT_EQ(text(frmSystem::IDC_TTEXT), L"");
    EXPECT_TRUE(visible(frmSystem::IDC_TTEXT));
    EXPECT_EQ(Str(testsupport::ReadBytes(logFile())), kBom + "\r\n") << "the file keeps its text";
}

// A large log goes into the view in parts between messages, and ends up as one piece would.
TEST_F(LogWindowTest, ALargeLogIsViewedInPartsBetweenMessages) {
    std::string file = kBom;
    for (int i = 0; i < 2000; ++i)
        file += Narrow(L"[d 01:00:00 AM] 文件复制完成！\r\n" + std::wstring(22, L' ') + L"目标：E:\\第" +
                       std::to_wstring(i) + L"个.dat\r\n");
    ASSERT_TRUE(testsupport::WriteBytes(logFile(), Bytes(file + "\r\n")));
    const std::wstring whole = ReadLogFile(logFile());
    ASSERT_TRUE(window->Load());
    ::ShowWindow(window->Window(), SW_SHOWNOACTIVATE);
    auto filled = [&] {
        return testsupport::PumpUntil("the view to fill", 60000, [&] { return !window->ViewFilling(); });
    };

    release(frmSystem::IDC_PICVIEW);
    const std::wstring first = text(frmSystem::IDC_LTEXT);
    EXPECT_TRUE(window->ViewFilling());
    EXPECT_GT(first.size(), 0u);
    EXPECT_LT(first.size(), whole.size()) << "the whole log went in before the window could answer";
    EXPECT_EQ(whole.compare(0, first.size(), first), 0);
    EXPECT_TRUE(visible(frmSystem::IDC_LTEXT));
    EXPECT_FALSE(visible(frmSystem::IDC_TTEXT));
    ASSERT_TRUE(filled());
    EXPECT_EQ(text(frmSystem::IDC_LTEXT), whole);
    EXPECT_TRUE(visible(frmSystem::IDC_LTEXT));
    DWORD start = 1, end = 1;
    ::SendMessageW(control(frmSystem::IDC_LTEXT), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start + end, 0u) << "selection " << start << "-" << end;
    EXPECT_EQ(::SendMessageW(control(frmSystem::IDC_LTEXT), EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    // Another button while the view fills: the view ends up filled and stays hidden.
    release(frmSystem::IDC_PICVIEW);
    release(frmSystem::IDC_PICDELETE);
    ASSERT_TRUE(filled());
    EXPECT_EQ(text(frmSystem::IDC_LTEXT), whole);
    EXPECT_FALSE(visible(frmSystem::IDC_LTEXT));
    EXPECT_TRUE(visible(frmSystem::IDC_TTEXT));
}

TEST_F(LogWindowTest, KeepLoadedHidesAndRecords) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    window->KeepLoaded = true;
    ::ShowWindow(h, SW_SHOW);
    window->GetFileCopyLog(L"第一");
    ::SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(h));
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_TRUE(window->ShellNotifyActive());

    // Still recording, shell notifications included.
    window->GetFileCopyLog(L"第二");
    const std::wstring folder = dir.path();
    ::SHChangeNotify(SHCNE_FREESPACE, SHCNF_PATHW | SHCNF_FLUSH, folder.c_str(), nullptr);
    Pump(100);
    const std::wstring log = window->CurrentLog();
    EXPECT_EQ(log.rfind(Stamp() + L"第一\r\n" + Stamp() + L"第二\r\n", 0), 0u) << Narrow(log);
    EXPECT_NE(log.find(L"磁盘空间大小改变\r\n"), std::wstring::npos) << Narrow(log);

    // The exit button also only hides while KeepLoaded is true; the text stays.
    ::ShowWindow(h, SW_SHOW);
    release(frmSystem::IDC_PICEXIT);
    EXPECT_TRUE(::IsWindow(h));
    EXPECT_FALSE(::IsWindowVisible(h));
    EXPECT_EQ(text(frmSystem::IDC_TTEXT), log);
    EXPECT_EQ(testsupport::FileLength(logFile()), -1);

    window->KeepLoaded = false;
    ::SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_FALSE(mRecShellChangeNotifiShell::IsRegistered());
    EXPECT_EQ(Str(testsupport::ReadBytes(logFile())), kBom + Narrow(log) + "\r\n");
}

TEST_F(LogWindowTest, UnloadAppendsTheRunOrNothing) {
    const std::string earlier = kBom + Narrow(L"[d 01:00:00 AM] 上次\r\n") + "\r\n";
    ASSERT_TRUE(testsupport::WriteBytes(logFile(), Bytes(earlier)));

    // An empty run leaves the file as it was.
    ASSERT_TRUE(window->Load());
    ASSERT_TRUE(window->Unload());
    EXPECT_EQ(Str(testsupport::ReadBytes(logFile())), earlier);

    ASSERT_TRUE(window->Load());
    const std::wstring entry = L"文件复制完成！\r\n" + std::wstring(22, L' ') + L"目标：E:\\中文.dat";
    window->GetFileCopyLog(entry);
    const std::wstring run = window->CurrentLog();
    ASSERT_TRUE(window->Unload());
    const std::string after = Str(testsupport::ReadBytes(logFile()));
    EXPECT_EQ(after, earlier + Narrow(run) + "\r\n");

    // Read back through the view: both runs, the closing empty line dropped.
    ASSERT_TRUE(window->Load());
    release(frmSystem::IDC_PICVIEW);
    const std::wstring view = text(frmSystem::IDC_LTEXT);
    EXPECT_EQ(view, L"\r\n[d 01:00:00 AM] 上次\r\n\r\n" + run) << Narrow(view);
}

TEST_F(LogWindowTest, DestroyedFromOutsideStillSavesTheRun) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    window->GetFileCopyLog(L"x");
    const std::wstring run = window->CurrentLog();
    ::DestroyWindow(h);
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_FALSE(mRecShellChangeNotifiShell::IsRegistered());
    EXPECT_EQ(Str(testsupport::ReadBytes(logFile())), kBom + Narrow(run) + "\r\n");
}

TEST_F(LogWindowTest, ShowModalUntilClosed) {
    salva::unique_hwnd other(::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100,
                                               nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other);
    ASSERT_TRUE(window->Load());
    window->KeepLoaded = true;
    bool otherEnabled = true;
    testsupport::Watcher watcher(L"文件/文件夹操作日志记录", [&](HWND h) {
        otherEnabled = ::IsWindowEnabled(other.get()) != FALSE;
        ::PostMessageW(h, WM_CLOSE, 0, 0);
    });
    window->ShowModal();
    watcher.Join();
    EXPECT_TRUE(watcher.found());
    EXPECT_FALSE(otherEnabled) << "the other window is disabled while the log shows";
    EXPECT_TRUE(::IsWindowEnabled(other.get()));
    EXPECT_TRUE(window->IsLoaded()) << "closing only hid it";
    EXPECT_FALSE(::IsWindowVisible(window->Window()));
}

TEST_F(LogWindowTest, LayoutFollowsTheWindowSize) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    ::SetWindowPos(h, nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    ::GetClientRect(h, &client);
    auto rect = [&](int id) {
        RECT r{};
        ::GetWindowRect(control(id), &r);
        ::MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT t = rect(frmSystem::IDC_TTEXT);
    const RECT l = rect(frmSystem::IDC_LTEXT);
    const RECT title = rect(frmSystem::IDC_LBLTITLE);
    EXPECT_EQ(t.right - t.left, client.right);
    EXPECT_EQ(title.right - title.left, client.right);
    EXPECT_TRUE(::EqualRect(&t, &l)) << "lText lies over tText";
    EXPECT_EQ(t.top, title.bottom);
    int lefts[4] = {};
    int i = 0;
    for (int id : {frmSystem::IDC_PICVIEW, frmSystem::IDC_PICCLEAR, frmSystem::IDC_PICEXIT, frmSystem::IDC_PICDELETE}) {
        const RECT b = rect(id);
        EXPECT_GE(b.top, t.bottom) << "button " << id << " top " << b.top << " text bottom " << t.bottom;
        EXPECT_LE(b.top, t.bottom + 2);
        EXPECT_LE(b.bottom, client.bottom) << "button " << id << " stays inside";
        lefts[i++] = b.left;
    }
    EXPECT_TRUE(lefts[0] < lefts[1] && lefts[1] < lefts[2] && lefts[2] < lefts[3])
        << lefts[0] << " " << lefts[1] << " " << lefts[2] << " " << lefts[3];
}

namespace {

// The text of the tool tip whose tool is `control`, from the thread's tool-tip windows.
std::wstring ToolTipOf(HWND control) {
    struct Query { HWND control; std::wstring text; bool found; } q{control, L"", false};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM p) CALLBACK -> BOOL {
            auto* q = reinterpret_cast<Query*>(p);
            wchar_t cls[64] = {};
            ::GetClassNameW(h, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            if (!::SendMessageW(h, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)) || ti.hwnd != q->control)
                return TRUE;
            wchar_t buf[256] = {};
            ti.lpszText = buf;
            ::SendMessageW(h, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
            q->text = buf;
            q->found = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found ? q.text : L"<no tool tip>";
}

}  // namespace

TEST_F(LogWindowTest, LookOfTheControls) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    struct Tip { int id; const wchar_t* tip; } tips[] = {
        {frmSystem::IDC_PICVIEW, L"查看最近的日志记录"}, {frmSystem::IDC_PICCLEAR, L"清除最近的日志记录"},
        {frmSystem::IDC_PICEXIT, L"退出"}, {frmSystem::IDC_PICDELETE, L"清空当前的日志记录"},
    };
    for (const auto& t : tips) {
        const std::wstring got = ToolTipOf(control(t.id));
        EXPECT_EQ(got, t.tip) << "button " << t.id << ": " << Narrow(got);
    }

    // Text boxes: light yellow ground, blue-green text.
    salva::unique_hdc dc(::CreateCompatibleDC(nullptr));
    for (int id : {frmSystem::IDC_TTEXT, frmSystem::IDC_LTEXT}) {
        const LRESULT brush = ::SendMessageW(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                             reinterpret_cast<LPARAM>(control(id)));
        EXPECT_NE(brush, 0);
        EXPECT_EQ(::GetBkColor(dc.get()), RGB(255, 255, 245)) << std::hex << ::GetBkColor(dc.get());
        EXPECT_EQ(::GetTextColor(dc.get()), RGB(0, 92, 128)) << std::hex << ::GetTextColor(dc.get());
    }

    // Font rule: one of the two faces, at its point size.
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control(frmSystem::IDC_TTEXT), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW lf{};
    ::GetObjectW(font, sizeof(lf), &lf);
    const std::wstring face = lf.lfFaceName;
    salva::unique_window_dc screen = salva::unique_window_dc::client(nullptr);
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    const int points = face == L"宋体" ? 9 : 8;
    EXPECT_TRUE(face == L"宋体" || face == L"MS Sans Serif") << Narrow(face);
    EXPECT_EQ(-lf.lfHeight, ::MulDiv(points, dpi, 72)) << Narrow(face) << " height " << lf.lfHeight;
}

TEST_F(LogWindowTest, ButtonFramesFollowTheMouse) {
    ASSERT_TRUE(window->Load());
    HWND h = window->Window();
    ::SetWindowPos(h, HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::UpdateWindow(h);
    Pump(100);
    HWND button = control(frmSystem::IDC_PICVIEW);
    RECT b{};
    ::GetWindowRect(button, &b);
    RECT inParent = b;
    ::MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&inParent), 2);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    auto shade = [face](int d) {
        auto part = [d](int v) { return std::min(255, std::max(0, v + d)); };
        return RGB(part(GetRValue(face)), part(GetGValue(face)), part(GetBValue(face)));
    };
    auto pixels = [&] {
        salva::unique_window_dc dc = salva::unique_window_dc::client(h);
        // The frame's left and right lines stand 2 pixels outside the button (its top line
        // lies under the text box above, which clips it).
        return std::make_pair(::GetPixel(dc.get(), inParent.left - 2, (inParent.top + inParent.bottom) / 2),
                              ::GetPixel(dc.get(), inParent.right + 1, (inParent.top + inParent.bottom) / 2));
    };

    // Only the left button presses it in.
    ::SendMessageW(button, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    ::ReleaseCapture();
    auto p = pixels();
    EXPECT_NE(p.first, shade(-64)) << std::hex << p.first;
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    p = pixels();
    EXPECT_EQ(p.first, shade(-64)) << "sunken top-left " << std::hex << p.first;
    EXPECT_EQ(p.second, shade(64)) << "sunken bottom-right " << std::hex << p.second;
    ::ReleaseCapture();

    // Hovering raises it and takes the capture; leaving flattens it and lets go.
    ::SetCursorPos((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    ::SendMessageW(button, WM_MOUSEMOVE, 0, 0);
    p = pixels();
    EXPECT_EQ(::GetCapture(), button);
    EXPECT_EQ(p.first, shade(64)) << "raised top-left " << std::hex << p.first;
    EXPECT_EQ(p.second, shade(-64)) << "raised bottom-right " << std::hex << p.second;
    ::SetCursorPos(b.right + 200, b.bottom + 200);
    ::SendMessageW(button, WM_MOUSEMOVE, 0, 0);
    p = pixels();
    EXPECT_NE(::GetCapture(), button);
    EXPECT_EQ(p.first, face) << "flat " << std::hex << p.first;
    EXPECT_EQ(p.second, face) << "flat " << std::hex << p.second;
}

namespace {
HHOOK g_hook = nullptr;
// Marks the log window as subclassed already the moment it is created.
LRESULT CALLBACK MarkSubclassed(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        wchar_t cls[64] = {};
        ::GetClassNameW(reinterpret_cast<HWND>(wp), cls, 64);
        if (lstrcmpW(cls, frmSystem::ClassName()) == 0)
            ::SetPropW(reinterpret_cast<HWND>(wp), L"OldWndProc", reinterpret_cast<HANDLE>(1));
    }
    return ::CallNextHookEx(g_hook, code, wp, lp);
}
}  // namespace

TEST_F(LogWindowTest, WithoutSubclassItIsAPlainLog) {
    g_hook = ::SetWindowsHookExW(WH_CBT, MarkSubclassed, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    bool boxSeen = false;
    testsupport::Watcher watcher(L"Salvadisk", [&](HWND box) {
        boxSeen = true;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }, L"#32770");
    const bool loaded = window->Load();
    watcher.Join();
    ::UnhookWindowsHookEx(g_hook);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(boxSeen);
    EXPECT_FALSE(window->ShellNotifyActive());
    EXPECT_FALSE(mRecShellChangeNotifiShell::IsRegistered());
    EXPECT_EQ(text(frmSystem::IDC_TTEXT), L"系统不支持操作监视程序.") << Narrow(text(frmSystem::IDC_TTEXT));
    window->GetFileCopyLog(L"x");
    EXPECT_EQ(window->CurrentLog(), L"系统不支持操作监视程序." + Stamp() + L"x\r\n") << Narrow(window->CurrentLog());
    EXPECT_EQ(text(frmSystem::IDC_TTEXT), window->CurrentLog());
    ::RemovePropW(window->Window(), L"OldWndProc");
}
