// The replace confirmation of the batch copy.
#pragma once
#include "PromptFrame.h"

namespace dorvex {

class SwitchDialogB final : public PromptWindow {
public:
    SwitchDialogB(std::wstring sur, std::wstring dec);
    // 1 yes, 2 yes to all, 3 no, -1 cancel, 0 closed without a choice.
    static long Ask(const std::wstring& sur, const std::wstring& dec);

private:
    void Fill() override;
    void OnCommand(int id, int code) override;
    std::wstring sur_, dec_;
};

}  // namespace dorvex
