#include "services/frmChooseDialog.h"
#include "services/mSubClassBrowserFolder.h"

namespace salva {

bool frmChooseDialog::Load() {
    if (IsLoaded()) return true;
    if (!CreatePanel(122, 22)) return false;
    AddControl(L"BUTTON", L"保存在同一根目录", WS_TABSTOP | BS_AUTOCHECKBOX, 0, 2, 122, 18, IDC_chkCopyToSameDir);
    mT3D::ApplyWindowFontRule(hwnd_);
    return true;
}

bool frmChooseDialog::CopyToSameDirTicked() const { return Ticked(Control(IDC_chkCopyToSameDir)); }

LRESULT frmChooseDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) {
        if (LOWORD(wp) == IDC_chkCopyToSameDir && HIWORD(wp) == BN_CLICKED)
            mSubClassBrowserFolder::StoreCopyToSameDir(CopyToSameDirTicked());
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
