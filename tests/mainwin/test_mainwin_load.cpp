// The main window after its load: idle copy controls, sliders, the CD text in the list, the
// hidden log window, the fifteen tool tips, the popup-menu object's set-up in order, fonts and
// the status icons; then the close question and the shutdown.
#include "MainWinTest.h"
#include "services/CDRomDriveControl.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <map>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

// The titles sent to tool-tip windows of this thread, as each tip window received them.
class TitleSpy {
public:
    TitleSpy() {
        instance_ = this;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~TitleSpy() {
        ::UnhookWindowsHookEx(hook_);
        instance_ = nullptr;
    }
    std::wstring Title(HWND tip) const {
        auto it = titles_.find(tip);
        return it == titles_.end() ? L"(no title sent)" : it->second;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && instance_ && m->message == TTM_SETTITLEW)
            instance_->titles_[m->hwnd] = m->lParam ? reinterpret_cast<const wchar_t*>(m->lParam) : L"";
        return ::CallNextHookEx(nullptr, code, wp, lp);
    }
    static TitleSpy* instance_;
    HHOOK hook_ = nullptr;
    std::map<HWND, std::wstring> titles_;
};
TitleSpy* TitleSpy::instance_ = nullptr;

// The leftmost column of a status bar's own drawing (its children left out) holding a text pixel.
int FirstTextColumn(HWND bar) {
    RECT rc{};
    ::GetClientRect(bar, &rc);
    auto screen = salva::unique_window_dc::client(bar);
    salva::unique_hdc mem(::CreateCompatibleDC(screen.get()));
    salva::unique_hbitmap image(::CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom));
    salva::select_scope s(mem.get(), image.get());
    ::SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
    for (int x = 0; x < rc.right; ++x)
        for (int y = 2; y < rc.bottom - 2; ++y) {
            const COLORREF c = ::GetPixel(mem.get(), x, y);
            if (GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64) return x;
        }
    return -1;
}

std::wstring Hex(COLORREF c) {
    wchar_t b[16];
    wsprintfW(b, L"%06lX", static_cast<unsigned long>(c));
    return b;
}

}  // namespace

TEST(MainWindowLoad, CopyControlsSlidersListTextAndLogWindow) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    EXPECT_FALSE(::IsWindowEnabled(f.Control(FrmCopy::IDC_cmdPauseCopy)));
    EXPECT_FALSE(::IsWindowEnabled(f.Control(FrmCopy::IDC_cmdCancelCopy)));
    EXPECT_TRUE(::IsWindowEnabled(f.Control(FrmCopy::IDC_cmdStartCopy)));
    EXPECT_FALSE(f.Engine().Running());

    HWND read = f.Control(FrmCopy::IDC_sldReadBlocks), skip = f.Control(FrmCopy::IDC_sldSkipBlocks);
    EXPECT_EQ(1, ::SendMessageW(read, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(100, ::SendMessageW(read, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(10, ::SendMessageW(read, TBM_GETPOS, 0, 0));
    EXPECT_EQ(1, ::SendMessageW(skip, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(30, ::SendMessageW(skip, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(10, ::SendMessageW(skip, TBM_GETPOS, 0, 0));
    EXPECT_EQ(L"10块", TextOf(f.Control(FrmCopy::IDC_lblBlock1)));
    EXPECT_EQ(L"10块", TextOf(f.Control(FrmCopy::IDC_lblBlock2)));

    const std::wstring cd = CDRomDriveControl().GetCDRomInforStr();
    EXPECT_FALSE(cd.empty());
    EXPECT_EQ(Narrow(cd), Narrow(f.FileListText()));
    EXPECT_EQ(0, f.FileListCount());

    EXPECT_TRUE(h.log.IsLoaded());
    EXPECT_FALSE(::IsWindowVisible(h.log.Window())) << "the log window loads hidden";
    EXPECT_TRUE(h.log.KeepLoaded);
    EXPECT_TRUE(::IsWindowVisible(f.Window()));
    // The settings panel waits hidden behind the main panel.
    EXPECT_TRUE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture1)));
    EXPECT_FALSE(::IsWindowVisible(f.Control(FrmCopy::IDC_Picture2)));
}

TEST(MainWindowLoad, FontsProgressSurfaceAndStatusIcons) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HFONT windowFont = mT3D::WindowFont();
    for (int id : {FrmCopy::IDC_cmdSourceFile, FrmCopy::IDC_cmdStartCopy, FrmCopy::IDC_txtFileCopy,
                   FrmCopy::IDC_lblYiFuZhi, FrmCopy::IDC_optOpenCD, FrmCopy::IDC_stbFileInfoShowsArea_A})
        EXPECT_EQ(windowFont, reinterpret_cast<HFONT>(::SendMessageW(f.Control(id), WM_GETFONT, 0, 0))) << "control " << id;
    LOGFONTW rule{}, bold{};
    ::GetObjectW(windowFont, sizeof(rule), &rule);
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f.Control(FrmCopy::IDC_lblFilesInfo), WM_GETFONT, 0, 0)),
                 sizeof(bold), &bold);
    EXPECT_EQ(FW_BOLD, bold.lfWeight);
    EXPECT_EQ(Narrow(rule.lfFaceName), Narrow(bold.lfFaceName));
    const mT3D::WindowFontChoice choice = mT3D::WindowFontRule();
    EXPECT_EQ(Narrow(choice.face), Narrow(rule.lfFaceName));

    EXPECT_EQ(R2_MERGEPENNOT, ::GetROP2(f.ProgressBar().dc()));
    EXPECT_EQ(Hex(::GetSysColor(COLOR_HIGHLIGHT)), Hex(f.ProgressColor()));

    // The file-type box: orange on pale yellow, 11 points bold.
    HWND small = f.Control(FrmCopy::IDC_PicSmallIcon_16);
    LOGFONTW sf{};
    ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(small, WM_GETFONT, 0, 0)), sizeof(sf), &sf));
    EXPECT_EQ(FW_BOLD, sf.lfWeight);
    auto screen = salva::unique_window_dc::client(nullptr);
    EXPECT_EQ(-::MulDiv(11, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72), sf.lfHeight);
    salva::PictureBox* box = salva::PictureBox::FromWindow(small);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(Hex(RGB(255, 128, 0)), Hex(box->ForeColor()));
    EXPECT_EQ(Hex(RGB(245, 246, 200)), Hex(::GetPixel(box->dc(), 2, 2)));

    HWND a = f.Control(FrmCopy::IDC_PicSmallIcon_16A), b = f.Control(FrmCopy::IDC_PicSmallIcon_16B);
    EXPECT_EQ(f.Control(FrmCopy::IDC_stbFileInfoShowsArea_B), ::GetParent(a));
    EXPECT_EQ(f.Control(FrmCopy::IDC_stbFileInfoShowsArea_A), ::GetParent(b));
    RECT r{};
    ::GetWindowRect(a, &r);
    ::MapWindowPoints(nullptr, ::GetParent(a), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(3, r.top);
    EXPECT_EQ(16, r.right - r.left);
    // Each bar's text begins after the icon lying over its left end.
    for (HWND icon : {a, b}) {
        HWND bar = ::GetParent(icon);
        ::SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"  大小：1KB"));
        ::GetWindowRect(icon, &r);
        ::MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(FirstTextColumn(bar), r.right);
    }
    EXPECT_FALSE(::IsWindowVisible(small)) << "the drop-down's scratch surface is never shown";
}

TEST(MainWindowLoad, FifteenToolTipsWithTitlesAndTexts) {
    TitleSpy spy;
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    struct Want {
        int id;
        const wchar_t* title;
        const wchar_t* firstLine;
        int lines;
    } want[] = {
        {FrmCopy::IDC_picRefresh, L"", L"刷新窗口界面及其文件列表", 1},
        {FrmCopy::IDC_picSearch, L"单击打开搜索文件对话框", L"该文件搜索对话框允许你在硬盘、网上邻居", 4},
        {FrmCopy::IDC_picSetUp, L"单击设置每次读取或跳过的块数", L"当盘片存在严重的质量问题时", 4},
        {FrmCopy::IDC_picWatch, L"单击打开文件/文件夹操作日志窗口", L"文件/文件夹操作日志窗口。其主要记录你在复", 6},
        {FrmCopy::IDC_picVTitleBar, L"About Salvadisk(VevizAridedar)", nullptr, 5},
        {FrmCopy::IDC_cmdStartCopy, L"", L"开始复制文件", 1},
        {FrmCopy::IDC_cmdPauseCopy, L"", L"暂停/继续复制文件", 1},
        {FrmCopy::IDC_cmdCancelCopy, L"", L"取消复制文件", 1},
        {FrmCopy::IDC_cmdBackCopy, L"", L"返回并继续复制", 1},
        {FrmCopy::IDC_cmdSourceFile, L"", L"选择要复制的文件", 1},
        {FrmCopy::IDC_cmdDestinationPath, L"", L"选择文件保存路径", 1},
        {FrmCopy::IDC_optOpenCD, L"", L"弹出光驱,右击弹出光驱控制菜单", 1},
        {FrmCopy::IDC_optCloseCD, L"", L"关闭光驱,右击弹出光驱控制菜单", 1},
        {FrmCopy::IDC_sldReadBlocks, L"", L"如果盘片质量不太好，建议块数设小一点", 1},
        {FrmCopy::IDC_sldSkipBlocks, L"", L"设置每次跳过的块数，建议使用缺省设置", 1},
    };
    int tips = 0;
    for (const Want& w : want) {
        HWND control = f.Control(w.id);
        const auto found = TipWindowsOf(control);
        ASSERT_EQ(1u, found.size()) << "tips of control " << w.id;
        ++tips;
        const std::wstring text = TipText(found[0], control);
        // An empty title is not sent: the tip would keep room for a title line.
        EXPECT_EQ(*w.title ? Narrow(w.title) : "(no title sent)", Narrow(spy.Title(found[0]))) << "control " << w.id;
        int lines = 1;
        for (size_t p = text.find(L"\r\n"); p != std::wstring::npos; p = text.find(L"\r\n", p + 2)) ++lines;
        EXPECT_EQ(w.lines, lines) << Narrow(text);
        if (w.firstLine) {
            EXPECT_EQ(Narrow(w.firstLine), Narrow(text.substr(0, text.find(L"\r\n")))) << "control " << w.id;
        }
    }
    EXPECT_EQ(15, tips);
    // Two joined lines, exactly as shown.
    const auto search = TipWindowsOf(f.Control(FrmCopy::IDC_picSearch));
    EXPECT_EQ(Narrow(L"该文件搜索对话框允许你在硬盘、网上邻居\r\n上搜索所有你需要的文件，并在Salvadisk\r\n"
                     L"程序的组合列表框中显示出来，你可以根据\r\n需要添加、清除复制、移动、删除、重命名文件"),
              Narrow(TipText(search[0], f.Control(FrmCopy::IDC_picSearch))));
}

TEST(MainWindowLoad, PopupMenuObjectSetUpInOrderAfterRegistration) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    ASSERT_GE(h.order.size(), 2u);
    EXPECT_EQ("register", h.order[0]);
    EXPECT_EQ("velmora", h.order[1]);
    const std::wstring c28 = Hex(::GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
    const std::wstring c13 = Hex(::GetSysColor(COLOR_HIGHLIGHT));
    const std::wstring c14 = Hex(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    std::vector<std::wstring> want = {
        L"VerticalTitleBarTitle=Salvadisk",
        L"VerticalTitleBarWidth=16",
        L"VerticalTitleBarFontName=17",
        L"VerticalTitleBarFontSize=14",
        L"VerticalTitleBarStartColor=" + c28,
        L"VerticalTitleBarEndColor=" + c13,
        L"VerticalTitleBarTextColor=" + c28,
        L"IsMenuItemGradient=True",
        L"MenuItemStartColor=" + c28,
        L"MenuItemEndColor=" + c13,
        L"MenuItemHighLightColor=" + c14,
    };
    for (const wchar_t* caption :
         {L"打开当前文件(&O)", L"加文件到列表(&D)", L"删除当前文件(&K)", L"重命名该文件(&R)", L"复制该文件到(&C)...",
          L"移动该文件到(&M)...", L"查找目标文件(&F)", L"查看文件属性(&P)", L"&About Salvadisk",
          L"弹出[&E] 所有CD-ROM", L"关闭[&C] 所有CD-ROM", L"弹出    CD-ROM", L"关闭    CD-ROM"})
        want.push_back(L"SetMenuItemIcon(" + std::wstring(caption) + L",icon,C0C0C0)");
    want.push_back(L"SetMenuItem3DEffect(0,True)");
    want.push_back(L"SetMenuDisplayStyle(170,False)");
    want.push_back(L"StartDrawVelmora(" + std::to_wstring(reinterpret_cast<LONG_PTR>(f.Window())) + L")");
    ASSERT_EQ(want.size(), h.recorder.calls.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(Narrow(want[i]), Narrow(h.recorder.calls[i])) << "call " << i;
    EXPECT_EQ(2, h.recorder.refs) << "the window holds one reference";
}

TEST(MainWindowClose, NoKeepsEverythingYesShutsDownInOrder) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    HWND main = f.Window();
    {
        Watcher w(L"提醒！", [](HWND box) { ::PostMessageW(box, WM_COMMAND, IDNO, 0); });
        ::SendMessageW(main, WM_CLOSE, 0, 0);
        w.Join();
        EXPECT_TRUE(w.found()) << "the close question was not asked";
    }
    EXPECT_EQ(IDNO, f.PromptResult());
    EXPECT_TRUE(::IsWindow(main));
    EXPECT_TRUE(h.log.IsLoaded());
    EXPECT_TRUE(h.log.KeepLoaded) << "the log window still only hides";

    f.AppendLog(L"一条记录");
    std::wstring question;
    {
        Watcher w(L"提醒！", [&](HWND box) {
            question = ChildTexts(box);
            ::PostMessageW(box, WM_COMMAND, IDYES, 0);
        });
        ::SendMessageW(main, WM_CLOSE, 0, 0);
        w.Join();
    }
    EXPECT_NE(std::wstring::npos, question.find(L"真的要退出Salvadisk吗？")) << Narrow(question);
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_EQ(1, h.recorder.refs) << "the popup-menu object was released";
    EXPECT_FALSE(h.log.IsLoaded()) << "the log window closes with the main window";
    const auto bytes = ReadBytes(h.dir / L"OperationNotes.log");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(std::string::npos, text.find(Narrow(L"一条记录"))) << text;
    ASSERT_FALSE(h.order.empty());
    EXPECT_EQ("unloadPreview", h.order.back());
}
