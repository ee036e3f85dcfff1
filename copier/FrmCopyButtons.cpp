// The main window's four picture buttons (refresh, search, settings, log) with their hover,
// pressed and focus looks, the settings panel they swap in, the two file buttons and the tip
// of the target box.
#include "copier/FrmCopy.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include "services/Text.h"
#include "services/WindowText.h"
#include "services/mT3D.h"
#include "windows/frmSearchFile.h"
#include "windows/frmSystem.h"
#include <commctrl.h>
#include <iterator>

namespace salva {

namespace {

enum PictureButton : size_t { RefreshButton, SearchButton, SetUpButton, WatchButton };

// Description and pattern pairs, each followed by a NUL, and a closing NUL.
const wchar_t kFileFilterChars[] = L"视频VCD文件(*.dat)\0*.dat\0视频DVD文件(*.vob)\0*.vob\0所有文件(*.*)\0*.*\0";
const std::wstring kFileFilter(kFileFilterChars, std::size(kFileFilterChars) - 1);

bool InsideClient(HWND window, int x, int y) {
    RECT rc{};
    ::GetClientRect(window, &rc);
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

}  // namespace

HICON FrmCopy::ButtonPicture(int id, bool hover) const {
    if (id < IDC_picRefresh || id > IDC_picWatch) return nullptr;
    return image1_[static_cast<size_t>(2 * (id - IDC_picRefresh) + (hover ? 1 : 0))].get();
}

void FrmCopy::SetUpPictureButtons() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i].SetShowsFocus(true);
        buttons_[i].SetMouseHandler([this, i](UINT msg, WPARAM, int x, int y) { PictureButtonMouse(i, msg, x, y); });
    }
    targetBoxSubclass_.Install(Control(IDC_txtFileCopy), [this](HWND box, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_MOUSEMOVE) txtFileCopy_MouseMove();
        return targetBoxSubclass_.CallPrevious(box, msg, wp, lp);
    });
}

void FrmCopy::PictureButtonMouse(size_t index, UINT msg, int x, int y) {
    PictureBox& button = buttons_[index];
    HWND w = button.Window();
    const int id = IDC_picRefresh + static_cast<int>(index);
    switch (msg) {
    case WM_MOUSEMOVE: {
        // The capture keeps the moves coming while the pointer is over the button; the first
        // move that lands elsewhere ends the hover.
        POINT pt{x, y};
        ::ClientToScreen(w, &pt);
        if (::WindowFromPoint(pt) == w) {
            if (::GetCapture() != w) {
                ::SetCapture(w);
                button.SetPicture(ButtonPicture(id, true));
            }
        } else {
            button.SetPicture(ButtonPicture(id, false));
            if (::GetCapture() == w) ::ReleaseCapture();
        }
        break;
    }
    case WM_LBUTTONDOWN:
        ::SetFocus(w);
        ::SetCapture(w);
        PictureButton_MouseDown(index);
        break;
    case WM_LBUTTONUP:
        if (::GetCapture() == w) ::ReleaseCapture();
        // Released elsewhere: the press is abandoned.
        if (!InsideClient(w, x, y)) {
            button.SetPicture(ButtonPicture(id, false));
            break;
        }
        PictureButton_MouseUp(index);
        break;
    default:
        break;
    }
}

void FrmCopy::PictureButton_MouseDown(size_t index) {
    if (index == RefreshButton) {
        picRefresh_Steps();
        return;
    }
    PictureBox& button = buttons_[index];
    mT3D::DrawControlFrame3D(hwnd_, button.Window(), 2, mT3D::Frame3DSunken);
    button.SetPicture(ButtonPicture(IDC_picRefresh + static_cast<int>(index), false));
}

void FrmCopy::PictureButton_MouseUp(size_t index) {
    PictureBox& button = buttons_[index];
    HWND w = button.Window();
    const int id = IDC_picRefresh + static_cast<int>(index);
    switch (index) {
    case SearchButton:
        mT3D::DrawControlFrame3D(hwnd_, w, 2, mT3D::Frame3DRaised);
        button.SetPicture(ButtonPicture(id, true));
        ShowSearchWindow();
        button.SetPicture(ButtonPicture(id, false));
        break;
    case SetUpButton:
        // The frame stays sunken while the settings panel is up.
        button.SetPicture(ButtonPicture(id, true));
        ::ShowWindow(Control(IDC_Picture2), SW_SHOW);
        ::ShowWindow(Control(IDC_Picture1), SW_HIDE);
        ::EnableWindow(w, FALSE);
        break;
    case WatchButton:
        mT3D::DrawControlFrame3D(hwnd_, w, 2, mT3D::Frame3DRaised);
        button.SetPicture(ButtonPicture(id, true));
        LogWindow().ShowModal();
        button.SetPicture(ButtonPicture(id, false));
        PumpMessages();
        break;
    case RefreshButton:
        PumpMessages();
        mT3D::DrawControlFrame3D(hwnd_, w, 2, mT3D::Frame3DRaised);
        button.SetPicture(ButtonPicture(id, false));
        break;
    default:
        break;
    }
}

void FrmCopy::picRefresh_Steps() {
    // The paint handler redraws every frame and both bars; the list's items stay.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::InvalidateRect(Control(IDC_cmbFileCopy), nullptr, TRUE);
    ClearFileInfoDisplay();
    PictureBox& button = buttons_[RefreshButton];
    mT3D::DrawControlFrame3D(hwnd_, button.Window(), 2, mT3D::Frame3DSunken);
    button.SetPicture(ButtonPicture(IDC_picRefresh, true));
    PumpMessages();
    // The totals count the files as they are now, also those changed since they were listed.
    MeasureListedFiles();
    mSubClassOpen_SaveFileBox::UpdateFileListInfo();
}

void FrmCopy::ShowSearchWindow() {
    // The search window fills the list itself; each opening starts from the drive list and the
    // stored patterns again.
    frmSearchFile search;
    if (!options_.searchHistoryFile.empty()) search.SetHistoryFilePath(options_.searchHistoryFile);
    search.ShowModal(hwnd_);
}

void FrmCopy::cmdBackCopy_Click() {
    ::ShowWindow(Control(IDC_Picture1), SW_SHOW);
    ::ShowWindow(Control(IDC_Picture2), SW_HIDE);
    // A running copy keeps the button locked; a paused one may open the panel again.
    ::EnableWindow(Control(IDC_picSetUp), !engine_->Running());
    buttons_[SetUpButton].SetPicture(ButtonPicture(IDC_picSetUp, false));
}

void FrmCopy::cmdSourceFile_Click() {
    RefreshWindow();
    mSubClassOpen_SaveFileBox::AddFilesByOpenDialog(L"打开", kFileFilter, true);
}

void FrmCopy::cmdDestinationPath_Click() {
    ::SetWindowTextW(Control(IDC_txtFileCopy), L"");
    mSubClassOpen_SaveFileBox::AskSaveFileName(L"保存", kFileFilter, false);
}

void FrmCopy::txtFileCopy_MouseMove() {
    HWND box = Control(IDC_txtFileCopy);
    const std::wstring text = WindowTextOf(box);
    if (!targetTip_) {
        targetTip_ = std::make_unique<ToolTips>();
        targetTip_->OwnerhWnd(box);
        targetTip_->ToolTipsText(text);
        targetTip_->CreateToolTipsWindow();
    } else {
        targetTip_->ToolTipsText(text);
    }
}

bool FrmCopy::ClickButtonOfAltKey(wchar_t key) {
    const std::wstring wanted = UpperCase(std::wstring(1, key));
    for (HWND c : controls_) {
        wchar_t cls[16] = {};
        if (!c || !::GetClassNameW(c, cls, 16) || lstrcmpiW(cls, L"Button") != 0) continue;
        if (!::IsWindowVisible(c) || !::IsWindowEnabled(c)) continue;
        const wchar_t letter = MnemonicOf(WindowTextOf(c));
        if (!letter || UpperCase(std::wstring(1, letter)) != wanted) continue;
        ::SendMessageW(c, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

}  // namespace salva
