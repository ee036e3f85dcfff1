// The overwrite-or-continue prompt: the target exists and carries a resume record.
#pragma once
#include "PromptFrame.h"

namespace dorvex {

class SwitchDialog final : public PromptWindow {
public:
    SwitchDialog(std::wstring sur, std::wstring dec);
    // 1 overwrite, 2 continue the rest, -1 cancel, 0 closed without a choice.
    static long Ask(const std::wstring& sur, const std::wstring& dec);

private:
    void Fill() override;
    void OnCommand(int id, int code) override;
    std::wstring sur_, dec_;
};

}  // namespace dorvex
