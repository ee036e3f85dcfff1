// One rectangular tool tip (bold title line and text) for one control, using the system's
// tool-tip control. Set the owner, the title and the text, then create the tip window.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

class ToolTips {
public:
    // Longest text and title handed to the tip window; longer ones are cut.
    static constexpr size_t kMaxText = 1023;
    static constexpr size_t kMaxTitle = 99;

    ToolTips() = default;
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;
    // The tip window is owned by its owner control: it stays after this object goes and is
    // destroyed together with the owner.
    ~ToolTips() = default;

    // Destroys this object's previous tip window, creates a new one for the owner and
    // registers the owner's client area as its one tool with the stored title and text.
    void CreateToolTipsWindow();
    void OwnerhWnd(HWND owner) { owner_ = owner; }
    // Stored, and shown at once when the tip window exists.
    void ToolTipsTitle(const std::wstring& title);
    void ToolTipsText(const std::wstring& text);

    HWND TipWindow() const { return tip_; }

private:
    TTTOOLINFOW ToolRecord();
    void SendTitle();

    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
    std::wstring title_;
    std::wstring text_;
    // The tip window holds a title that is not empty.
    bool titleSent_ = false;
};
