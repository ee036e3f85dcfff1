// The main window as the other windows see it, for tests that run without the real one: a
// plain window that takes input, the preview fields, a count of title bar repaints and the
// appends to its list. Registered as the program's main window while it exists.
#pragma once
#include "services/Holders.h"
#include "services/MainWindow.h"
#include <vector>

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
    bool AddFileListItem(const std::wstring& path) override { return AddFileListItem(path, 0); }
    bool AddFileListItem(const std::wstring& path, uint64_t size) override {
        added.push_back({path, size, redrawHolds});
        return true;
    }
    void ReplaceFileListItem(int, const std::wstring&) override {}
    int FileListCount() const override { return 0; }
    std::wstring FileListItem(int) const override { return L""; }
    uint64_t FileListBytes() const override { return 0; }
    void HoldFileListRedraw(bool hold) override { redrawHolds += hold ? 1 : -1; }
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
    // Every append, with the redraw holds in force at the time.
    struct Added {
        std::wstring path;
        uint64_t size;
        int holds;
    };
    std::vector<Added> added;
    int redrawHolds = 0;

private:
    salva::unique_hwnd window_;
};

}  // namespace testsupport
