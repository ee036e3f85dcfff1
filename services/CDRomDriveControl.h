// Opens and closes the trays of the CD drives through MCI command strings, offers a popup menu
// of all CD drives, and reports which CD drives are not ready.
#pragma once
#include <windows.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "services/Holders.h"

class CDRomDriveControl {
public:
    // Sends one MCI command string; `ret` may be null when no answer is wanted.
    using MciSender = std::function<DWORD(const std::wstring& command, wchar_t* ret, UINT retChars)>;
    // Roots of the CD drives ("D:\\"), in the order of the logical-drive list.
    using DriveLister = std::function<std::vector<std::wstring>()>;

    enum MenuId : UINT {
        IdOpenAll = 1000,
        IdCloseAll = 1100,
        IdOpenFirstDrive = 1200,
        IdCloseFirstDrive = 1300,
        MaxDrivesPerSubmenu = 31,
    };

    // The real mciSendStringW and the real drive list unless replaced.
    explicit CDRomDriveControl(MciSender sender = nullptr, DriveLister lister = nullptr);

    void CreatePopupCDDriveMenu(HWND owner);
    void OpenFirstCDdoor();
    void CloseFirstCDdoor();
    void OpenSpecialCDDoor(const std::wstring& driveLetter);
    void CloseSpecialCDDoor(const std::wstring& driveLetter);
    std::wstring GetCDRomInforStr();
    std::wstring GetCDRomListStr();

    // The popup of CreatePopupCDDriveMenu for the current CD drives; remembers each item's
    // drive letter for ActOnMenuChoice.
    salva::unique_hmenu BuildPopupCDDriveMenu();
    // Carries out a choice of that popup; 0 and unknown ids do nothing.
    void ActOnMenuChoice(UINT id);

    // The CD drive roots of the system's logical-drive list.
    static std::vector<std::wstring> SystemCDDrives();
    // False when a listing of the root fails for any reason but an empty folder.
    static bool DriveReady(const std::wstring& root);
    // The report text for the given CD drive roots and the not-ready ones among them.
    static std::wstring NotReadyText(const std::vector<std::wstring>& cdRoots,
                                     const std::vector<std::wstring>& notReady);
    // Menu caption of a root: "d:\\" gives "D:".
    static std::wstring DriveCaption(const std::wstring& root);

private:
    void SendDoorCommands(const std::wstring& driveLetter, bool open);
    void Send(const std::wstring& command, bool wantAnswer);

    MciSender sender_;
    DriveLister lister_;
    std::map<UINT, wchar_t> menuLetters_;
};
