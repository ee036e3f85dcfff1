// The main window as the other windows see it, for tests that run without the real one: a
// plain window that takes input, the preview fields, and a count of title bar repaints.
// Registered as the program's main window while it exists.
#pragma once
#include "services/Holders.h"
#include "services/MainWindow.h"

namespace testsupport {

class FakeMainWindow : public salva::MainWindow {
public:
    FakeMainWindow() {
        window_.reset(::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                        nullptr));
        salva::RegisterMainWindow(this);
    }
    ~FakeMainWindow() { salva::UnregisterMainWindow(this); }
    HWND Handle() const override { return window_.get(); }
    HWND FileListCombo() const override { return nullptr; }
    void AddFileListItem(const std::wstring&) override {}
    int FileListCount() const override { return 0; }
    std::wstring FileListItem(int) const override { return L""; }
    std::wstring FileListText() const override { return L""; }
    void SetFileListText(const std::wstring&) override {}
    void RefreshWindow() override {}
    void picHTitleBar_Paint() override { ++titleBarPaints; }
    void ShowPopupMenu(short) override {}
    void SetTargetText(const std::wstring&) override {}
    void SetFileInfoTexts(const std::wstring&, const std::wstring&) override {}
    void SetFilesInfoText(const std::wstring&) override {}
    void ShowItemPictures(const std::wstring&, IPicture*) override {}

    int titleBarPaints = 0;

private:
    salva::unique_hwnd window_;
};

}  // namespace testsupport
