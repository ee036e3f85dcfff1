// The existing-target prompt: the target exists without a resume record.
#pragma once
#include "PromptFrame.h"

namespace dorvex {

class SwitchDialogA final : public PromptWindow {
public:
    SwitchDialogA(std::wstring sur, std::wstring dec);
    // 1 overwrite, 2 append, 3 merge, 4 delete the existing file, 5 rename, 0 no choice.
    static long Ask(const std::wstring& sur, const std::wstring& dec);

private:
    void Fill() override;
    void OnCommand(int id, int code) override;
    HBRUSH OnCtlColor(HDC dc, HWND control) override;
    void EnableNewName(bool enable);
    void Sure();
    std::wstring sur_, dec_;
    salva::unique_hbrush white_{::CreateSolidBrush(RGB(255, 255, 255))};
};

// True when `name` can stand as a file name in the target's folder: not empty, no path,
// wildcard or control characters, not "." or "..", not ending in a dot or blank, and no device
// name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9), with or without an extension.
bool IsPlainFileName(const std::wstring& name);

}  // namespace dorvex
