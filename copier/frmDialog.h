// The rename popup: a borderless speech balloon beside the main window's file list that
// shows the current list file's facts, proposes a new name and renames the file in its own
// folder, putting the new path into the list in place of the old one. It is modal: while it
// is open the program's other windows take no input, and a button press on one of them
// closes it. It also closes when its window is moved away from where it was placed.
#pragma once
// PictureBox holds an IPicture.
#include <ocidl.h>
#include "services/PictureBox.h"
#include "copier/frmDialogBalloon.h"
#include "copier/frmDialogText.h"
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/WindowSubclass.h"
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace salva {

class MainWindow;

// Shows the rename popup for the main window's current list file, its tail pointing at
// `anchor` (the file list when null), and returns once the popup has closed. Does nothing
// without a main window.
void ShowRenamePopup(HWND anchor = nullptr);

// The ID3v1 tag facts of an MP3 file for the popup, nothing when the file has no tag.
std::optional<rename_text::Mp3TagFacts> Mp3TagFactsOf(const std::wstring& path);

class frmDialog : public BaseWindow<frmDialog> {
public:
    enum ControlId : int {
        IDC_lblTitle = 300,
        IDC_lblText,
        IDC_PicText,
        IDC_lblNewText,
        IDC_txtNewFileName,
        IDC_PicIcon16,
        IDC_PicIcon32,
        IDC_PicOK,
        IDC_PicCancel,
        IDC_Last
    };

    static const wchar_t* ClassName() { return L"SalvadiskfrmDialog"; }

    // Renames a file to a new full path; true when it was renamed.
    using Renamer = std::function<bool(const std::wstring& oldPath, const std::wstring& newPath)>;

    // Without a renamer the file service's rename (a shell operation) is used.
    explicit frmDialog(MainWindow& main, Renamer renamer = nullptr);
    ~frmDialog() override;

    // Creates the popup for the main window's current list file: fills it, lays it out,
    // places it beside `anchor` and gives it its balloon shape. Not shown yet.
    bool Load(HWND anchor);
    // Shows the loaded popup and handles the thread's messages until it has closed.
    void ShowModal();

    HWND Control(int id) const;
    // The tail corner chosen by the placement; -1 while the popup keeps a plain rectangle.
    int Style() const { return style_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls();
    void Form_Load(HWND anchor);
    void ShowRenameInfo(const std::wstring& path, HWND anchor);
    void PlaceBalloonAtControl(HWND anchor);
    void SetBalloonRegion(int style);
    void DrawBalloonButton(PictureBox& button, int state, int corner);
    void PrintCaption(PictureBox& button, const wchar_t* caption);
    void TrackButtonHover(PictureBox& button, const wchar_t* caption);
    void RenameListedFile(const std::wstring& oldPath, const std::wstring& typedName);
    void ReplaceListEntry(const std::wstring& oldPath, const std::wstring& newPath);
    void PicOK_MouseDown();
    void PicCancel_MouseDown();
    void tmrTime_Timer();
    void Unload();
    void Paint(HDC dc);
    // Input addressed to a window outside the popup while it is open.
    bool IsOutsideInput(const MSG& msg) const;

    MainWindow& main_;
    Renamer renamer_;
    std::array<HWND, IDC_Last - IDC_lblTitle> controls_{};
    // PicText, PicIcon16, PicIcon32, PicOK, PicCancel
    std::array<PictureBox, 5> boxes_;
    WindowSubclass nameBoxSubclass_;
    unique_hbrush backBrush_;
    int style_ = -1;
    long placedLeft_ = 0;
    long placedTop_ = 0;
};

}  // namespace salva
