// The main window's two popup menus, the file menu and the CD menu, each given its own look
// on the popup-menu object just before it opens; the file menu's open, find, properties and
// about commands; and the two CD door buttons.
#include "copier/FileListRules.h"
#include "copier/FrmCopy.h"
#include "services/FileSystem.h"
#include "services/WaitCursor.h"
#include "services/mGetOSverioninfo.h"
#include "services/mT3D.h"
#include "Velmora.h"

namespace salva {

namespace {

struct MenuEntry {
    int id;  // 0: a separator
    const wchar_t* caption;
};

// mnuFile, in menu order.
const MenuEntry kFileMenu[] = {
    {FrmCopy::IDM_mnuOpenFile, L"打开当前文件(&O)"},
    {FrmCopy::IDM_mnuPreview, L"允许预览文件(&V)"},
    {0, nullptr},
    {FrmCopy::IDM_mnuAddFileToListItem, L"加文件到列表(&D)"},
    {FrmCopy::IDM_mnuClearSelectedItem, L"从列表中清除(&N)"},
    {FrmCopy::IDM_mnuClearAllListItem, L"清除所有文件(&L)"},
    {0, nullptr},
    {FrmCopy::IDM_mnuDelSeletedItem, L"删除当前文件(&K)   "},
    {FrmCopy::IDM_mnuReName, L"重命名该文件(&R)"},
    {0, nullptr},
    {FrmCopy::IDM_mnuCopyTo, L"复制该文件到(&C)..."},
    {FrmCopy::IDM_mnuMoveTo, L"移动该文件到(&M)..."},
    {0, nullptr},
    {FrmCopy::IDM_mnuFindFile, L"查找目标文件(&F)"},
    {FrmCopy::IDM_mnuFileroperty, L"查看文件属性(&P)"},
    {0, nullptr},
    {FrmCopy::IDM_mnuCopyAllFilesTo, L"复制所有文件到(&A)..."},
    {0, nullptr},
    {FrmCopy::IDM_mnuExit, L"&Exit  Salvadisk"},
    {FrmCopy::IDM_mnuAboutMe, L"&About Salvadisk"},
};

void SetTitle(_cVelmora* m, const wchar_t* title) {
    unique_bstr text(::SysAllocString(title));
    m->put_VerticalTitleBarTitle(text.get());
}

long SystemColour(int index) { return static_cast<long>(mT3D::GetSystemColor(index)); }

}  // namespace

void FrmCopy::CreateFileMenu() {
    mnuFile_.reset(::CreatePopupMenu());
    if (!mnuFile_) return;
    for (const MenuEntry& e : kFileMenu) {
        if (e.id == 0)
            ::AppendMenuW(mnuFile_.get(), MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuW(mnuFile_.get(), MF_STRING, static_cast<UINT_PTR>(e.id), e.caption);
    }
}

void FrmCopy::SetPopupMenuLook(short kind) {
    _cVelmora* m = popupMenus_.get();
    // Without the library the menus still open, drawn by the system.
    if (!m) return;
    if (kind == 0) {
        SetTitle(m, L"Salvadisk");
        m->put_VerticalTitleBarWidth(16);
        VTitleBarFontName face = Arial;
        m->put_VerticalTitleBarFontName(&face);
        m->put_VerticalTitleBarFontSize(14);
        m->put_VTBarGradientTopToBottom(VARIANT_TRUE);
        m->put_VerticalTitleBarStartColor(SystemColour(COLOR_GRADIENTINACTIVECAPTION));
        m->put_VerticalTitleBarEndColor(SystemColour(COLOR_HIGHLIGHT));
        m->put_VerticalTitleBarTextColor(SystemColour(COLOR_GRADIENTINACTIVECAPTION));
        m->put_IsMenuItemGradient(VARIANT_TRUE);
        m->put_MenuItemStartColor(SystemColour(COLOR_GRADIENTINACTIVECAPTION));
        m->put_MenuItemEndColor(SystemColour(COLOR_HIGHLIGHT));
        m->put_MenuItemHighLightColor(SystemColour(COLOR_HIGHLIGHTTEXT));
        m->put_MenuItemBackColor(SystemColour(COLOR_MENU));
        m->SetMenuItem3DEffect(m_NONE, VARIANT_TRUE);
        m->SetMenuDisplayStyle(m_WindowsCustomStyle, VARIANT_FALSE);
    } else {
        SetTitle(m, L"CD-ROM");
        m->put_VerticalTitleBarWidth(22);
        m->put_VTBarGradientLeftToRight(VARIANT_TRUE);
        m->put_MenuItemHighLightColor(RGB(0, 92, 128));
        m->put_VerticalTitleBarStartColor(RGB(216, 228, 248));
        m->put_VerticalTitleBarEndColor(RGB(49, 106, 197));
        m->put_VerticalTitleBarTextColor(RGB(0, 92, 128));
        m->put_MenuItemFillColor(RGB(216, 228, 248));
        m->put_MenuItemFrameColor(RGB(236, 233, 216));
        m->put_MenuItemBorderColor(RGB(49, 106, 197));
        m->put_MenuItemBackColor(RGB(249, 248, 247));
        m->SetMenuDisplayStyle(m_WindowsOfficeXPStyle, VARIANT_FALSE);
    }
}

CDRomDriveControl FrmCopy::DoorControl() const { return CDRomDriveControl(options_.cdSender, options_.cdDrives); }

void FrmCopy::ShowPopupMenu(short kind) {
    if (kind == 0) {
        SetPopupMenuLook(0);
        // The item states are set here: the menu object keeps the window's own menu messages.
        UpdateListMenus();
        POINT at{};
        ::GetCursorPos(&at);
        const int id = static_cast<int>(
            ::TrackPopupMenu(mnuFile_.get(), TPM_RETURNCMD, at.x, at.y, 0, hwnd_, nullptr));
        if (id) OnFileMenuCommand(id);
    } else if (kind == 1) {
        CDRomDriveControl cd = DoorControl();
        SetPopupMenuLook(1);
        cd.CreatePopupCDDriveMenu(hwnd_);
    }
}

void FrmCopy::mnuOpenFile_Click() {
    if (FileListCount() == 0) return;
    FileSystem().OpenFile(FileListText(), hwnd_);
}

void FrmCopy::mnuFindFile_Click() {
    if (FileListCount() == 0) return;
    FileSystem().OpenFolder(FileListText(), hwnd_);
}

void FrmCopy::mnuFileroperty_Click() {
    if (FileListCount() == 0) return;
    const std::wstring path = FileListText();
    const FileSystem fs;
    if (!fs.FileExists(path)) return;
    const std::wstring version = options_.osVersionName ? options_.osVersionName() : mGetOSverioninfo::GetOSVersionName();
    bool shown = false;
    if (PropertyViewFor(path, version) == PropertyView::Own && options_.windows.fileProperty) {
        try {
            wait_cursor_scope::Show(IDC_APPSTARTING);
            shown = options_.windows.fileProperty(path);
        } catch (...) {
            shown = false;
        }
        wait_cursor_scope::Show(IDC_ARROW);
    }
    // The shell's sheet, also when the own window failed.
    if (!shown && fs.FileExists(path)) {
        if (options_.shellProperties)
            options_.shellProperties(path);
        else
            fs.ShowFile_FolderProperty(path, hwnd_);
    }
}

void FrmCopy::mnuAboutMe_Click() {
    if (options_.windows.about) options_.windows.about();
}

// ---------------------------------------------------------------------------------------------
// CD door buttons

void FrmCopy::SetUpDoorButtons() {
    openDoorSubclass_.Install(Control(IDC_optOpenCD), [this](HWND b, UINT m, WPARAM wp, LPARAM lp) {
        return DoorButtonMessage(openDoorSubclass_, b, m, wp, lp);
    });
    closeDoorSubclass_.Install(Control(IDC_optCloseCD), [this](HWND b, UINT m, WPARAM wp, LPARAM lp) {
        return DoorButtonMessage(closeDoorSubclass_, b, m, wp, lp);
    });
}

LRESULT FrmCopy::DoorButtonMessage(WindowSubclass& subclass, HWND button, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        mT3D::DrawControlFrame3D(hwnd_, button, 1, mT3D::Frame3DSunken);
        break;
    case WM_LBUTTONUP:
        mT3D::DrawControlFrame3D(hwnd_, button, 1, mT3D::Frame3DRaised);
        break;
    case WM_RBUTTONDOWN:
        // The right button only opens the CD menu; no door moves.
        ShowPopupMenu(1);
        return 0;
    default:
        break;
    }
    return subclass.CallPrevious(button, msg, wp, lp);
}

void FrmCopy::optOpenCD_Click() { DoorControl().OpenFirstCDdoor(); }

void FrmCopy::optCloseCD_Click() { DoorControl().CloseFirstCDdoor(); }

}  // namespace salva
