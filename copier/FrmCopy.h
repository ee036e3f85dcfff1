// The program's main window: a borderless window with drawn title and side bars, the file
// list, the target box, the copy buttons, the copy statistics and the settings panel. It hosts
// the copy engine: the engine's loops run inside the Start and Continue clicks and reach the
// window's controls through the CopyHost members.
#pragma once
#include "copier/CopyEngine.h"
#include "copier/CopyEnvironment.h"
#include "copier/BlockReader.h"
#include "copier/BlockWriter.h"
#include "copier/DorvexCopyPrompts.h"
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

// The popup-menu library's interface (Velmora.h).
struct _cVelmora;

namespace salva {

class frmSystem;

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
        // Ends the message loop when the window is gone (the program's main window).
        bool quitOnDestroy = false;
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
    CopyEngine& Engine() { return *engine_; }
    _cVelmora* PopupMenus() const { return popupMenus_.get(); }
    COLORREF ProgressColor() const { return progressColor_; }
    PictureBox& TitleBar() { return bars_[0]; }
    PictureBox& SideBar() { return bars_[1]; }
    PictureBox& ProgressBar() { return bars_[2]; }
    // Text of the file list's edit field.
    std::wstring FileListText() const override;
    void SetFileListText(const std::wstring& text) override;
    // Appends an item to the file list.
    void AddFileListItem(const std::wstring& path) override;
    int FileListCount() const override;
    std::wstring FileListItem(int index) const override;
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
    COLORREF progressColor_ = 0;
    unique_hicon icon_;
    unique_hicon smallIcon_;
    std::array<unique_hicon, 13> image2_;
    unique_hicon playIcon_, stopIcon_, playGray_, stopGray_;
    std::array<unique_hicon, 8> image1_;  // normal and hover picture of each picture button
    unique_hfont boldFont_;
    unique_hfont captionFont_;
    unique_hfont smallIconFont_;
    std::unique_ptr<ToolTips> targetTip_;
    WindowSubclass targetBoxSubclass_;
    int promptResult_ = 0;
    int engineDepth_ = 0;
    bool closePending_ = false;
    bool unloaded_ = false;
};

}  // namespace salva
