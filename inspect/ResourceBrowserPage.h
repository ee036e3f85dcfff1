// The resource browser page of the properties window: the tree of an executable's resources,
// the text box and the preview panel that show the clicked resource, and Open, Save and Exit.
#pragma once
#include "inspect/ResourcePanel.h"
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/PictureBox.h"
#include "services/WindowSubclass.h"
#include <commctrl.h>
#include <functional>
#include <memory>
#include <string>

namespace salva {

class ResourceBrowserPage : public BaseWindow<ResourceBrowserPage> {
public:
    enum ControlId {
        kTreeView1 = 1001,
        kText1,
        kPicEXE_DLL,
        kPicInfor,
        kCmdOpen,
        kCmdSave,
        kCmdExit,
        kPicIcon_16B,
        kTxtShortFileNameB,
    };
    // (title, filter with NUL separators) -> chosen path or "" (the shared dialogs by default).
    using AskFile = std::function<std::wstring(const std::wstring&, const std::wstring&)>;

    static const wchar_t* ClassName() { return L"SalvadiskResourcePage"; }
    ResourceBrowserPage();
    ~ResourceBrowserPage() override;

    bool Create(HWND parent, int x, int y, int width, int height);
    // The page as the summary fills it for an executable or library.
    void ShowFile(const std::wstring& path);
    // Exit closes the window that holds the page.
    void SetExitHandler(std::function<void()> onExit) { onExit_ = std::move(onExit); }
    void SetFileAskers(AskFile open, AskFile save);

    HWND Tree() const { return tree_; }
    HWND TextBox() const { return text1_; }
    ResourcePanel& Panel() { return *panel_; }
    const std::wstring& CurrentResourceType() const { return currentType_; }
    const std::wstring& CurrentResourceName() const { return currentName_; }

    void cmdOpen_Click();
    void cmdSave_Click();
    void TreeView1_Expand(HTREEITEM node);
    void TreeView1_Collapse(HTREEITEM node);
    void TreeView1_NodeClick(HTREEITEM node);
    void StopResourcePreview();
    void StopResourcePreviewKeep();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnCreate();
    LRESULT OnNotify(NMHDR* hdr);
    void SetTextVisible(bool textShown);
    void ShowIcon(const std::wstring& path);
    bool SavePicture(IPicture* picture, const std::wstring& path);

    HWND tree_ = nullptr;
    HWND text1_ = nullptr;
    HWND nameBox_ = nullptr;
    PictureBox container_;  // PicEXE_DLL: holds the panel, clips what is larger than the page
    PictureBox picInfor_;
    PictureBox icon16_;
    std::unique_ptr<ResourcePanel> panel_;
    unique_himagelist images_;
    WindowSubclass treeSubclass_;
    HTREEITEM pressedSelection_ = nullptr;  // while a press on the selected node is handled
    std::wstring currentType_;
    std::wstring currentName_;
    std::function<void()> onExit_;
    AskFile askOpen_;
    AskFile askSave_;
};

// Writes exactly the bytes (or the text's ANSI bytes) to the file, replacing it. False when the
// file cannot be written.
bool SaveBytesToFile(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool SaveTextToFile(const std::wstring& path, const std::wstring& text);

}  // namespace salva
