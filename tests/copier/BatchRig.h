// The batch copy window with the copy engine's fakes: listed files, the folder answer, message
// box answers and the log under the test's control, real files in a fresh temporary folder.
#pragma once
#include "CopyFakes.h"
#include "copier/frmCopyAllFiles.h"
#include <memory>

namespace copytest {

// A reader that lets the test act (click Cancel, tick the timer) before chosen reads.
class HookedReader : public FaultyReader {
public:
    DWORD ReadAt(int64_t offset, uint8_t* buffer, uint32_t size, uint32_t* got) override {
        ++count;
        if (onRead) onRead(count, offset);
        return FaultyReader::ReadAt(offset, buffer, size, got);
    }
    int count = 0;
    std::function<void(int count, int64_t offset)> onRead;
};

struct BatchRig {
    // `owner`: the window the batch window belongs to, none when null.
    explicit BatchRig(HWND owner = nullptr);

    // Writes a source file of `size` pattern bytes below the rig's source folder and lists it.
    std::wstring AddSource(const std::wstring& relative, size_t size, uint32_t seed);
    void Run() { batch->CopyingFiles(); }
    std::wstring Target(const std::wstring& name) const { return out + L"\\" + name; }
    HWND Control(int id) const { return batch->Control(id); }
    std::wstring Text(int id) const { return testsupport::WindowText(Control(id)); }
    void ClickCancel() const { ::SendMessageW(Control(salva::frmCopyAllFiles::IDC_cmdCancel), BM_CLICK, 0, 0); }
    std::string LogText() const;

    FakeEnv env;
    FakePrompts prompts;
    HookedReader reader;
    FaultyWriter writer;
    testsupport::TempDir dir;
    std::wstring out;
    std::vector<std::wstring> listed;
    std::wstring folderAnswer;
    bool sameFolder = true;
    int folderAsks = 0;
    std::vector<Shown> shown;
    std::function<void()> onMessage;  // called as each message box opens
    std::deque<int> answers;
    std::vector<std::wstring> log;
    std::unique_ptr<salva::frmCopyAllFiles> batch;
};

}  // namespace copytest
