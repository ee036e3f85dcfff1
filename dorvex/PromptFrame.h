// What the three prompt windows share: the per-thread module state, the icon and
// information filling, label sizing, the layout pass and the modal show.
#pragma once
#include "PromptText.h"
#include "services/Holders.h"
#include <string>
#include <vector>

namespace dorvex {

// One copy per thread that uses the library.
struct ModuleState {
    long switchResult = 0;   // SwitchDialog
    long switchAResult = 0;  // SwitchDialogA
    long switchBResult = 0;  // SwitchDialogB
    std::wstring newFileName;
};
ModuleState& ThreadState();

// Puts the shell's icon of `path` into the icon box `box` (a static control); size 16 or 32.
void DrawFileIcon(HWND box, const std::wstring& path, int size);

// kind 0: the file's modified time; kind 1: the current time. Empty when a normal-attribute
// search does not find the file (missing, hidden, system, folder) or for any other kind.
std::wstring FormatFileTime(const std::wstring& path, int kind);
// Date in the long date format followed directly by the time in the long time format, then
// " AM" or " PM" by the hour.
std::wstring FormatDateTimeText(const SYSTEMTIME& t);

// The three information lines of a file (size, modified, accessed).
std::wstring FileInformationText(const std::wstring& path);

// The file-name part of a path: everything after the last backslash, the whole string if none.
std::wstring FileNamePart(const std::wstring& path);

// "宋体" 9 pt in the GB2312 character set, or "MS Sans Serif" 8 pt where that face is absent.
HFONT PromptFont();
bool FaceInstalled(const wchar_t* face);

// A prompt window described by a table of controls, shown modally on the calling thread.
class PromptWindow {
public:
    enum class Kind { Label, Panel, IconBox, Image, Button, Option, TextBox };
    struct Design {
        int id;
        Kind kind;
        const wchar_t* text;
        int parent;  // 0: the window itself, else the id of a panel
        int x, y, w, h;  // w and h are ignored for labels, which size to their text
        int ruleY = -1;  // panels: y of the etched rule drawn across, -1 for none
    };

    PromptWindow(const wchar_t* caption, int clientW, int clientH, std::vector<Design> design);
    virtual ~PromptWindow();
    PromptWindow(const PromptWindow&) = delete;
    PromptWindow& operator=(const PromptWindow&) = delete;

    // Creates the window with its design texts, lets Fill() put in the file data, centres it
    // on the screen and runs a modal loop until the window is gone.
    // False when the window could not be created: nothing was shown, nothing was chosen.
    bool ShowModal();

    HWND hwnd() const { return hwnd_; }
    RECT Bounds(int id) const;  // position in its parent's client area
    void Move(int id, int x, int y, int w, int h);
    void SetOuterHeight(int height);

protected:
    HWND Control(int id) const;
    void SetText(int id, const std::wstring& text);
    std::wstring Text(int id) const;
    // Sets a label's text and sizes the label to it, lines included.
    void SetLabel(int id, const std::wstring& text);
    void Unload();
    int OuterWidth() const;
    void SetOuterWidth(int width);
    int ClientWidth() const;

    // Icons and information lines of the source and of the target, in that order.
    void FillFiles(const std::wstring& sur, const std::wstring& dec);
    // The wrapped name labels, the layout pass and the width rule of the prompts with names;
    // `bottomRule` sets the outer height in between.
    void FillNamesAndLayout(const std::wstring& sur, const std::wstring& dec, int gap, int lowerPanel,
                            void (*bottomRule)(PromptWindow&));
    // Widens the window so the label ends 10 pixels inside the client area; never shrinks.
    void WidenFor(int labelId);
    // Shared layout of the two prompts with name labels (gap G, lower panel).
    void LayoutPass(int gap, int lowerPanel);
    // The work area of the owner's monitor, where the prompt is shown.
    RECT WorkArea() const;
    // The widest the label may be for the widened window to stay within the work area.
    int MaxLabelWidth(int labelId) const;
    // Measures texts as the label draws them.
    TextWidth LabelTextWidth(int labelId) const;

    virtual void Fill() = 0;
    virtual void OnCommand(int id, int code) = 0;
    virtual HBRUSH OnCtlColor(HDC, HWND) { return nullptr; }

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT, WPARAM, LPARAM);
    bool Create(HWND owner);
    void SizeLabel(HWND label);

    const wchar_t* caption_;
    int clientW_, clientH_;
    std::vector<Design> design_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    bool ownerHeld_ = false;
};

// Takes the library's window classes away again; the library is being unloaded.
void UnregisterPromptClasses();

// What a prompt's Ask returns when its window could not be shown at all.
constexpr long kPromptNotShown = -0x10000;

// Control identifiers of the prompt windows, shared with the tests that drive them.
namespace ids {
enum : int {
    Image1 = 100, lblSur, lblSurFileName, picSurIcon, picSurIcon_32, lblSurFileInformation,
    lblDec, lblDecFileName, picDecIcon, picDecIcon_32, lblDecFileInformation,
    picStyle, picOperation, lblFileName, Label1, Label2, Label5, Label8,
    cmdYes, cmdNo, cmdAll, cmdCancel, cmbSure,
    optCoverFile, optAddFile, optMergeFile, optKillFile, optRenameFile, txtNewFileName,
};
}

}  // namespace dorvex
