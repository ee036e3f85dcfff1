// What the list information panel and the file dialogs write into the main window: the
// target box, the two status-bar texts, the totals line and the current file's pictures.
#include "copier/FrmCopy.h"
#include "services/mT3D.h"
#include <commctrl.h>

namespace salva {

void FrmCopy::SetTargetText(const std::wstring& text) { ::SetWindowTextW(Control(IDC_txtFileCopy), text.c_str()); }

void FrmCopy::SetFileInfoTexts(const std::wstring& sizeTypeAttributes, const std::wstring& times) {
    ::SendMessageW(Control(IDC_stbFileInfoShowsArea_B), SB_SETTEXTW, 0,
                   reinterpret_cast<LPARAM>(sizeTypeAttributes.c_str()));
    ::SendMessageW(Control(IDC_stbFileInfoShowsArea_A), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(times.c_str()));
}

void FrmCopy::SetFilesInfoText(const std::wstring& text) { ::SetWindowTextW(Control(IDC_lblFilesInfo), text.c_str()); }

void FrmCopy::ShowItemPictures(const std::wstring& path, IPicture* picture) {
    PictureBox* holder = PictureBox::FromWindow(Control(IDC_Image1_4));
    PictureBox* first = PictureBox::FromWindow(Control(IDC_PicSmallIcon_16A));
    PictureBox* second = PictureBox::FromWindow(Control(IDC_PicSmallIcon_16B));
    if (!holder || !first || !second) return;
    holder->Clear();
    holder->SetLoadedPicture(picture);
    first->Clear();
    first->SetLoadedPicture(picture);
    if (!picture) mT3D::DrawShellIconOn(first->dc(), path, 16);
    second->Clear();
    second->SetPicture(nullptr);
    mT3D::DrawShellIconOn(second->dc(), path, 16);
    for (PictureBox* box : {holder, first, second}) box->Refresh();
}

}  // namespace salva
