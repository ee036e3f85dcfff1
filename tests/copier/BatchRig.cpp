#include "BatchRig.h"
#include <shlobj.h>

namespace copytest {

BatchRig::BatchRig(HWND owner) : out(dir / L"out") {
    ::CreateDirectoryW(out.c_str(), nullptr);
    ::CreateDirectoryW((dir / L"src").c_str(), nullptr);
    folderAnswer = out;
    // A fixed disk of the NT family: 61,440 bytes per read.
    env.driveType = DRIVE_FIXED;
    env.platform = 2;
    salva::frmCopyAllFiles::Options o;
    o.owner = owner;
    o.listedFiles = [this] { return listed; };
    o.chooseFolder = [this](HWND, bool* same) {
        ++folderAsks;
        *same = sameFolder;
        return folderAnswer;
    };
    o.log = [this](const std::wstring& entry) { log.push_back(entry); };
    o.message = [this](HWND, const std::wstring& text, const std::wstring& title, unsigned style) {
        shown.push_back({text, title, style});
        if (onMessage) onMessage();
        if (answers.empty()) return (style & 0xF) == MB_YESNO ? IDNO : IDOK;
        const int a = answers.front();
        answers.pop_front();
        return a;
    };
    o.environment = &env;
    o.prompts = &prompts;
    o.reader = &reader;
    o.writer = &writer;
    batch = std::make_unique<salva::frmCopyAllFiles>(std::move(o));
}

std::wstring BatchRig::AddSource(const std::wstring& relative, size_t size, uint32_t seed) {
    const std::wstring path = dir / (L"src\\" + relative);
    const size_t slash = path.find_last_of(L'\\');
    ::SHCreateDirectoryExW(nullptr, path.substr(0, slash).c_str(), nullptr);
    EXPECT_TRUE(testsupport::WriteBytes(path, testsupport::Pattern(size, seed)));
    listed.push_back(path);
    return path;
}

std::string BatchRig::LogText() const {
    std::wstring all;
    for (auto& l : log) all += l + L"\n";
    return testsupport::Narrow(all);
}

}  // namespace copytest
