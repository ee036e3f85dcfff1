// What the program's other windows reach of its main window: the file list, the reset, the
// title bar and the preview state. The main window registers itself while it exists, so the
// search, preview, rename and inspection windows find it without depending on its module.
#pragma once
#include <windows.h>
#include <string>

namespace salva {

class MainWindow {
public:
    // The preview window has a media file open; the preview plays; the preview option is ticked.
    bool PreviewLoaded = false;
    bool PreviewPlaying = false;
    bool PreviewOn = false;

    virtual HWND Handle() const = 0;
    // The image combo holding the file list.
    virtual HWND FileListCombo() const = 0;
    // Appends one item (a full path, no image) to the file list.
    virtual void AddFileListItem(const std::wstring& path) = 0;
    virtual std::wstring FileListText() const = 0;
    virtual void SetFileListText(const std::wstring& text) = 0;
    // Empties the file list and puts the display back to its start state.
    virtual void RefreshWindow() = 0;
    // Repaints the drawn title bar from the current state.
    virtual void picHTitleBar_Paint() = 0;

protected:
    MainWindow() = default;
    ~MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
};

// The program's one main window; null while none exists.
MainWindow* TheMainWindow();
// Called by the main window when it comes and goes; a window that is not the registered one
// leaves the registration alone when it goes.
void RegisterMainWindow(MainWindow* window);
void UnregisterMainWindow(MainWindow* window);

}  // namespace salva
