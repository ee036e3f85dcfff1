// The file search window: a pattern, a scope (drive root or folder), the size and attribute
// boxes; the search walks the folder tree and puts every file it accepts into the main
// window's file list, which it empties first. The pattern combo's list is the history of
// patterns searched for, read from a profile file when the window opens and stored when it
// closes.
#pragma once
#include "services/BaseWindow.h"
#include "services/Holders.h"
#include "services/WindowSubclass.h"
#include "services/mFindFiles.h"
#include "windows/FileSearchRules.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace salva {

class frmSearchFile : public BaseWindow<frmSearchFile>, private mFindFiles::FolderVisitor {
public:
    enum ControlId {
        IDC_lblTitle = 101,
        IDC_lblTitle1,
        IDC_cmbFileSearchChoose,
        IDC_lblTitle2,
        IDC_cmbFileSearchWide,
        IDC_cmdFileBrower,
        IDC_chkSubFolder,
        IDC_chkSearchFileSize_1,
        IDC_chkSearchFileSize_2,
        IDC_chkSearchFileSize_3,
        IDC_chkReadOnlyFile,
        IDC_chkHideFile,
        IDC_chkSystemFile,
        IDC_chkArchiveFile,
        IDC_chkCompressFile,
        IDC_cmdFileSearch,
        IDC_cmdFileStopSearch,
        IDC_cmdExit,
        IDC_lblFilePath,
        IDC_PicShow,
        IDC_Line1,
        IDC_Line2,
    };

    frmSearchFile();
    ~frmSearchFile() override;
    static const wchar_t* ClassName() { return L"SalvadiskFrmSearchFile"; }

    // Creates the window hidden, owned by `owner`, and runs its opening: fonts, tips, the
    // drive list and the stored patterns. True when the window is loaded.
    bool Load(HWND owner);
    // Loads the window and shows it modally over its owner until it closes.
    void ShowModal(HWND owner);
    HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }

    // The profile-string functions: a value of `key` read through a 255-character buffer ("" when
    // nothing is read), and a value written (True on success).
    std::wstring ReadINIfile(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                             const std::wstring& defaultValue) const;
    bool WriteINIfile(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) const;

    // Where the pattern history lives: "Salvadisksearch.ini" in the system folder unless set
    // otherwise before Load.
    void SetHistoryFilePath(const std::wstring& path) { historyFile_ = path; }
    const std::wstring& HistoryFilePath() const { return historyFile_; }
    static std::wstring DefaultHistoryFilePath();

    // True from the start of a search until it has finished, also after Stop.
    bool IsSearching() const { return isSearching_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateControls();
    void Form_Load();
    void Form_Paint();
    bool Form_QueryUnload();
    void Form_Unload();
    void OnCommand(int id, int code);
    void cmdFileSearch_Click();
    void cmdFileStopSearch_Click();
    void cmdFileBrower_Click();
    void cmdExit_Click();
    void cmbFileSearchChoose_KeyDown(WPARAM key);
    void chkSearchFileSize_MouseDown(int id);

    void FillDriveList();
    uint32_t GetAttributeMask() const;
    void SearchFiles(const std::wstring& scope, const std::wstring& pattern);
    void SearchFolder(const std::wstring& folder);
    // One entry of a listed folder (FolderVisitor).
    mFindFiles::EntryStep Entry(const std::wstring& path, const WIN32_FIND_DATAW& entry) override;
    // Appends one accepted file to the main window's list; false when the list refused it.
    bool AddFoundFile(const std::wstring& path, uint64_t size);
    // The path of the entry just examined, in the label at most every kPathIntervalMs.
    void ShowExaminedPath(const std::wstring& path);
    static constexpr DWORD kPathIntervalMs = 33;
    void LoadSearchHistory();
    void SaveSearchHistory();
    static std::wstring GetSystemDir();

    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    void ShowStatus(const std::wstring& text);
    std::vector<std::wstring> PatternList() const;

    std::wstring historyFile_;
    bool isSearching_ = false;
    bool stopRequested_ = false;
    int32_t foundCount_ = 0;
    file_search::SearchCriteria criteria_;
    DWORD pathShownAt_ = 0;
    std::wstring unshownPath_;
    bool unloadDone_ = false;
    HWND focus_ = nullptr;
    unique_hicon picture_;
    WindowSubclass patternEdit_;
    std::array<WindowSubclass, 3> sizeBoxes_;
};

}  // namespace salva
