// What the program's other windows reach of its main window: the file list, the reset, the
// title bar and the preview state. The main window registers itself while it exists, so the
// search, preview, rename and inspection windows find it without depending on its module.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

struct IPicture;

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
    // Appends one item (a full path, no image) to the file list with the file's length as it
    // is now; false when the list refused it.
    virtual bool AddFileListItem(const std::wstring& path) = 0;
    // The same with the length already known (from the file's find record).
    virtual bool AddFileListItem(const std::wstring& path, uint64_t size) = 0;
    // Item `index` (0-based) names `path` from now on, at the same place; its length is taken again.
    virtual void ReplaceFileListItem(int index, const std::wstring& path) = 0;
    virtual int FileListCount() const = 0;
    // The text of item `index` (0-based), "" outside the list.
    virtual std::wstring FileListItem(int index) const = 0;
    // The listed files' lengths added up, each as taken when its item was added or last
    // measured again; a file that could not be measured counts nothing.
    virtual uint64_t FileListBytes() const = 0;
    // While held (holds nest), the list is not redrawn; the last release redraws it once.
    virtual void HoldFileListRedraw(bool hold) = 0;
    virtual std::wstring FileListText() const = 0;
    virtual void SetFileListText(const std::wstring& text) = 0;
    // Empties the file list and puts the display back to its start state.
    virtual void RefreshWindow() = 0;
    // Repaints the drawn title bar from the current state.
    virtual void picHTitleBar_Paint() = 0;
    // Opens the file menu (kind 0) or the CD menu (kind 1) at the pointer; returns when it closed.
    virtual void ShowPopupMenu(short kind) = 0;
    // The target path box.
    virtual void SetTargetText(const std::wstring& text) = 0;

    // The file-list information panel. The current file's facts: panel 1 of the status bar
    // with size, type and attributes, and of the one with the times.
    virtual void SetFileInfoTexts(const std::wstring& sizeTypeAttributes, const std::wstring& times) = 0;
    // The count and total size line of the whole list.
    virtual void SetFilesInfoText(const std::wstring& text) = 0;
    // The current file's small pictures: with `picture`, the image holder and the first status
    // picture show it unscaled from their top-left corner; without, the holder is empty and
    // the first status picture shows the file's small shell icon. The second status picture
    // always shows the shell icon.
    virtual void ShowItemPictures(const std::wstring& path, IPicture* picture) = 0;

protected:
    MainWindow() = default;
    ~MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
};

// Holds the list's redrawing for a run of appends.
class file_list_batch_scope {
public:
    explicit file_list_batch_scope(MainWindow& main) : main_(main) { main_.HoldFileListRedraw(true); }
    ~file_list_batch_scope() { main_.HoldFileListRedraw(false); }
    file_list_batch_scope(const file_list_batch_scope&) = delete;
    file_list_batch_scope& operator=(const file_list_batch_scope&) = delete;

private:
    MainWindow& main_;
};

// The program's one main window; null while none exists.
MainWindow* TheMainWindow();
// Called by the main window when it comes and goes; a window that is not the registered one
// leaves the registration alone when it goes.
void RegisterMainWindow(MainWindow* window);
void UnregisterMainWindow(MainWindow* window);

}  // namespace salva
