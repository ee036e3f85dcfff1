#include "services/CDRomDriveControl.h"
#include "services/FileSystem.h"
#include "services/Text.h"
#include "services/WaitCursor.h"
#include <mmsystem.h>
#include <algorithm>
#include <cwctype>

namespace {

constexpr UINT kAnswerChars = 127;

}  // namespace

CDRomDriveControl::CDRomDriveControl(MciSender sender, DriveLister lister)
    : sender_(std::move(sender)), lister_(std::move(lister)) {
    if (!sender_) {
        sender_ = [](const std::wstring& command, wchar_t* ret, UINT retChars) -> DWORD {
            return ::mciSendStringW(command.c_str(), ret, retChars, nullptr);
        };
    }
    if (!lister_) lister_ = &CDRomDriveControl::SystemCDDrives;
}

std::vector<std::wstring> CDRomDriveControl::SystemCDDrives() {
    std::vector<std::wstring> roots;
    for (const std::wstring& root : salva::LogicalDriveRoots())
        if (::GetDriveTypeW(root.c_str()) == DRIVE_CDROM) roots.push_back(root);
    return roots;
}

std::wstring CDRomDriveControl::DriveCaption(const std::wstring& root) {
    std::wstring caption = root;
    if (!caption.empty() && caption.back() == L'\\') caption.pop_back();
    return salva::UpperCase(caption);
}

void CDRomDriveControl::Send(const std::wstring& command, bool wantAnswer) {
    wchar_t answer[kAnswerChars + 1] = {};
    // A failing command (no such device, no disc) changes nothing here.
    sender_(command, wantAnswer ? answer : nullptr, wantAnswer ? kAnswerChars : 0);
}

void CDRomDriveControl::OpenFirstCDdoor() {
    salva::wait_cursor_scope wait;
    Send(L"set CDAudio door open", true);
}

void CDRomDriveControl::CloseFirstCDdoor() {
    salva::wait_cursor_scope wait;
    Send(L"set CDAudio door closed", true);
}

void CDRomDriveControl::SendDoorCommands(const std::wstring& driveLetter, bool open) {
    if (driveLetter.empty()) return;
    const std::wstring x(1, driveLetter[0]);
    salva::wait_cursor_scope wait;
    // The alias stays open until the program ends; opening it again fails harmlessly and the
    // door command still reaches the device.
    Send(L"Open " + x + L": Alias Drive" + x + L" Type CDAudio", false);
    Send(L"Set Drive" + x + (open ? L" Door Open" : L" Door Closed"), true);
}

void CDRomDriveControl::OpenSpecialCDDoor(const std::wstring& driveLetter) { SendDoorCommands(driveLetter, true); }

void CDRomDriveControl::CloseSpecialCDDoor(const std::wstring& driveLetter) { SendDoorCommands(driveLetter, false); }

salva::unique_hmenu CDRomDriveControl::BuildPopupCDDriveMenu() {
    menuLetters_.clear();
    salva::unique_hmenu menu(::CreatePopupMenu());
    if (!menu) return menu;
    ::AppendMenuW(menu.get(), MF_STRING, IdOpenAll, L"弹出[&E] 所有CD-ROM");
    ::AppendMenuW(menu.get(), MF_STRING, IdCloseAll, L"关闭[&C] 所有CD-ROM");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    const std::vector<std::wstring> drives = lister_();
    if (drives.empty()) return menu;
    const size_t count = std::min<size_t>(drives.size(), MaxDrivesPerSubmenu);
    salva::unique_hmenu openMenu(::CreatePopupMenu());
    salva::unique_hmenu closeMenu(::CreatePopupMenu());
    if (!openMenu || !closeMenu) return menu;
    for (size_t i = 0; i < count; ++i) {
        const std::wstring caption = DriveCaption(drives[i]);
        const UINT openId = IdOpenFirstDrive + static_cast<UINT>(i);
        const UINT closeId = IdCloseFirstDrive + static_cast<UINT>(i);
        ::AppendMenuW(openMenu.get(), MF_STRING, openId, caption.c_str());
        ::AppendMenuW(closeMenu.get(), MF_STRING, closeId, caption.c_str());
        menuLetters_[openId] = caption.empty() ? L'\0' : caption[0];
        menuLetters_[closeId] = caption.empty() ? L'\0' : caption[0];
    }
    // Once appended, a submenu is destroyed with the menu that holds it.
    if (::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(openMenu.get()), L"弹出    CD-ROM"))
        openMenu.release();
    if (::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(closeMenu.get()), L"关闭    CD-ROM"))
        closeMenu.release();
    return menu;
}

void CDRomDriveControl::ActOnMenuChoice(UINT id) {
    if (id == IdOpenAll || id == IdCloseAll) {
        for (const std::wstring& root : lister_()) {
            const std::wstring caption = DriveCaption(root);
            if (caption.empty()) continue;
            SendDoorCommands(caption.substr(0, 1), id == IdOpenAll);
        }
        return;
    }
    const bool open = id >= IdOpenFirstDrive && id < IdOpenFirstDrive + MaxDrivesPerSubmenu;
    const bool close = id >= IdCloseFirstDrive && id < IdCloseFirstDrive + MaxDrivesPerSubmenu;
    if (!open && !close) return;
    const auto it = menuLetters_.find(id);
    if (it == menuLetters_.end() || it->second == L'\0') return;
    SendDoorCommands(std::wstring(1, it->second), open);
}

void CDRomDriveControl::CreatePopupCDDriveMenu(HWND owner) {
    salva::unique_hmenu menu = BuildPopupCDDriveMenu();
    if (!menu) return;
    POINT at{};
    ::GetCursorPos(&at);
    const UINT id = static_cast<UINT>(
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    ActOnMenuChoice(id);
}

bool CDRomDriveControl::DriveReady(const std::wstring& root) {
    // No "insert a disk" box from the system for an empty drive.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    WIN32_FIND_DATAW fd{};
    std::wstring pattern = root;
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    salva::unique_hfind find(::FindFirstFileW(pattern.c_str(), &fd));
    const DWORD error = find ? ERROR_SUCCESS : ::GetLastError();
    ::SetErrorMode(oldMode);
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}

std::wstring CDRomDriveControl::NotReadyText(const std::vector<std::wstring>& cdRoots,
                                             const std::vector<std::wstring>& notReady) {
    if (cdRoots.empty()) return L"你可能没有安装光盘驱动器，或者驱动程序不正常。";
    if (notReady.empty()) return {};
    std::wstring text = L"光盘驱动器";
    for (const std::wstring& root : notReady) text += salva::UpperCase(root);
    return text + L"还没有准备好\r\n";
}

std::wstring CDRomDriveControl::GetCDRomInforStr() {
    const std::vector<std::wstring> roots = lister_();
    std::vector<std::wstring> notReady;
    for (const std::wstring& root : roots)
        if (!DriveReady(root)) notReady.push_back(root);
    return NotReadyText(roots, notReady);
}

std::wstring CDRomDriveControl::GetCDRomListStr() {
    std::wstring list;
    for (const std::wstring& root : lister_()) list += salva::UpperCase(root);
    return list;
}
