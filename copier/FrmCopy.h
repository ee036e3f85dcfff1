// The program's main window: a borderless window with drawn title and side bars, the file
// list, the target box, the copy buttons, the copy statistics and the settings panel. It hosts
// the copy engine: the engine's loops run inside the Start and Continue clicks and reach the
// window's controls through the CopyHost members.
#pragma once
#include "copier/BlockPacer.h"
#include "copier/CopyEngine.h"
#include "copier/CopyEnvironment.h"
#include "copier/BlockReader.h"
#include "copier/BlockWriter.h"
#include "copier/DorvexCopyPrompts.h"
#include "services/CDRomDriveControl.h"
#include "services/PictureBox.h"
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/MainWindow.h"
#include "services/ToolTips.h"
#include "services/WindowSubclass.h"
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The popup-menu library's interface (Velmora.h).
struct _cVelmora;

namespace salva {

class frmSystem;
class FileDropTarget;

class FrmCopy : public BaseWindow<FrmCopy>, public CopyHost, public MainWindow {
public:
    enum ControlId : int {
        IDC_picHTitleBar = 100,
        IDC_picVTitleBar,
        IDC_cmbFileCopy,
        IDC_txtFileCopy,
        IDC_cmdSourceFile,
        IDC_cmdDestinationPath,
        IDC_cmdStartCopy,
        IDC_cmdPauseCopy,
        IDC_cmdCancelCopy,
        IDC_cmdBackCopy,
        IDC_optOpenCD,
        IDC_optCloseCD,
        IDC_picRefresh,
        IDC_picSearch,
        IDC_picSetUp,
        IDC_picWatch,
        IDC_PicProgressBar,
        IDC_PicSmallIcon_16,
        IDC_PicSmallIcon_16A,
        IDC_PicSmallIcon_16B,
        IDC_Image1_4,
        IDC_Picture1,
        IDC_Picture2,
        IDC_stbFileInfoShowsArea_A,
        IDC_stbFileInfoShowsArea_B,
        IDC_sldReadBlocks,
        IDC_sldSkipBlocks,
        IDC_lblFilesInfo,
        IDC_lblYiFuZhiTitle,
        IDC_lblYiFuZhi,
        IDC_lblGuJiXiaoHaoTitle,
        IDC_lblGuJiXiaoHao,
        IDC_lblZongJiHaoShiTitle,
        IDC_lblZongJiHaoShi,
        IDC_lblShengYuShiJianTitle,
        IDC_lblShengYuShiJian,
        IDC_lblShuJuLiuLiangTitle,
        IDC_lblShuJuLiuLiang,
        IDC_lblBlock1Title,
        IDC_lblBlock1,
        IDC_lblBlock2Title,
        IDC_lblBlock2,
        IDC_Last
    };

    // The file menu's items: 200 + the item's place in the menu, counted from 1.
    enum FileMenuId : int {
        IDM_mnuOpenFile = 201,
        IDM_mnuPreview = 202,
        IDM_mnuAddFileToListItem = 204,
        IDM_mnuClearSelectedItem = 205,
        IDM_mnuClearAllListItem = 206,
        IDM_mnuDelSeletedItem = 208,
        IDM_mnuReName = 209,
        IDM_mnuCopyTo = 211,
        IDM_mnuMoveTo = 212,
        IDM_mnuFindFile = 214,
        IDM_mnuFileroperty = 215,
        IDM_mnuCopyAllFilesTo = 217,
        IDM_mnuExit = 219,
        IDM_mnuAboutMe = 220,
    };

    // A folder whose matching files are added to the list; an empty folder is a cancel.
    struct FolderSearch {
        std::wstring folder;
        std::wstring pattern;
        bool subFolders = false;
    };

    // The windows of their own that commands of the file menu open. A command whose member is
    // empty stays greyed in the menu.
    struct CommandWindows {
        // frmDialog, the rename popup of the current file, shown modally.
        std::function<void()> rename;
        // frmFileProperty: GetInfor with the path, then shown modally; false when it could not
        // show the file (the shell's sheet comes instead).
        std::function<bool(const std::wstring& path)> fileProperty;
        // frmSplash, the about box, modal with no owner.
        std::function<void()> about;
        // frmCopyAllFiles.CopyingFiles, with the main window disabled meanwhile.
        std::function<void()> copyAllFiles;
        // The folder picker with the search options: "选择待添加的文件目录".
        std::function<FolderSearch()> chooseFolderToAdd;
        // frmPrevVideo.OpenMediaFile: true when the preview window took the file.
        std::function<bool(const std::wstring& path)> openPreview;
    };

    // What start-up and shutdown reach outside the window. Left empty, each takes the
    // program's own: registration of the program folder's servers, a cVelmora object created
    // by class identifier, the program's log window, and no preview window.
    struct Options {
        std::function<void()> registerServers;
        std::function<com_ptr<_cVelmora>()> createPopupMenus;
        frmSystem* logWindow = nullptr;
        // The preview window's StartPlay, StopPlay and unload.
        std::function<void()> startPreview;
        std::function<void()> stopPreview;
        std::function<void()> unloadPreview;
        // The search window's pattern history file.
        std::wstring searchHistoryFile;
        // Ends the message loop when the window is gone (the program's main window).
        bool quitOnDestroy = false;
        CommandWindows windows;
        // Left empty: the system's MCI commands and CD drives, its version name and the
        // shell's property sheet.
        CDRomDriveControl::MciSender cdSender;
        CDRomDriveControl::DriveLister cdDrives;
        std::function<std::wstring()> osVersionName;
        std::function<void(const std::wstring& path)> shellProperties;
    };

    FrmCopy();
    explicit FrmCopy(Options options);
    ~FrmCopy() override;

    static const wchar_t* ClassName() { return L"SalvadiskFrmCopy"; }
    // Creates the window, runs its load and shows it with `showCommand`.
    bool Create(int showCommand);

    // MainWindow: the preview fields PreviewLoaded, PreviewPlaying and PreviewOn come from there.
    HWND Handle() const override { return hwnd_; }
    HWND FileListCombo() const override { return Control(IDC_cmbFileCopy); }
    // Repaints the whole title bar from the current state.
    void picHTitleBar_Paint() override;
    // Empties the file list and puts the display back to its start state.
    void RefreshWindow() override;

    HWND Control(int id) const;

    // Opens the file menu (kind 0) or the CD menu (kind 1) at the pointer, each in its own
    // look; returns when the menu has closed. Any other kind does nothing.
    void ShowPopupMenu(short kind) override;
    HMENU FileMenu() const { return mnuFile_.get(); }
    // The drop target registered for the window.
    IDropTarget* DropTarget() const;
    // The window and the controls that take drops hand them to the file list's handlers.
    bool AcceptsDropAt(POINT screen) const;
    // Only a file list may be dropped, as a copy.
    void cmbFileCopy_OLEDragOver(IDataObject* data, DWORD& effect);
    void cmbFileCopy_OLEDragDrop(IDataObject* data, DWORD& effect);
    CopyEngine& Engine() { return *engine_; }
    _cVelmora* PopupMenus() const { return popupMenus_.get(); }
    COLORREF ProgressColor() const { return progressColor_; }
    PictureBox& TitleBar() { return bars_[0]; }
    PictureBox& SideBar() { return bars_[1]; }
    PictureBox& ProgressBar() { return bars_[2]; }
    // Text of the file list's edit field.
    std::wstring FileListText() const override;
    void SetFileListText(const std::wstring& text) override;
    // The file list's items, kept beside the control (FrmCopyFileList.cpp).
    bool AddFileListItem(const std::wstring& path) override;
    bool AddFileListItem(const std::wstring& path, uint64_t size) override;
    void ReplaceFileListItem(int index, const std::wstring& path) override;
    int FileListCount() const override;
    std::wstring FileListItem(int index) const override;
    uint64_t FileListBytes() const override;
    void HoldFileListRedraw(bool hold) override;
    void SetTargetText(const std::wstring& text) override;
    // The list information panel.
    void SetFileInfoTexts(const std::wstring& sizeTypeAttributes, const std::wstring& times) override;
    void SetFilesInfoText(const std::wstring& text) override;
    void ShowItemPictures(const std::wstring& path, IPicture* picture) override;
    // The normal or hover picture of a picture button (IDC_picRefresh ... IDC_picWatch).
    HICON ButtonPicture(int id, bool hover) const;
    // The answer to the last close question (IDYES, IDNO), 0 before any.
    int PromptResult() const { return promptResult_; }

    // CopyHost
    void SetLabel(CopyLabel label, const std::wstring& text) override;
    void EnableControl(CopyControl control, bool enabled) override;
    void SetPauseCaption(const std::wstring& caption) override;
    void ClearProgress() override;
    void DrawProgress(double fraction, const std::wstring& percentText) override;
    void EnableTimer(bool on) override;
    int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned style) override;
    void PumpMessages() override;
    void AppendLog(const std::wstring& entry) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls();
    void Form_Load();
    bool Form_QueryUnload();
    void Form_Unload();
    void ConfigurePopupMenus();
    void CreateToolTips();
    void PaintFrames();
    void picVTitleBar_Paint();
    void PaintTitleBarButtons(bool testList);
    void PaintTitleBarIconAndCaption();
    void TitleBarMouse(UINT msg, WPARAM wp, int x, int y);
    void SendToTray();
    void StopPreview();
    // The operation log window: loaded hidden at start, told to close for real once the close
    // is accepted, unloaded last.
    void LoadLogWindow();
    void ReleaseLogWindow();
    void UnloadLogWindow();
    frmSystem& LogWindow();
    void OnCommand(int id, int code);
    // Clicks the shown, enabled button whose caption has `key` as its Alt key.
    bool ClickButtonOfAltKey(wchar_t key);

    // The popup menus and their commands (FrmCopyMenus.cpp).
    void CreateFileMenu();
    void SetPopupMenuLook(short kind);
    CDRomDriveControl DoorControl() const;
    void mnuOpenFile_Click();
    void mnuFindFile_Click();
    void mnuFileroperty_Click();
    void mnuAboutMe_Click();
    void SetUpDoorButtons();
    LRESULT DoorButtonMessage(WindowSubclass& subclass, HWND button, UINT msg, WPARAM wp, LPARAM lp);
    void optOpenCD_Click();
    void optCloseCD_Click();

    // The file list and its commands (FrmCopyFileList.cpp).
    void SetUpFileList();
    void TearDownFileList();
    bool OnFileListCommand(int id, int code);
    bool OnFileMenuCommand(int id);
    void cmbFileCopy_Change();
    void cmbFileCopy_Click();
    bool cmbFileCopy_KeyDown(WPARAM key);
    void UpdateListMenus();
    void PrepareMediaFile(const std::wstring& path);
    void RemoveCurrentListItem();
    bool RemoveFileListItem(int index);
    // The items at these places (ascending), in one pass.
    void RemoveFileListItems(const std::vector<size_t>& ascending);
    // The box naming the dropped files that were not listed, once the drop has returned.
    static constexpr UINT kTellDropRefusals = WM_APP + 1;
    void TellDropRefusals();
    void ClearFileListItems();
    // Every listed file's length taken again.
    void MeasureListedFiles();
    bool CurrentFileExists() const;
    // A copy is running or paused: its file must stay where it is.
    bool CopyInHand() const;
    void mnuAddFileToListItem_Click();
    void mnuClearAllListItem_Click();
    void mnuClearSelectedItem_Click();
    void mnuCopyAllFilesTo_Click();
    void mnuCopyTo_Click();
    void mnuMoveTo_Click();
    void mnuDelSeletedItem_Click();
    void mnuReName_Click();
    void mnuPreview_Click();
    void mnuExit_Click();
    // Runs an engine call that may hold a copy loop; a close accepted meanwhile is carried
    // out once the loop has returned.
    template <typename F>
    void RunEngine(F&& call);
    HWND CreateChild(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                     HWND parent = nullptr);
    HWND Label(int id, const wchar_t* text, HWND parent, int x, int y, int w, int h);
    // Blank copy figures, status texts and pictures, the list left as it is.
    void ClearFileInfoDisplay();

    // The picture buttons, the settings panel and the file buttons (FrmCopyButtons.cpp).
    void SetUpPictureButtons();
    void PictureButtonMouse(size_t index, UINT msg, int x, int y);
    void PictureButton_MouseDown(size_t index);
    void PictureButton_MouseUp(size_t index);
    void picRefresh_Steps();
    void ShowSearchWindow();
    void cmdBackCopy_Click();
    void cmdSourceFile_Click();
    void cmdDestinationPath_Click();
    void txtFileCopy_MouseMove();

    Options options_;
    Win32CopyEnvironment env_;
    DorvexCopyPrompts prompts_;
    Win32BlockReader reader_;
    Win32BlockWriter writer_;
    std::unique_ptr<CopyEngine> engine_;

    std::array<HWND, IDC_Last - IDC_picHTitleBar> controls_{};
    // picHTitleBar, picVTitleBar, PicProgressBar
    std::array<PictureBox, 3> bars_;
    // picRefresh, picSearch, picSetUp, picWatch
    std::array<PictureBox, 4> buttons_;
    // PicSmallIcon_16, PicSmallIcon_16A, PicSmallIcon_16B, Image1(4), Picture1, Picture2
    std::array<PictureBox, 6> boxes_;

    com_ptr<_cVelmora> popupMenus_;
    unique_hmenu mnuFile_;
    ole_init_scope ole_;
    FileDropTarget* dropTarget_ = nullptr;  // one reference, released at unload
    WindowSubclass openDoorSubclass_, closeDoorSubclass_;
    WindowSubclass fileListEditSubclass_;
    // What the list control holds, item for item, with each file's length: under Wine every
    // message to the image combo costs round trips to the server, so counts, texts and totals
    // are read here. Every change of the control's items goes through the list's members.
    struct ListedFile {
        std::wstring path;
        uint64_t size = 0;
    };
    std::vector<ListedFile> listed_;
    int listRedrawHolds_ = 0;
    // Refusals of drops not told yet.
    std::wstring dropRefusals_;
    bool settingListText_ = false;
    COLORREF progressColor_ = 0;
    unique_hicon icon_;
    unique_hicon smallIcon_;
    unique_hicon statusIconRoom_;
    std::array<unique_hicon, 13> image2_;
    unique_hicon playIcon_, stopIcon_, playGray_, stopGray_;
    std::array<unique_hicon, 8> image1_;  // normal and hover picture of each picture button
    unique_hfont boldFont_;
    unique_hfont captionFont_;
    unique_hfont smallIconFont_;
    std::unique_ptr<ToolTips> targetTip_;
    WindowSubclass targetBoxSubclass_;
    int promptResult_ = 0;
    // The quit question is up: a second close meanwhile asks nothing more.
    bool closeAsking_ = false;
    // The copy display changed since the last pump; performance-counter times of the last
    // pump call and of the last look for input; counter ticks per millisecond.
    bool displayChanged_ = false;
    BlockPacer pacer_;
    int engineDepth_ = 0;
    bool closePending_ = false;
    // The slider whose track ended with the mouse captured: the end that follows when it lets
    // the capture go is no release of its own.
    HWND endTrackEcho_ = nullptr;
    bool unloaded_ = false;
    // The batch copy runs: like a running copy, it refuses a close.
    bool batchRunning_ = false;
};

}  // namespace salva
