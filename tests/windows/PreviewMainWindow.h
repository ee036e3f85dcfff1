// A main window of the test's own for the preview window: the preview fields and a count of
// title bar repaints, the rest empty.
#pragma once
#include "services/MainWindow.h"

namespace mediatest {

class PreviewMainWindow : public salva::MainWindow {
public:
    PreviewMainWindow() { salva::RegisterMainWindow(this); }
    ~PreviewMainWindow() { salva::UnregisterMainWindow(this); }
    HWND Handle() const override { return nullptr; }
    HWND FileListCombo() const override { return nullptr; }
    void AddFileListItem(const std::wstring&) override {}
    int FileListCount() const override { return 0; }
    std::wstring FileListItem(int) const override { return {}; }
    std::wstring FileListText() const override { return {}; }
    void SetFileListText(const std::wstring&) override {}
    void RefreshWindow() override {}
    void picHTitleBar_Paint() override { ++titleBarPaints; }
    void SetTargetText(const std::wstring&) override {}
    void SetFileInfoTexts(const std::wstring&, const std::wstring&) override {}
    void SetFilesInfoText(const std::wstring&) override {}
    void ShowItemPictures(const std::wstring&, IPicture*) override {}

    int titleBarPaints = 0;
};

}  // namespace mediatest
