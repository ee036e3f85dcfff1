#include "copier/FrmCopy.h"
#include "copier/FileDropTarget.h"
#include "copier/FrmCopyPictures.h"
#include "copier/FrmCopyTitleBar.h"
#include "copier/mSubClassImageCombo.h"
#include "services/CDRomDriveControl.h"
#include "services/ModalHold.h"
#include "windows/frmSystem.h"
#include "services/ToolTips.h"
#include "services/WindowText.h"
#include "services/mDoEvents.h"
#include "services/mRegDll_Ocx_Tlb.h"
#include "services/mShell_NotifyIcon.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <olectl.h>
#include <utility>
// The popup-menu library's identifiers are defined here, from its own header.
#include <initguid.h>
#include "Velmora.h"

namespace salva {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr int kClientWidth = 495, kClientHeight = 268;
const wchar_t kTitleCaption[] = L"Salvadisk";
const wchar_t kSideBarText[] = L"SALVADISK2.0";
const wchar_t kFilesInfoReset[] = L"文件总数：0个，总计大小：0M，0字节";
const wchar_t kAboutTip[] =
    L"Salvadisk 2.0 release\r\n"
    L"Salvadisk rescues files from scratched CD and DVD media.\r\n"
    L"Thank you for using Salvadisk.\r\n"
    L"If you find a fault, please report it\r\n"
    L"so that a later release can mend it.";

enum Box { SmallIcon16, SmallIcon16A, SmallIcon16B, Image1_4, Picture1, Picture2 };
enum Bar { HTitleBar, VTitleBar, ProgressBarBox };

// Captions of the menu items that get the item icons, by their index in Image2.
const wchar_t* const kMenuIconCaptions[kMenuIconCount] = {
    L"打开当前文件(&O)",    L"加文件到列表(&D)",    L"删除当前文件(&K)",   L"重命名该文件(&R)",
    L"复制该文件到(&C)...", L"移动该文件到(&M)...", L"查找目标文件(&F)",   L"查看文件属性(&P)",
    L"&About Salvadisk",    L"弹出[&E] 所有CD-ROM", L"关闭[&C] 所有CD-ROM", L"弹出    CD-ROM",
    L"关闭    CD-ROM",
};

com_ptr<_cVelmora> CreateVelmora() {
    com_ptr<_cVelmora> p;
    if (FAILED(::CoCreateInstance(CLSID_cVelmora, nullptr, CLSCTX_INPROC_SERVER, IID__cVelmora, p.put_void())))
        p.reset();
    return p;
}

// A picture object holding its own copy of the icon.
com_ptr<IPictureDisp> PictureOf(HICON icon) {
    com_ptr<IPictureDisp> pic;
    if (!icon) return pic;
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = ::CopyIcon(icon);
    if (FAILED(::OleCreatePictureIndirect(&pd, IID_IPictureDisp, TRUE, pic.put_void()))) {
        ::DestroyIcon(pd.icon.hicon);
        pic.reset();
    }
    return pic;
}

int ClientWidth(HWND h) {
    RECT rc{};
    ::GetClientRect(h, &rc);
    return rc.right;
}
int ClientHeight(HWND h) {
    RECT rc{};
    ::GetClientRect(h, &rc);
    return rc.bottom;
}

}  // namespace

FrmCopy::FrmCopy() : FrmCopy(Options{}) {}

FrmCopy::FrmCopy(Options options) : options_(std::move(options)) {
    engine_ = std::make_unique<CopyEngine>(*this, env_, prompts_, reader_, writer_);
    RegisterMainWindow(this);
}

FrmCopy::~FrmCopy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    UnregisterMainWindow(this);
}

HWND FrmCopy::Control(int id) const {
    if (id < IDC_picHTitleBar || id >= IDC_Last) return nullptr;
    return controls_[static_cast<size_t>(id - IDC_picHTitleBar)];
}

bool FrmCopy::Create(int showCommand) {
    RECT rc{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
    ::AdjustWindowRectEx(&rc, style, FALSE, 0);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateWindowOf(WS_EX_APPWINDOW, L"Salvadisk", style, x, y, w, h)) return false;
    CreateControls();
    Form_Load();
    ::ShowWindow(hwnd_, showCommand);
    ::UpdateWindow(hwnd_);
    return true;
}

HWND FrmCopy::CreateChild(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                          HWND parent) {
    HWND c = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, w, h,
                               parent ? parent : hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleW(nullptr), nullptr);
    controls_[static_cast<size_t>(id - IDC_picHTitleBar)] = c;
    return c;
}

HWND FrmCopy::Label(int id, const wchar_t* text, HWND parent, int x, int y, int w, int h) {
    return CreateChild(L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, w, h, id, parent);
}

void FrmCopy::CreateControls() {
    icon_ = MakeWindowIcon(32);
    smallIcon_ = MakeWindowIcon(16);
    ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    for (int i = 0; i < kMenuIconCount; ++i) image2_[static_cast<size_t>(i)] = MakeMenuIcon(i);
    playIcon_ = MakePlayIcon(true);
    stopIcon_ = MakeStopIcon(true);
    playGray_ = MakePlayIcon(false);
    stopGray_ = MakeStopIcon(false);
    for (int i = 0; i < 4; ++i) {
        image1_[static_cast<size_t>(2 * i)] = MakeButtonPicture(i, false);
        image1_[static_cast<size_t>(2 * i + 1)] = MakeButtonPicture(i, true);
    }

    auto place = [this](PictureBox& box, int id, int x, int y, int w, int h, DWORD style = WS_VISIBLE) {
        box.Create(hwnd_, id, x, y, w, h, style);
        controls_[static_cast<size_t>(id - IDC_picHTitleBar)] = box.Window();
    };
    // The title bar lies over the top of the side bar.
    place(bars_[HTitleBar], IDC_picHTitleBar, 0, 0, kClientWidth, 18);
    place(bars_[VTitleBar], IDC_picVTitleBar, 0, 12, 20, 256);
    ::SetWindowPos(bars_[HTitleBar].Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    bars_[HTitleBar].SetMouseHandler([this](UINT m, WPARAM wp, int x, int y) { TitleBarMouse(m, wp, x, y); });

    CreateChild(WC_COMBOBOXEXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 26, 26, 390, 220,
                IDC_cmbFileCopy);
    CreateChild(L"BUTTON", L"源文件...", WS_TABSTOP | BS_PUSHBUTTON, 422, 25, 68, 22, IDC_cmdSourceFile);
    CreateChild(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 26, 55, 390, 20, IDC_txtFileCopy);
    CreateChild(L"BUTTON", L"保存到...", WS_TABSTOP | BS_PUSHBUTTON, 422, 54, 68, 22, IDC_cmdDestinationPath);

    Label(IDC_lblFilesInfo, kFilesInfoReset, hwnd_, 26, 84, 380, 16);
    // The drop-down's scratch surface: never shown.
    place(boxes_[SmallIcon16], IDC_PicSmallIcon_16, 420, 82, 16, 16, 0);
    place(boxes_[Image1_4], IDC_Image1_4, 472, 84, 16, 16);
    place(bars_[ProgressBarBox], IDC_PicProgressBar, 26, 106, 464, 18);
    bars_[ProgressBarBox].SetBackColor(RGB(255, 255, 255));
    bars_[ProgressBarBox].Clear();

    const int buttonX[4] = {26, 55, 85, 114};
    const int buttonIds[4] = {IDC_picRefresh, IDC_picSearch, IDC_picSetUp, IDC_picWatch};
    // Normal pictures: refresh Image1(5), search Image1(0), settings Image1(2), log Image1(7).
    for (size_t i = 0; i < 4; ++i) {
        place(buttons_[i], buttonIds[i], buttonX[i], 144, 20, 20);
        buttons_[i].SetPicture(image1_[2 * i].get());
    }
    // The door captions do not fit one line beside the copy buttons: each wraps after its verb.
    const DWORD door = WS_TABSTOP | BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_MULTILINE;
    CreateChild(L"BUTTON", L"弹出 CD_ROM[&A]", door | WS_GROUP, 140, 138, 72, 32, IDC_optOpenCD);
    CreateChild(L"BUTTON", L"关闭 CD_ROM[&Z]", door, 214, 138, 72, 32, IDC_optCloseCD);
    SetUpDoorButtons();
    CreateChild(L"BUTTON", L"开始复制", WS_TABSTOP | BS_PUSHBUTTON, 290, 143, 60, 22, IDC_cmdStartCopy);
    CreateChild(L"BUTTON", L"暂停复制[&S]", WS_TABSTOP | BS_PUSHBUTTON, 353, 143, 74, 22, IDC_cmdPauseCopy);
    CreateChild(L"BUTTON", L"取消复制", WS_TABSTOP | BS_PUSHBUTTON, 430, 143, 60, 22, IDC_cmdCancelCopy);

    const DWORD bar = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    HWND a = CreateChild(STATUSCLASSNAMEW, L"", bar, 26, 174, 464, 20, IDC_stbFileInfoShowsArea_A);
    HWND b = CreateChild(STATUSCLASSNAMEW, L"", bar, 26, 196, 464, 20, IDC_stbFileInfoShowsArea_B);
    // The status icon boxes lie over the bars' left ends: an empty icon of the bar keeps the
    // room for them, so the text begins after them.
    statusIconRoom_ = DrawnIcon(16, RGB(255, 0, 255), RGB(255, 0, 255), [](HDC) {});
    for (HWND s : {a, b}) {
        int right = -1;
        ::SendMessageW(s, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
        ::SendMessageW(s, SB_SETICON, 0, reinterpret_cast<LPARAM>(statusIconRoom_.get()));
    }
    place(boxes_[SmallIcon16A], IDC_PicSmallIcon_16A, 0, 0, 16, 16);
    place(boxes_[SmallIcon16B], IDC_PicSmallIcon_16B, 0, 0, 16, 16);

    // Main panel: the copy statistics.
    place(boxes_[Picture1], IDC_Picture1, 25, 218, 469, 50);
    HWND p1 = boxes_[Picture1].Window();
    Label(IDC_lblYiFuZhiTitle, L"已复制[字节]：", p1, 6, 8, 88, 14);
    Label(IDC_lblYiFuZhi, L"0字节", p1, 94, 8, 110, 14);
    Label(IDC_lblZongJiHaoShiTitle, L"已用时间：", p1, 208, 8, 60, 14);
    Label(IDC_lblZongJiHaoShi, L"00:00:00", p1, 268, 8, 56, 14);
    // Wide enough for rates up to 999,999KB/秒.
    Label(IDC_lblShuJuLiuLiangTitle, L"存取速度：", p1, 328, 8, 60, 14);
    Label(IDC_lblShuJuLiuLiang, L"0KB/秒", p1, 388, 8, 81, 14);
    Label(IDC_lblGuJiXiaoHaoTitle, L"估计消耗：", p1, 6, 28, 88, 14);
    Label(IDC_lblGuJiXiaoHao, L"00:00:00", p1, 94, 28, 110, 14);
    Label(IDC_lblShengYuShiJianTitle, L"剩余时间：", p1, 208, 28, 60, 14);
    Label(IDC_lblShengYuShiJian, L"00:00:00", p1, 268, 28, 56, 14);

    // Settings panel over the same place, hidden at start.
    place(boxes_[Picture2], IDC_Picture2, 26, 220, 459, 38, 0);
    HWND p2 = boxes_[Picture2].Window();
    Label(IDC_lblBlock1Title, L"设置每次读取的块数：", p2, 6, 2, 124, 14);
    Label(IDC_lblBlock1, L"10块", p2, 130, 2, 40, 14);
    CreateChild(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 2, 17, 176, 20, IDC_sldReadBlocks, p2);
    Label(IDC_lblBlock2Title, L"设置每次跳过的块数：", p2, 190, 2, 124, 14);
    Label(IDC_lblBlock2, L"10块", p2, 314, 2, 40, 14);
    CreateChild(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 186, 17, 176, 20, IDC_sldSkipBlocks, p2);
    CreateChild(L"BUTTON", L"返回设置>>", WS_TABSTOP | BS_PUSHBUTTON, 374, 8, 80, 22, IDC_cmdBackCopy, p2);
    SetUpPictureButtons();
    CreateFileMenu();
}

void FrmCopy::Form_Load() {
    // The window font on the window and every control; the file count line in bold.
    mT3D::ApplyWindowFontRule(hwnd_);
    LOGFONTW lf{};
    if (::GetObjectW(mT3D::WindowFont(), sizeof(lf), &lf)) {
        lf.lfWeight = FW_BOLD;
        boldFont_.reset(::CreateFontIndirectW(&lf));
        ::SendMessageW(Control(IDC_lblFilesInfo), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    }
    auto screen = unique_window_dc::client(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    captionFont_.reset(::CreateFontW(-::MulDiv(9, dpi, 72), 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                                     L"宋体"));
    // tmrTime: 1,000 ms, stopped until a copy runs.
    ::KillTimer(hwnd_, kTimerId);
    ::EnableWindow(Control(IDC_cmdPauseCopy), FALSE);
    ::EnableWindow(Control(IDC_cmdCancelCopy), FALSE);
    // The progress bar merges its fill with what lies under it.
    bars_[ProgressBarBox].SetDrawMode(R2_MERGEPENNOT);
    progressColor_ = mT3D::GetSystemColor(COLOR_HIGHLIGHT);
    boxes_[SmallIcon16].SetForeColor(RGB(255, 128, 0));
    boxes_[SmallIcon16].SetBackColor(RGB(245, 246, 200));
    if (::GetObjectW(mT3D::WindowFont(), sizeof(lf), &lf)) {
        lf.lfHeight = -::MulDiv(11, dpi, 72);
        lf.lfWeight = FW_BOLD;
        smallIconFont_.reset(::CreateFontIndirectW(&lf));
        ::SendMessageW(boxes_[SmallIcon16].Window(), WM_SETFONT, reinterpret_cast<WPARAM>(smallIconFont_.get()), FALSE);
    }
    boxes_[SmallIcon16].Clear();
    // Read blocks 1 to 100, skip blocks 1 to 30, both at 10.
    HWND read = Control(IDC_sldReadBlocks), skip = Control(IDC_sldSkipBlocks);
    ::SendMessageW(read, TBM_SETRANGEMAX, FALSE, 100);
    ::SendMessageW(skip, TBM_SETRANGEMAX, FALSE, 30);
    ::SendMessageW(read, TBM_SETRANGEMIN, FALSE, 1);
    ::SendMessageW(skip, TBM_SETRANGEMIN, FALSE, 1);
    ::SendMessageW(read, TBM_SETPOS, TRUE, 10);
    ::SendMessageW(skip, TBM_SETPOS, TRUE, 10);
    // Until a file is chosen the list's text describes the CD drives.
    {
        CDRomDriveControl cd;
        SetFileListText(cd.GetCDRomInforStr());
    }
    // Makes the libraries beside the program creatable.
    if (options_.registerServers)
        options_.registerServers();
    else
        mRegDll_Ocx_Tlb::RegisterAppFolderServers();
    CreateToolTips();
    ConfigurePopupMenus();
    // Drops, keys and the file menu's states.
    SetUpFileList();
    // The two status icons sit inside the status bars.
    HWND a = boxes_[SmallIcon16A].Window(), b = boxes_[SmallIcon16B].Window();
    mT3D::SetParentAndMove(a, Control(IDC_stbFileInfoShowsArea_B), 1, 3, boxes_[SmallIcon16A].Width(),
                           boxes_[SmallIcon16A].Height());
    mT3D::SetParentAndMove(b, Control(IDC_stbFileInfoShowsArea_A), 1, 3, boxes_[SmallIcon16B].Width(),
                           boxes_[SmallIcon16B].Height());
    // The list draws its own drop-down items and opens the file menu on a right press.
    mSubClassImageCombo::SubclassImageCombo(Control(IDC_cmbFileCopy), [this] { ShowPopupMenu(0); });
    // The log window records from the start and only hides when the user closes it.
    LoadLogWindow();
}

void FrmCopy::CreateToolTips() {
    struct Tip {
        int id;
        const wchar_t* title;
        const wchar_t* text;
    };
    const Tip tips[] = {
        {IDC_picRefresh, L"", L"刷新窗口界面及其文件列表"},
        {IDC_picSearch, L"单击打开搜索文件对话框",
         L"该文件搜索对话框允许你在硬盘、网上邻居\r\n上搜索所有你需要的文件，并在Salvadisk\r\n"
         L"程序的组合列表框中显示出来，你可以根据\r\n需要添加、清除复制、移动、删除、重命名文件"},
        {IDC_picSetUp, L"单击设置每次读取或跳过的块数",
         L"当盘片存在严重的质量问题时\r\n你可以减少读取的块数，这样容易成功\r\n当遇到大块的坏区不能读取时\r\n"
         L"建议你手动跳过去否则会消耗很长时间"},
        {IDC_picWatch, L"单击打开文件/文件夹操作日志窗口",
         L"文件/文件夹操作日志窗口。其主要记录你在复\r\n制文件过程中遇到的错误和其他一些异常情况\r\n"
         L"同时也记录你在资源管理器中对文件或文件夹\r\n进行的一系列操作，如：新建、删除、重命名\r\n"
         L"文件或文件夹；改变文件的关联；插入或取出\r\n光驱中的光盘；添加或删除网络共享等"},
        {IDC_picVTitleBar, L"About Salvadisk(VevizAridedar)", kAboutTip},
        {IDC_cmdStartCopy, L"", L"开始复制文件"},
        {IDC_cmdPauseCopy, L"", L"暂停/继续复制文件"},
        {IDC_cmdCancelCopy, L"", L"取消复制文件"},
        {IDC_cmdBackCopy, L"", L"返回并继续复制"},
        {IDC_cmdSourceFile, L"", L"选择要复制的文件"},
        {IDC_cmdDestinationPath, L"", L"选择文件保存路径"},
        {IDC_optOpenCD, L"", L"弹出光驱,右击弹出光驱控制菜单"},
        {IDC_optCloseCD, L"", L"关闭光驱,右击弹出光驱控制菜单"},
        {IDC_sldReadBlocks, L"", L"如果盘片质量不太好，建议块数设小一点"},
        {IDC_sldSkipBlocks, L"", L"设置每次跳过的块数，建议使用缺省设置"},
    };
    for (const Tip& t : tips) {
        auto tip = std::make_unique<ToolTips>();
        tip->OwnerhWnd(Control(t.id));
        tip->ToolTipsTitle(t.title);
        tip->ToolTipsText(t.text);
        tip->CreateToolTipsWindow();
    }
}

void FrmCopy::ConfigurePopupMenus() {
    popupMenus_ = options_.createPopupMenus ? options_.createPopupMenus() : CreateVelmora();
    _cVelmora* m = popupMenus_.get();
    if (!m) return;
    const long c28 = static_cast<long>(mT3D::GetSystemColor(COLOR_GRADIENTINACTIVECAPTION));
    const long c13 = static_cast<long>(mT3D::GetSystemColor(COLOR_HIGHLIGHT));
    const long c14 = static_cast<long>(mT3D::GetSystemColor(COLOR_HIGHLIGHTTEXT));
    {
        unique_bstr title(::SysAllocString(kTitleCaption));
        m->put_VerticalTitleBarTitle(title.get());
    }
    m->put_VerticalTitleBarWidth(16);
    VTitleBarFontName face = Arial;
    m->put_VerticalTitleBarFontName(&face);
    m->put_VerticalTitleBarFontSize(14);
    m->put_VerticalTitleBarStartColor(c28);
    m->put_VerticalTitleBarEndColor(c13);
    m->put_VerticalTitleBarTextColor(c28);
    m->put_IsMenuItemGradient(VARIANT_TRUE);
    m->put_MenuItemStartColor(c28);
    m->put_MenuItemEndColor(c13);
    m->put_MenuItemHighLightColor(c14);
    for (int i = 0; i < kMenuIconCount; ++i) {
        com_ptr<IPictureDisp> pic = PictureOf(image2_[static_cast<size_t>(i)].get());
        unique_bstr caption(::SysAllocString(kMenuIconCaptions[i]));
        long mask = static_cast<long>(kMenuIconMask);
        m->SetMenuItemIcon(caption.get(), pic.get(), &mask);
    }
    m->SetMenuItem3DEffect(m_NONE, VARIANT_TRUE);
    m->SetMenuDisplayStyle(m_WindowsCustomStyle, VARIANT_FALSE);
    m->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd_)));
}

// ---------------------------------------------------------------------------------------------
// Close and shutdown

bool FrmCopy::Form_QueryUnload() {
    // A running copy or batch refuses the close without asking.
    if (engine_->Running() || batchRunning_ || closeAsking_) return false;
    // Under a prompt or a modal window (search, properties) the question holds the window too:
    // whichever of them ends last gives it back (ShowMessage).
    closeAsking_ = true;
    promptResult_ = ShowMessage(L"真的要退出Salvadisk吗？", L"提醒！", MB_YESNO | MB_ICONEXCLAMATION);
    closeAsking_ = false;
    if (promptResult_ != IDYES) return false;
    ReleaseLogWindow();
    return true;
}

void FrmCopy::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // The library objects; the menu object takes its hook off the window.
    popupMenus_.reset();
    if (options_.unloadPreview) options_.unloadPreview();
    TearDownFileList();
    // Back out of the status bars before they go.
    mT3D::SetParentAndMove(boxes_[SmallIcon16A].Window(), hwnd_, 0, 0, 0, 0);
    mT3D::SetParentAndMove(boxes_[SmallIcon16B].Window(), hwnd_, 0, 0, 0, 0);
    mSubClassImageCombo::UnsubclassImageCombo(Control(IDC_cmbFileCopy));
    mShell_NotifyIcon::RemoveTrayIcon(hwnd_, smallIcon_.get(), L"Salvadisk2.0 \r\nRunning...");
    // A copy that stopped part way leaves its resume record.
    engine_->WriteResumeRecordOnClose();
    ::KillTimer(hwnd_, kTimerId);
    // Last of all: the log window writes its text to the log file.
    UnloadLogWindow();
}

template <typename F>
void FrmCopy::RunEngine(F&& call) {
    ++engineDepth_;
    call();
    --engineDepth_;
    if (engineDepth_ == 0 && closePending_ && hwnd_) {
        closePending_ = false;
        ::DestroyWindow(hwnd_);
    }
}

// ---------------------------------------------------------------------------------------------
// Reset

void FrmCopy::RefreshWindow() {
    ClearFileListItems();
    ::InvalidateRect(Control(IDC_cmbFileCopy), nullptr, TRUE);
    ClearFileInfoDisplay();
    SetFileListText(L"");
    ::SetWindowTextW(Control(IDC_txtFileCopy), L"");
    StopPreview();
}

void FrmCopy::ClearFileInfoDisplay() {
    bars_[ProgressBarBox].Clear();
    for (Box b : {SmallIcon16, SmallIcon16A, SmallIcon16B, Image1_4}) {
        boxes_[b].Clear();
        boxes_[b].SetPicture(nullptr);
    }
    ::SetWindowTextW(Control(IDC_lblYiFuZhi), L"0字节");
    ::SetWindowTextW(Control(IDC_lblGuJiXiaoHao), L"00:00:00");
    ::SetWindowTextW(Control(IDC_lblShengYuShiJian), L"00:00:00");
    ::SetWindowTextW(Control(IDC_lblZongJiHaoShi), L"00:00:00");
    ::SetWindowTextW(Control(IDC_lblShuJuLiuLiang), L"0KB/秒");
    ::SetWindowTextW(Control(IDC_lblFilesInfo), kFilesInfoReset);
    ::SendMessageW(Control(IDC_stbFileInfoShowsArea_A), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    ::SendMessageW(Control(IDC_stbFileInfoShowsArea_B), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
}

void FrmCopy::StopPreview() {
    if (options_.stopPreview) options_.stopPreview();
    // What the preview window's stop leaves behind, also when no preview window is there.
    PreviewPlaying = false;
    PreviewLoaded = false;
    picHTitleBar_Paint();
}

// ---------------------------------------------------------------------------------------------
// File list

std::wstring FrmCopy::FileListText() const {
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(Control(IDC_cmbFileCopy), CBEM_GETEDITCONTROL, 0, 0));
    if (!edit) return {};
    std::wstring s(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    s.resize(static_cast<size_t>(::GetWindowTextW(edit, &s[0], static_cast<int>(s.size()))));
    return s;
}

void FrmCopy::SetFileListText(const std::wstring& text) {
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(Control(IDC_cmbFileCopy), CBEM_GETEDITCONTROL, 0, 0));
    if (!edit) return;
    settingListText_ = true;
    ::SetWindowTextW(edit, text.c_str());
    settingListText_ = false;
    cmbFileCopy_Change();
}

// ---------------------------------------------------------------------------------------------
// Title bar, side bar and frames

void FrmCopy::PaintTitleBarButtons(bool testList) {
    PictureBox& bar = bars_[HTitleBar];
    HDC dc = bar.dc();
    const int w = ClientWidth(bar.Window()), h = ClientHeight(bar.Window());
    bar.Clear();
    mT3D::GradientFillRect(dc, 0, 0, w, h, mT3D::GetSystemColor(COLOR_HIGHLIGHT),
                           mT3D::GetSystemColor(COLOR_GRADIENTINACTIVECAPTION), false);
    mT3D::DrawCaptionButton(dc, w - 18, 2, 16, 14, 3, false);
    mT3D::DrawCaptionButton(dc, w - 36, 2, 16, 14, 1, false);
    mT3D::DrawPushButtonFrame(dc, w - 54, 2, 16, 14, false);
    mT3D::DrawPushButtonFrame(dc, w - 72, 2, 16, 14, false);
    bool hasItems = true, namesFile = true;
    if (testList) {
        hasItems = FileListCount() > 0;
        namesFile = hasItems && env_.FileExists(FileListText());
    }
    switch (PreviewLookFor(hasItems, namesFile, PreviewOn, PreviewLoaded, PreviewPlaying)) {
    case PreviewLook::Gray:
        mT3D::DrawIconAt(dc, playGray_.get(), w - 72, 0, 16, 16);
        mT3D::DrawIconAt(dc, stopGray_.get(), w - 54, 0, 16, 16);
        break;
    case PreviewLook::Usable:
        mT3D::DrawIconAt(dc, playIcon_.get(), w - 72, 0, 16, 16);
        mT3D::DrawIconAt(dc, stopIcon_.get(), w - 54, 0, 16, 16);
        break;
    case PreviewLook::Playing:
        mT3D::DrawPushButtonFrame(dc, w - 72, 2, 16, 14, true);
        mT3D::DrawIconAt(dc, playGray_.get(), w - 72, 0, 16, 16);
        mT3D::DrawIconAt(dc, stopIcon_.get(), w - 54, 0, 16, 16);
        break;
    }
}

void FrmCopy::PaintTitleBarIconAndCaption() {
    PictureBox& bar = bars_[HTitleBar];
    HDC dc = bar.dc();
    const int w = ClientWidth(bar.Window()), h = ClientHeight(bar.Window());
    mT3D::DrawIconAt(dc, smallIcon_.get(), 1, 1, h - 2, h - 2);
    select_scope font(dc, captionFont_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    mT3D::DrawTextInRect(dc, kTitleCaption, 20, 2, w / 2, h);
}

void FrmCopy::picHTitleBar_Paint() {
    if (!bars_[HTitleBar].Window()) return;
    PaintTitleBarButtons(true);
    PaintTitleBarIconAndCaption();
    bars_[HTitleBar].Refresh();
}

void FrmCopy::picVTitleBar_Paint() {
    PictureBox& bar = bars_[VTitleBar];
    if (!bar.Window()) return;
    HDC dc = bar.dc();
    const int w = ClientWidth(bar.Window()), h = ClientHeight(bar.Window());
    mT3D::GradientFillRect(dc, 0, 0, w, h, mT3D::GetSystemColor(COLOR_GRADIENTINACTIVECAPTION),
                           mT3D::GetSystemColor(COLOR_HIGHLIGHT), false);
    SIZE tw{};
    {
        select_scope font(dc, mT3D::WindowFont());
        ::GetTextExtentPoint32W(dc, L"W", 1, &tw);
    }
    ::SetBkMode(dc, TRANSPARENT);
    mT3D::DrawRotatedText(dc, kSideBarText, 14, 900, 800, false, false, false, L"Arial",
                          SideBarTextX(w, tw.cx), h - 4, mT3D::GetSystemColor(COLOR_GRADIENTINACTIVECAPTION));
    bar.Refresh();
}

void FrmCopy::PaintFrames() {
    struct Frame {
        int id;
        int width;
        int style;
    };
    static const Frame frames[] = {
        {IDC_Picture2, 1, 1},       {IDC_PicProgressBar, 1, 1}, {IDC_picRefresh, 2, 0},
        {IDC_picSearch, 2, 0},      {IDC_picSetUp, 2, 0},       {IDC_picWatch, 2, 0},
        {IDC_cmbFileCopy, 1, 0},    {IDC_txtFileCopy, 1, 0},    {IDC_cmdStartCopy, 1, 1},
        {IDC_cmdPauseCopy, 1, 1},   {IDC_cmdCancelCopy, 1, 1},  {IDC_cmdSourceFile, 1, 1},
        {IDC_cmdDestinationPath, 1, 1}, {IDC_optOpenCD, 1, 0},  {IDC_optCloseCD, 1, 0},
    };
    for (const Frame& f : frames) mT3D::DrawControlFrame3D(hwnd_, Control(f.id), f.width, f.style);
}

void FrmCopy::SendToTray() {
    mT3D::AnimateToTray(hwnd_);
    ::ShowWindow(hwnd_, SW_HIDE);
    mShell_NotifyIcon::AddTrayIcon(hwnd_, smallIcon_.get(), mShell_NotifyIcon::kTrayTip);
}

void FrmCopy::TitleBarMouse(UINT msg, WPARAM wp, int x, int) {
    PictureBox& bar = bars_[HTitleBar];
    HWND barWindow = bar.Window();
    const int w = ClientWidth(barWindow);
    const TitleBarArea area = TitleBarAreaAt(x, w);
    switch (msg) {
    case WM_LBUTTONDOWN: {
        ::SetCapture(barWindow);
        PaintTitleBarButtons(false);
        HDC dc = bar.dc();
        if (area == TitleBarArea::Close) {
            mT3D::DrawCaptionButton(dc, w - 18, 2, 16, 14, 3, true);
        } else if (area == TitleBarArea::Tray) {
            mT3D::DrawCaptionButton(dc, w - 36, 2, 16, 14, 1, true);
        } else if (area == TitleBarArea::Stop || area == TitleBarArea::Play) {
            const PreviewPress p = area == TitleBarArea::Stop ? StopPressed(PreviewOn, PreviewLoaded, PreviewPlaying)
                                                              : PlayPressed(PreviewOn, PreviewLoaded, PreviewPlaying);
            if (p.beep) {
                ::MessageBeep(MB_OK);
            } else {
                PreviewPlaying = p.playing;
                PreviewLoaded = p.loaded;
                if (p.callStop) StopPreview();
                if (p.callStart && options_.startPreview) options_.startPreview();
            }
        }
        PaintTitleBarIconAndCaption();
        bar.Refresh();
        break;
    }
    case WM_MOUSEMOVE:
        // Only after a press on the bar itself, which took the mouse: the left button of a
        // drag from another program is held over the bar too, and a move loop started then
        // would take the drop's release, so that program's drag would never end.
        if (!(wp & MK_LBUTTON) || ::GetCapture() != barWindow) break;
        if (TitleBarDragsAt(x, w))
            mT3D::DragWindow(hwnd_);
        else
            picHTitleBar_Paint();
        break;
    case WM_LBUTTONUP:
        if (::GetCapture() == barWindow) ::ReleaseCapture();
        picHTitleBar_Paint();
        if (area == TitleBarArea::Close)
            ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        else if (area == TitleBarArea::Tray)
            SendToTray();
        else if (area == TitleBarArea::WindowIcon)
            ShowPopupMenu(0);
        break;
    case WM_RBUTTONUP:
        if (TitleBarMenuAt(x, w)) ShowPopupMenu(0);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// CopyHost

void FrmCopy::SetLabel(CopyLabel label, const std::wstring& text) {
    int id = 0;
    switch (label) {
    case CopyLabel::Copied: id = IDC_lblYiFuZhi; break;
    case CopyLabel::Elapsed: id = IDC_lblZongJiHaoShi; break;
    case CopyLabel::Remaining: id = IDC_lblShengYuShiJian; break;
    case CopyLabel::Estimated: id = IDC_lblGuJiXiaoHao; break;
    case CopyLabel::Rate: id = IDC_lblShuJuLiuLiang; break;
    case CopyLabel::ReadBlocks: id = IDC_lblBlock1; break;
    case CopyLabel::SkipBlocks: id = IDC_lblBlock2; break;
    }
    ::SetWindowTextW(Control(id), text.c_str());
    displayChanged_ = true;
}

void FrmCopy::EnableControl(CopyControl control, bool enabled) {
    int id = 0;
    switch (control) {
    case CopyControl::FileList: id = IDC_cmbFileCopy; break;
    case CopyControl::TargetBox: id = IDC_txtFileCopy; break;
    case CopyControl::StartButton: id = IDC_cmdStartCopy; break;
    case CopyControl::SourceButton: id = IDC_cmdSourceFile; break;
    case CopyControl::TargetButton: id = IDC_cmdDestinationPath; break;
    case CopyControl::SideBar: id = IDC_picVTitleBar; break;
    case CopyControl::RefreshButton: id = IDC_picRefresh; break;
    case CopyControl::SearchButton: id = IDC_picSearch; break;
    case CopyControl::SetUpButton: id = IDC_picSetUp; break;
    case CopyControl::WatchButton: id = IDC_picWatch; break;
    case CopyControl::PauseButton: id = IDC_cmdPauseCopy; break;
    case CopyControl::CancelButton: id = IDC_cmdCancelCopy; break;
    }
    // Each change repaints the control at once: only real changes are made.
    HWND c = Control(id);
    if ((::IsWindowEnabled(c) != FALSE) != enabled) ::EnableWindow(c, enabled ? TRUE : FALSE);
}

void FrmCopy::SetPauseCaption(const std::wstring& caption) {
    ::SetWindowTextW(Control(IDC_cmdPauseCopy), caption.c_str());
}

void FrmCopy::ClearProgress() {
    bars_[ProgressBarBox].Clear();
    bars_[ProgressBarBox].Refresh();
}

void FrmCopy::DrawProgress(double fraction, const std::wstring& percentText) {
    bars_[ProgressBarBox].Clear();
    DrawProgressBar(bars_[ProgressBarBox], progressColor_, fraction, percentText, 150);
    displayChanged_ = true;
}

void FrmCopy::EnableTimer(bool on) {
    if (on)
        ::SetTimer(hwnd_, kTimerId, 1000, nullptr);
    else
        ::KillTimer(hwnd_, kTimerId);
}

int FrmCopy::ShowMessage(const std::wstring& text, const std::wstring& title, unsigned style) {
    return HeldMessageBox(hwnd_, text.c_str(), title.c_str(), style);
}

void FrmCopy::PumpMessages() { pacer_.PumpAfterBlock(std::exchange(displayChanged_, false)); }

// ---------------------------------------------------------------------------------------------
// Operation log

frmSystem& FrmCopy::LogWindow() { return options_.logWindow ? *options_.logWindow : frmSystem::Default(); }

void FrmCopy::AppendLog(const std::wstring& entry) { LogWindow().GetFileCopyLog(entry); }

void FrmCopy::LoadLogWindow() {
    frmSystem& log = LogWindow();
    log.Load();
    log.KeepLoaded = true;
}

void FrmCopy::ReleaseLogWindow() { LogWindow().KeepLoaded = false; }

void FrmCopy::UnloadLogWindow() {
    frmSystem& log = LogWindow();
    log.KeepLoaded = false;
    log.Unload();
}

// ---------------------------------------------------------------------------------------------
// Messages

void FrmCopy::OnCommand(int id, int code) {
    if (OnFileListCommand(id, code)) return;
    if (code != BN_CLICKED) return;
    if (OnFileMenuCommand(id)) return;
    switch (id) {
    case IDC_cmdStartCopy: {
        const std::wstring source = FileListText();
        const std::wstring target = WindowTextOf(Control(IDC_txtFileCopy));
        RunEngine([&] { engine_->BeginCopy(source, target); });
        break;
    }
    case IDC_cmdPauseCopy: {
        const std::wstring target = WindowTextOf(Control(IDC_txtFileCopy));
        RunEngine([&] { engine_->PauseOrContinue(target); });
        break;
    }
    case IDC_cmdCancelCopy:
        engine_->Cancel();
        break;
    case IDC_cmdBackCopy:
        cmdBackCopy_Click();
        break;
    case IDC_cmdSourceFile:
        cmdSourceFile_Click();
        break;
    case IDC_cmdDestinationPath:
        cmdDestinationPath_Click();
        break;
    case IDC_optOpenCD:
        optOpenCD_Click();
        break;
    case IDC_optCloseCD:
        optCloseCD_Click();
        break;
    default:
        break;
    }
}

LRESULT FrmCopy::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        { paint_scope ps(hwnd_); }
        PaintFrames();
        picHTitleBar_Paint();
        picVTitleBar_Paint();
        return 0;
    }
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_HSCROLL: {
        HWND slider = reinterpret_cast<HWND>(lp);
        if (LOWORD(wp) != TB_ENDTRACK) {
            endTrackEcho_ = nullptr;
            return 0;
        }
        // Wine's trackbar ends a mouse track twice: on the button's release, with the capture
        // still held, and again when it lets the capture go. One release moves a paused copy once.
        const bool captured = ::GetCapture() == slider;
        if (std::exchange(endTrackEcho_, captured ? slider : nullptr) == slider && !captured) return 0;
        const int value = static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0));
        if (slider == Control(IDC_sldReadBlocks)) {
            const std::wstring source = FileListText();
            const std::wstring target = WindowTextOf(Control(IDC_txtFileCopy));
            RunEngine([&] { engine_->ReadBlocksReleased(value, source, target); });
        } else if (slider == Control(IDC_sldSkipBlocks)) {
            RunEngine([&] { engine_->SkipBlocksReleased(value); });
        }
        return 0;
    }
    case WM_TIMER:
        if (wp == kTimerId) engine_->TimerTick();
        return 0;
    case kTellDropRefusals:
        TellDropRefusals();
        return 0;
    case WM_MENUCHAR:
        // Alt with a letter: the window has no menu bar, so the system asks here about a letter
        // its system menu lacks; the buttons' captions carry such letters.
        if (ClickButtonOfAltKey(static_cast<wchar_t>(LOWORD(wp)))) return MAKELRESULT(0, MNC_CLOSE);
        break;
    case WM_CLOSE:
        if (!Form_QueryUnload()) return 0;
        if (engineDepth_ > 0)
            closePending_ = true;  // a paused loop still on the stack unwinds first
        else
            ::DestroyWindow(hwnd_);
        return 0;
    case WM_QUERYENDSESSION:
        // The system is shutting down: the same question, and the same refusal while copying.
        return Form_QueryUnload() ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (!wp) {
            // The session goes on after all: a 是 to its question had let the log window go.
            if (!closePending_ && !unloaded_) LogWindow().KeepLoaded = true;
            return 0;
        }
        if (!hwnd_) return 0;
        if (engineDepth_ == 0) {
            ::DestroyWindow(hwnd_);
        } else {
            // A copy loop is still on the stack (Pause and the shutdown came in one pump, or
            // its last question is up). The process may end as soon as this returns: the
            // shutdown steps run now, the window goes once the loop has unwound.
            Form_Unload();
            closePending_ = true;
        }
        return 0;
    case WM_DESTROY:
        Form_Unload();
        if (options_.quitOnDestroy) ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
