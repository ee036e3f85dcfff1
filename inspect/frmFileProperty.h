// The program's own properties window for one file: the General page (names, type, size,
// times, attributes), the Summary tab's pages (supplied through SummaryPage) and the drive
// page (label, type, file system, space and the space pie). Apply writes the changeable
// attributes and an edited volume label; an attribute write that fails is told.
#pragma once
#include "inspect/SummaryPage.h"
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/PictureBox.h"
#include "services/WindowSubclass.h"
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace salva {

class frmFileProperty : public BaseWindow<frmFileProperty> {
public:
    enum ControlId {
        IDC_TABSTRIP1 = 101,
        IDC_PIC_NORMAL,
        IDC_PIC_DOCKET,  // the Summary tab's page when no supplied page shows for the file
        IDC_PIC_DRIVEPROP,
        IDC_CMDSURE,
        IDC_CMDCANCEL,
        IDC_CMDAPPLY,
        // General page
        IDC_PICICON_32,
        IDC_TXTFULLFILENAME,
        IDC_LBLFILETYPE,
        IDC_TXTFILEPOSITION,
        IDC_LBLFILELENGTH,
        IDC_LBLFILECREATED,
        IDC_LBLFILEMODIFIED,
        IDC_LBLFILEACCESSED,
        IDC_CHKREADONLY,
        IDC_CHKHIDE,
        IDC_CHKSYSTEM,
        IDC_CHKDOCUMENT,
        // Drive page
        IDC_PICDISKICON,
        IDC_TXTVOLUMENAME,
        IDC_LBLDISKTYPE,
        IDC_LBLFILESYSTEM,
        IDC_PICUSESPACE,
        IDC_LBLSPACEUSED,
        IDC_LBLSPACEUSEDA,
        IDC_PICAVAILSPACE,
        IDC_LBLAVAILABLESPACE,
        IDC_LBLAVAILABLESPACEA,
        IDC_LBLTOTALSPACE,
        IDC_LBLTOTALSPACEA,
        IDC_LBLDRIVENAME,
        // The caption labels Label1(0) to Label1(12).
        IDC_LABEL1 = 200,
    };
    // Where the space pie goes on the drive page, in pixels, and its depth.
    static constexpr RECT kPieRect{100, 180, 226, 228};
    static constexpr int16_t kPieDepth = 7;

    frmFileProperty() = default;
    ~frmFileProperty() override;
    static const wchar_t* ClassName() { return L"SalvadiskFrmFileProperty"; }

    // The road of the main window's properties command: the arrow with hourglass while the
    // window is filled for the file, then the window shown modally until it closes. False
    // (nothing shown) while another fill is running or when the window cannot be made.
    static bool ShowFor(const std::wstring& path);
    // True while some properties window is being filled; the main window's commands wait.
    static bool Filling();

    // Loads the window (hidden) when it is not loaded and fills every page for the file.
    // Refused (False, nothing done) while a fill is running.
    bool GetInfor(const std::wstring& path);
    // Shows the loaded window modally until it closes (and so unloads).
    void ShowModal();
    // Closes the window; the pages free what they loaded.
    void Unload();
    bool IsLoaded() const { return hwnd_ != nullptr; }

    const std::wstring& CurrentFileName() const { return currentFileName_; }
    const std::wstring& CurrentDriveRoot() const { return currentDriveRoot_; }
    // A control of the window or of one of its own pages, null when there is none.
    HWND Control(int id) const;
    // The drive page's picture with the pie.
    PictureBox& DrivePage() { return pages_[kDrivePage]; }
    // The supplied Summary pages of this opening, in their registration order.
    const std::vector<std::unique_ptr<SummaryPage>>& SummaryPages() const { return summaryPages_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnFinalDestroy() override;

private:
    enum PageIndex { kGeneralPage = 0, kDocketPage = 1, kDrivePage = 2 };

    bool Load();
    void Form_Load();
    void CreateGeneralPage();
    void CreateDrivePage();
    HWND MakeControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int xTw, int yTw,
                     int wTw, int hTw, DWORD exStyle = 0);
    void ShowGeneralInfo(const std::wstring& path);
    void ShowSummaryInfo(const std::wstring& path);
    void ShowDriveInfo(const std::wstring& fileName);
    // Sets the boxes from an attribute value (-1: none can be read).
    void ShowAttributeBoxes(int32_t attributes);
    // Writes the boxes' attributes; when the file's attributes cannot be read or written, tells
    // the user why, shows what the file really has and returns false.
    bool ApplyFileAttributes(const std::wstring& path);
    void TabStrip1_Click();
    void cmdApply_Click();
    bool txtVolumeName_KeyPress(wchar_t key);
    void EnableApply();
    void SetText(int id, const std::wstring& text);

    std::wstring currentFileName_;
    std::wstring currentDriveRoot_;
    // The label the drive page showed; Apply writes the box's text only when it differs.
    std::wstring shownVolumeLabel_;
    std::array<PictureBox, 3> pages_;
    PictureBox icon32_;
    PictureBox diskIcon_;
    std::vector<std::unique_ptr<SummaryPage>> summaryPages_;
    std::vector<HWND> summaryWindows_;  // each supplied page's window, null when not made
    std::unordered_map<int, HWND> controls_;
    std::array<WindowSubclass, 3> boxSubclasses_;
    WindowSubclass volumeSubclass_;
    unique_hbrush usedKey_;
    unique_hbrush freeKey_;
    bool unloaded_ = false;
    bool fillingPages_ = false;  // the Summary pages are being filled
};

}  // namespace salva
