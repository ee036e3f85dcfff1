// CopyPrompts over the Dorvex library's classes, each created by class identifier right before
// its use and released right after. The caller's thread has COM initialised.
#pragma once
#include "copier/CopyPrompts.h"

namespace salva {

class DorvexCopyPrompts : public CopyPrompts {
public:
    long ReadResumeRecord(const std::wstring& target, int32_t* continueAt, int16_t* totalTime) override;
    bool WriteResumeRecord(const std::wstring& target, const ResumeValues& values) override;
    long AskOverwriteOrContinue(const std::wstring& source, const std::wstring& target) override;
    long AskExistingTarget(const std::wstring& source, const std::wstring& target, std::wstring* newName) override;
    long AskReplace(const std::wstring& source, const std::wstring& target) override;
};

}  // namespace salva
