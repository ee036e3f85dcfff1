#include "services/frmSearchDialog.h"
#include "services/WindowText.h"
#include "services/mSubClassBrowserFolder.h"

namespace salva {

bool frmSearchDialog::Load() {
    if (IsLoaded()) return true;
    if (!CreatePanel(146, 66)) return false;
    AddControl(L"STATIC", L"加载的文件[例如：*.DAT]", SS_LEFT | SS_NOPREFIX, 6, 2, 140, 16, IDC_lblType);
    AddControl(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 6, 20, 134, 20, IDC_txtText);
    AddControl(L"BUTTON", L"也包括下级子文件夹", WS_TABSTOP | BS_AUTOCHECKBOX, 6, 44, 140, 18, IDC_chkSubFolder);
    mT3D::ApplyWindowFontRule(hwnd_);
    return true;
}

std::wstring frmSearchDialog::PatternText() const { return WindowTextOf(Control(IDC_txtText)); }

bool frmSearchDialog::SubFoldersTicked() const { return Ticked(Control(IDC_chkSubFolder)); }

LRESULT frmSearchDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) {
        if (LOWORD(wp) == IDC_txtText && HIWORD(wp) == EN_CHANGE)
            mSubClassBrowserFolder::StoreSearchPattern(PatternText());
        else if (LOWORD(wp) == IDC_chkSubFolder && HIWORD(wp) == BN_CLICKED)
            mSubClassBrowserFolder::StoreIncludeSubFolders(SubFoldersTicked());
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
