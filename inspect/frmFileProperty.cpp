#include "inspect/frmFileProperty.h"
#include "inspect/DiskSpacePie.h"
#include "inspect/FilePropertyText.h"
#include "services/FileSystem.h"
#include "services/MainWindow.h"
#include "services/ModalHold.h"
#include "services/ModalLoop.h"
#include "services/SystemErrorText.h"
#include "services/Text.h"
#include "services/ToolTips.h"
#include "services/Twips.h"
#include "services/WaitCursor.h"
#include "services/WindowText.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <variant>

namespace salva {
namespace {

using namespace file_property;

const wchar_t kDesignCaption[] = L"显示文件属性";
const wchar_t* const kTabCaptions[] = {L"常规[&N]", L"摘要[&D]", L"驱动器属性"};
const wchar_t kSureCaption[] = L"确定[&S]";
const wchar_t kCloseCaption[] = L"关闭[&E]";
const wchar_t kCaptionSuffix[] = L" 属性";

// Design sizes in twips.
const int kClientWidthTw = 5580;
const int kClientHeightTw = 5715;
const RECT kTabTw{90, 120, 90 + 5400, 120 + 5055};
const RECT kPageTw{120, 480, 120 + 5310, 480 + 4575};
const int kButtonTopTw = 5280;
const int kButtonWidthTw = 1095;
const int kButtonHeightTw = 330;
const int kRowHeightTw = 255;

bool g_filling = false;

// The main window takes no commands while a properties window is being filled.
class main_window_wait_scope {
public:
    main_window_wait_scope() {
        if (MainWindow* main = TheMainWindow())
            if (HoldWindow(main->Handle())) held_ = main->Handle();
    }
    ~main_window_wait_scope() {
        if (held_) ReleaseWindow(held_);
    }
    main_window_wait_scope(const main_window_wait_scope&) = delete;
    main_window_wait_scope& operator=(const main_window_wait_scope&) = delete;

private:
    HWND held_ = nullptr;
};

class filling_scope {
public:
    filling_scope() { g_filling = true; }
    ~filling_scope() { g_filling = false; }
    filling_scope(const filling_scope&) = delete;
    filling_scope& operator=(const filling_scope&) = delete;
};

std::wstring TextOf(const DiskValue& value) {
    if (const auto* s = std::get_if<std::wstring>(&value)) return *s;
    return L"";
}

RECT PixelRect(const RECT& tw) {
    return RECT{ToPixels(tw.left), ToPixels(tw.top), ToPixels(tw.right), ToPixels(tw.bottom)};
}

}  // namespace

frmFileProperty::~frmFileProperty() {
    if (hwnd_) Unload();
}

bool frmFileProperty::Filling() { return g_filling; }

bool frmFileProperty::ShowFor(const std::wstring& path) {
    if (g_filling) return false;
    frmFileProperty window;
    {
        wait_cursor_scope wait(IDC_APPSTARTING);
        if (!window.GetInfor(path)) return false;
    }
    window.ShowModal();
    return true;
}

HWND frmFileProperty::Control(int id) const {
    const auto it = controls_.find(id);
    return it != controls_.end() && ::IsWindow(it->second) ? it->second : nullptr;
}

void frmFileProperty::SetText(int id, const std::wstring& text) {
    if (HWND h = Control(id)) ::SetWindowTextW(h, text.c_str());
}

// ---- Loading -----------------------------------------------------------------------------

bool frmFileProperty::Load() {
    if (hwnd_) return true;
    currentFileName_.clear();
    currentDriveRoot_.clear();
    shownVolumeLabel_.clear();
    controls_.clear();
    summaryPages_.clear();
    summaryWindows_.clear();
    unloaded_ = false;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT r{0, 0, ToPixels(kClientWidthTw), ToPixels(kClientHeightTw)};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - w) / 2;
    const int y = work.top + (work.bottom - work.top - h) / 2;
    // Owned by the main window, if there is one, so the window has no task-bar button of its own.
    MainWindow* main = TheMainWindow();
    if (!CreateWindowOf(exStyle, kDesignCaption, style, x, y, w, h, main ? main->Handle() : nullptr)) return false;
    Form_Load();
    return true;
}

HWND frmFileProperty::MakeControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int xTw,
                                  int yTw, int wTw, int hTw, DWORD exStyle) {
    HWND h = ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, ToPixels(xTw), ToPixels(yTw),
                               ToPixels(wTw), ToPixels(hTw), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (h) controls_[id] = h;
    return h;
}

void frmFileProperty::Form_Load() {
    HWND tab = MakeControl(hwnd_, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, IDC_TABSTRIP1, kTabTw.left,
                           kTabTw.top, kTabTw.right - kTabTw.left, kTabTw.bottom - kTabTw.top);
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
        ::SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }

    const RECT page = PixelRect(kPageTw);
    const int pageIds[] = {IDC_PIC_NORMAL, IDC_PIC_DOCKET, IDC_PIC_DRIVEPROP};
    for (int i = 0; i < 3; ++i) {
        pages_[i].Create(hwnd_, pageIds[i], page.left, page.top, page.right - page.left, page.bottom - page.top,
                         WS_VISIBLE);
        HWND h = pages_[i].Window();
        controls_[pageIds[i]] = h;
        // Tab and the access keys reach the controls on the pages.
        ::SetWindowLongW(h, GWL_EXSTYLE, ::GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    }
    CreateGeneralPage();
    CreateDrivePage();
    for (SummaryPageFactory factory : RegisteredSummaryPages()) {
        std::unique_ptr<SummaryPage> supplied = factory ? factory() : nullptr;
        if (!supplied) continue;
        HWND h = supplied->Create(hwnd_, page);
        if (h) ::SetWindowLongW(h, GWL_STYLE, ::GetWindowLongW(h, GWL_STYLE) | WS_CLIPSIBLINGS);
        summaryPages_.push_back(std::move(supplied));
        summaryWindows_.push_back(h);
    }

    const int buttonIds[] = {IDC_CMDSURE, IDC_CMDCANCEL, IDC_CMDAPPLY};
    const wchar_t* const buttonCaptions[] = {kSureCaption, L"取消[&C]", L"应用[&A]"};
    const int buttonLeftTw[] = {1965, 3180, 4395};
    for (int i = 0; i < 3; ++i)
        MakeControl(hwnd_, L"BUTTON", buttonCaptions[i], WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                    buttonIds[i], buttonLeftTw[i], kButtonTopTw, kButtonWidthTw, kButtonHeightTw);
    ::EnableWindow(Control(IDC_CMDAPPLY), FALSE);

    // As designed, every page lies over the tab strip, the General page in front, then the
    // Summary pages and the drive page; the strip itself at the back.
    ::SetWindowPos(pages_[kDrivePage].Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (auto it = summaryWindows_.rbegin(); it != summaryWindows_.rend(); ++it)
        if (*it) ::SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(pages_[kDocketPage].Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(pages_[kGeneralPage].Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    mT3D::ApplyWindowFontRule(hwnd_);
}

void frmFileProperty::CreateGeneralPage() {
    HWND page = pages_[kGeneralPage].Window();
    icon32_.Create(page, IDC_PICICON_32, ToPixels(150), ToPixels(120), 32, 32);
    controls_[IDC_PICICON_32] = icon32_.Window();
    const DWORD readOnlyBox = ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP;
    MakeControl(page, L"EDIT", L"", readOnlyBox, IDC_TXTFULLFILENAME, 960, 240, 4200, 300);

    struct Row {
        const wchar_t* caption;
        int captionY;
        int valueId;
        int valueX;
    };
    const Row rows[] = {
        {L"类型：", 990, IDC_LBLFILETYPE, 690},       {L"位置：", 1380, IDC_TXTFILEPOSITION, 690},
        {L"大小：", 1800, IDC_LBLFILELENGTH, 690},     {L"创建时间：", 2400, IDC_LBLFILECREATED, 1050},
        {L"修改时间：", 2760, IDC_LBLFILEMODIFIED, 1050}, {L"访问时间：", 3120, IDC_LBLFILEACCESSED, 1050},
    };
    int label = 0;
    for (const Row& row : rows) {
        MakeControl(page, L"STATIC", row.caption, SS_LEFT, IDC_LABEL1 + label++, 150, row.captionY, 900, kRowHeightTw);
        const int width = 5310 - row.valueX - 120;
        if (row.valueId == IDC_TXTFILEPOSITION)
            MakeControl(page, L"EDIT", L"", readOnlyBox, row.valueId, row.valueX, row.captionY - 30, width, 300);
        else
            MakeControl(page, L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, row.valueId, row.valueX,
                        row.captionY, width, kRowHeightTw);
    }
    MakeControl(page, L"STATIC", L"文件属性：", SS_LEFT, IDC_LABEL1 + label++, 150, 3600, 1300, kRowHeightTw);

    struct Box {
        int id;
        const wchar_t* caption;
        int x, y;
    };
    const Box boxes[] = {{IDC_CHKREADONLY, L"只读[&R]", 1590, 3600},
                         {IDC_CHKHIDE, L"隐藏[&H]", 2760, 3600},
                         {IDC_CHKDOCUMENT, L"存档[&D]", 1590, 4080},
                         {IDC_CHKSYSTEM, L"系统[&Y]", 2760, 4080}};
    for (const Box& b : boxes) MakeControl(page, L"BUTTON", b.caption, BS_AUTOCHECKBOX | WS_TABSTOP, b.id, b.x, b.y, 1100, 300);
    // The system bit is shown, never changed here.
    ::EnableWindow(Control(IDC_CHKSYSTEM), FALSE);

    // A left press on a changeable box makes Apply available, whatever the box ends up at.
    const int changeable[] = {IDC_CHKREADONLY, IDC_CHKHIDE, IDC_CHKDOCUMENT};
    for (size_t i = 0; i < boxSubclasses_.size(); ++i) {
        WindowSubclass& sub = boxSubclasses_[i];
        sub.Install(Control(changeable[i]), [this, &sub](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            if (msg == WM_LBUTTONDOWN) EnableApply();
            return sub.CallPrevious(h, msg, wp, lp);
        });
    }
}

void frmFileProperty::CreateDrivePage() {
    PictureBox& pageBox = pages_[kDrivePage];
    HWND page = pageBox.Window();
    diskIcon_.Create(page, IDC_PICDISKICON, ToPixels(150), ToPixels(120), 32, 32);
    controls_[IDC_PICDISKICON] = diskIcon_.Window();
    MakeControl(page, L"STATIC", L"卷标名(&L)：", SS_LEFT, IDC_LABEL1 + 7, 960, 300, 1200, kRowHeightTw);
    HWND volume = MakeControl(page, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, IDC_TXTVOLUMENAME, 2160, 255, 2900, 300,
                              WS_EX_CLIENTEDGE);
    volumeSubclass_.Install(volume, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_CHAR && !txtVolumeName_KeyPress(static_cast<wchar_t>(wp))) return 0;
        return volumeSubclass_.CallPrevious(h, msg, wp, lp);
    });

    MakeControl(page, L"STATIC", L"磁盘类型：", SS_LEFT, IDC_LABEL1 + 8, 150, 840, 1300, kRowHeightTw);
    MakeControl(page, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_LBLDISKTYPE, 1500, 840, 3600, kRowHeightTw);
    MakeControl(page, L"STATIC", L"文件系统：", SS_LEFT, IDC_LABEL1 + 9, 150, 1140, 1300, kRowHeightTw);
    MakeControl(page, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, IDC_LBLFILESYSTEM, 1500, 1140, 3600, kRowHeightTw);

    struct SpaceRow {
        int keyId;
        const wchar_t* caption;
        int bytesId, unitId;
        int y;
    };
    const SpaceRow rows[] = {{IDC_PICUSESPACE, L"已用空间：", IDC_LBLSPACEUSED, IDC_LBLSPACEUSEDA, 1530},
                             {IDC_PICAVAILSPACE, L"可用空间：", IDC_LBLAVAILABLESPACE, IDC_LBLAVAILABLESPACEA, 1860},
                             {0, L"总计空间：", IDC_LBLTOTALSPACE, IDC_LBLTOTALSPACEA, 2190}};
    int label = 10;
    for (const SpaceRow& row : rows) {
        if (row.keyId) MakeControl(page, L"STATIC", L"", SS_LEFT, row.keyId, 150, row.y, 210, 210, WS_EX_STATICEDGE);
        MakeControl(page, L"STATIC", row.caption, SS_LEFT, IDC_LABEL1 + label++, 450, row.y, 1050, kRowHeightTw);
        MakeControl(page, L"STATIC", L"0  字节", SS_RIGHT | SS_NOPREFIX, row.bytesId, 1500, row.y, 2200, kRowHeightTw);
        MakeControl(page, L"STATIC", L"0 GB", SS_RIGHT | SS_NOPREFIX, row.unitId, 3750, row.y, 1350, kRowHeightTw);
    }
    MakeControl(page, L"STATIC", L"驱动器 ", SS_CENTER | SS_NOPREFIX, IDC_LBLDRIVENAME, 150, 3750, 5010, kRowHeightTw);
    usedKey_.reset(::CreateSolidBrush(disk_space_pie::kUsed));
    freeKey_.reset(::CreateSolidBrush(disk_space_pie::kFree));
}

// ---- Filling -----------------------------------------------------------------------------

bool frmFileProperty::GetInfor(const std::wstring& path) {
    if (g_filling) return false;
    filling_scope filling;
    main_window_wait_scope mainWaits;
    if (!Load()) return false;
    currentFileName_ = path;
    // The Summary pages let messages run while they fill (the ZIP walk): a close handled there
    // destroys the window, and the fill stops without touching what went with it.
    fillingPages_ = true;
    ShowGeneralInfo(path);
    ShowSummaryInfo(path);
    fillingPages_ = false;
    if (!hwnd_) {
        OnFinalDestroy();
        return false;
    }
    ShowDriveInfo(path);

    std::vector<HWND> tipBoxes{Control(IDC_TXTFULLFILENAME), Control(IDC_TXTFILEPOSITION)};
    for (const auto& page : summaryPages_)
        for (HWND box : page->TipBoxes()) tipBoxes.push_back(box);
    for (HWND box : tipBoxes) {
        if (!box) continue;
        ToolTips tip;
        tip.OwnerhWnd(box);
        tip.ToolTipsTitle(L"");
        tip.ToolTipsText(WindowTextOf(box));
        tip.CreateToolTipsWindow();
    }
    return true;
}

void frmFileProperty::ShowGeneralInfo(const std::wstring& path) {
    FileSystem fs;
    icon32_.Clear();
    mT3D::DrawShellIconOn(icon32_.dc(), path, 32);
    icon32_.Refresh();
    const std::wstring name = fs.GetFileName(path);
    ::SetWindowTextW(hwnd_, (name + kCaptionSuffix).c_str());
    SetText(IDC_TXTFULLFILENAME, name);
    SetText(IDC_TXTFILEPOSITION, fs.GetParentFolderName(path));
    SetText(IDC_LBLFILETYPE, fs.GetFileTypeName(path));
    uint64_t length = 0;
    if (FileLength64(path, length)) SetText(IDC_LBLFILELENGTH, FileLengthText(length));
    SetText(IDC_LBLFILECREATED, fs.GetFileDateTime(path, 0));
    SetText(IDC_LBLFILEMODIFIED, fs.GetFileDateTime(path, 1));
    SetText(IDC_LBLFILEACCESSED, fs.GetFileDateTime(path, 2));

    ShowAttributeBoxes(fs.GetFileAttributesNumber(path));
}

void frmFileProperty::ShowAttributeBoxes(int32_t attributes) {
    const AttributeBoxes boxes = BoxesFromAttributes(attributes);
    const std::pair<int, bool> ticks[] = {{IDC_CHKREADONLY, boxes.readOnly},
                                          {IDC_CHKHIDE, boxes.hidden},
                                          {IDC_CHKSYSTEM, boxes.system},
                                          {IDC_CHKDOCUMENT, boxes.archive}};
    for (const auto& t : ticks)
        ::SendMessageW(Control(t.first), BM_SETCHECK, t.second ? BST_CHECKED : BST_UNCHECKED, 0);
}

void frmFileProperty::ShowSummaryInfo(const std::wstring& path) {
    for (size_t i = 0; i < summaryPages_.size() && hwnd_; ++i) summaryPages_[i]->ShowSummaryInfo(path);
}

void frmFileProperty::ShowDriveInfo(const std::wstring& fileName) {
    const std::wstring root = DriveRootOf(fileName);
    currentDriveRoot_ = root;
    FileSystem fs;
    if (!fs.DriveExists(root)) return;

    const double used = fs.GetDiskSpaceSize(root, 2);
    const double available = fs.GetDiskSpaceSize(root, 1);
    const double total = fs.GetDiskSpaceSize(root, 0);
    shownVolumeLabel_ = TextOf(fs.GetDiskInformationA(root, 4));
    SetText(IDC_TXTVOLUMENAME, shownVolumeLabel_);
    const std::wstring serial = TextOf(fs.GetDiskInformationA(root, 5));
    const std::wstring typeText = fs.GetDriveTypeStr(root);
    SetText(IDC_LBLDISKTYPE, typeText);
    if (fs.GetDriveType(root) == DRIVE_CDROM) {
        // Shown on the button face and locked: a CD's label cannot be written.
        ::SendMessageW(Control(IDC_TXTVOLUMENAME), EM_SETREADONLY, TRUE, 0);
    }
    SetText(IDC_LBLFILESYSTEM, TextOf(fs.GetDiskInformationA(root, 6)));

    const std::pair<int, double> counts[] = {
        {IDC_LBLSPACEUSED, used}, {IDC_LBLAVAILABLESPACE, available}, {IDC_LBLTOTALSPACE, total}};
    const int unitIds[] = {IDC_LBLSPACEUSEDA, IDC_LBLAVAILABLESPACEA, IDC_LBLTOTALSPACEA};
    for (size_t i = 0; i < 3; ++i) {
        const double n = counts[i].second;
        // A drive whose space cannot be queried reports -1 for every count.
        SetText(counts[i].first, n >= 0 ? ByteCountText(n) : kUnknownValue);
        SetText(unitIds[i], n >= 0 ? ScaledSizeText(n) : kUnknownValue);
    }
    SetText(IDC_LBLDRIVENAME, DriveSummaryLine(root[0], serial, available, used, total));

    const std::wstring caption = DriveTabCaption(typeText, root);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption.c_str());
    ::SendMessageW(Control(IDC_TABSTRIP1), TCM_SETITEMW, 2, reinterpret_cast<LPARAM>(&item));

    diskIcon_.Clear();
    mT3D::DrawShellIconOn(diskIcon_.dc(), root, 32);
    diskIcon_.Refresh();

    PictureBox& page = pages_[kDrivePage];
    DrawDiskSpacePie(page.dc(), kPieRect.left, kPieRect.top, kPieRect.right, kPieRect.bottom, kPieDepth, used, total);
    page.Refresh();
}

// ---- Events ------------------------------------------------------------------------------

void frmFileProperty::EnableApply() { ::EnableWindow(Control(IDC_CMDAPPLY), TRUE); }

bool frmFileProperty::txtVolumeName_KeyPress(wchar_t) {
    FileSystem fs;
    if (fs.GetDriveType(currentDriveRoot_) == DRIVE_CDROM) return false;
    EnableApply();
    return true;
}

void frmFileProperty::TabStrip1_Click() {
    const int tab = static_cast<int>(::SendMessageW(Control(IDC_TABSTRIP1), TCM_GETCURSEL, 0, 0)) + 1;
    if (tab < 1 || tab > 3) return;
    // The Summary tab shows the first supplied page that takes the file, else the empty page.
    size_t shown = summaryPages_.size();
    if (tab == 2)
        for (size_t i = 0; i < summaryPages_.size(); ++i)
            if (summaryWindows_[i] && summaryPages_[i]->ShowsFor(currentFileName_)) {
                shown = i;
                break;
            }
    ::ShowWindow(pages_[kGeneralPage].Window(), tab == 1 ? SW_SHOW : SW_HIDE);
    ::ShowWindow(pages_[kDocketPage].Window(), tab == 2 && shown == summaryPages_.size() ? SW_SHOW : SW_HIDE);
    ::ShowWindow(pages_[kDrivePage].Window(), tab == 3 ? SW_SHOW : SW_HIDE);
    for (size_t i = 0; i < summaryPages_.size(); ++i) {
        if (i == shown) summaryPages_[i]->OnShow(currentFileName_);
        if (summaryWindows_[i]) ::ShowWindow(summaryWindows_[i], i == shown ? SW_SHOW : SW_HIDE);
    }
}

bool frmFileProperty::ApplyFileAttributes(const std::wstring& path) {
    auto ticked = [this](int id) { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; };
    const DWORD current = ::GetFileAttributesW(path.c_str());
    DWORD error = current == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_SUCCESS;
    if (error == ERROR_SUCCESS) {
        const uint32_t value =
            AppliedAttributes(current, ticked(IDC_CHKREADONLY), ticked(IDC_CHKHIDE), ticked(IDC_CHKDOCUMENT));
        if (!::SetFileAttributesW(path.c_str(), value ? value : FILE_ATTRIBUTE_NORMAL)) error = ::GetLastError();
    }
    if (error == ERROR_SUCCESS) return true;
    // The boxes must not claim what the file does not have: they show its attributes as they
    // are now, or, for a file that is gone, none, and no longer take changes.
    ::MessageBoxW(hwnd_, AttributesNotSetText(path, error, SystemErrorText(error)).c_str(), L"提醒！",
                  MB_OK | MB_ICONEXCLAMATION);
    const DWORD now = ::GetFileAttributesW(path.c_str());
    ShowAttributeBoxes(now == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int32_t>(now));
    if (now == INVALID_FILE_ATTRIBUTES)
        for (int id : {IDC_CHKREADONLY, IDC_CHKHIDE, IDC_CHKDOCUMENT}) ::EnableWindow(Control(id), FALSE);
    return false;
}

void frmFileProperty::cmdApply_Click() {
    const bool written = ApplyFileAttributes(currentFileName_);
    const std::wstring label = WindowTextOf(Control(IDC_TXTVOLUMENAME));
    if (!currentDriveRoot_.empty() && label != shownVolumeLabel_) {
        FileSystem fs;
        if (fs.SetDiskVolumeLabel(currentDriveRoot_, label)) shownVolumeLabel_ = label;
    }
    if (written) SetText(IDC_CMDSURE, kCloseCaption);
}

// ---- Showing and closing -----------------------------------------------------------------

void frmFileProperty::ShowModal() {
    if (!hwnd_) return;
    RunModal(hwnd_, true);
}

void frmFileProperty::Unload() {
    if (!hwnd_) return;
    ::DestroyWindow(hwnd_);
}

void frmFileProperty::OnFinalDestroy() {
    controls_.clear();
    // A fill in progress still walks the pages; it lets them go when it returns.
    if (fillingPages_) return;
    summaryPages_.clear();
    summaryWindows_.clear();
}

LRESULT frmFileProperty::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        const int code = HIWORD(wp);
        switch (id) {
        case IDC_CMDAPPLY:
            if (code == BN_CLICKED) cmdApply_Click();
            return 0;
        case IDC_CMDSURE:
        case IDC_CMDCANCEL:
        case IDOK:
        case IDCANCEL:
            if (code == BN_CLICKED) Unload();
            return 0;
        case IDC_CHKREADONLY:
        case IDC_CHKHIDE:
        case IDC_CHKDOCUMENT:
            // A box changed from the keyboard can be applied too.
            if (code == BN_CLICKED) EnableApply();
            return 0;
        }
        break;
    }
    case WM_NOTIFY: {
        const auto* nm = reinterpret_cast<const NMHDR*>(lp);
        if (nm->idFrom == IDC_TABSTRIP1 && nm->code == TCN_SELCHANGE) TabStrip1_Click();
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        if (id == IDC_PICUSESPACE) return reinterpret_cast<LRESULT>(usedKey_.get());
        if (id == IDC_PICAVAILSPACE) return reinterpret_cast<LRESULT>(freeKey_.get());
        break;
    }
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        if (!unloaded_) {
            unloaded_ = true;
            for (const auto& page : summaryPages_) page->Unload();
        }
        volumeSubclass_.Remove();
        for (auto& sub : boxSubclasses_) sub.Remove();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
