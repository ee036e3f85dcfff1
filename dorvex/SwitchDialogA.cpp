#include "SwitchDialogA.h"

namespace dorvex {
namespace {
using K = PromptWindow::Kind;
std::vector<PromptWindow::Design> DesignOf() {
    return {
        {ids::lblSur, K::Label, L"源 文 件：", 0, 16, 8, 0, 0},
        {ids::lblSurFileName, K::Label, L"", 0, 82, 8, 0, 0},
        {ids::picSurIcon, K::Panel, nullptr, 0, 32, 26, 361, 33},
        {ids::picSurIcon_32, K::IconBox, nullptr, ids::picSurIcon, 0, 0, 32, 32},
        {ids::lblSurFileInformation, K::Label, L"源文件信息", ids::picSurIcon, 54, 0, 0, 0},
        {ids::lblDec, K::Label, L"目标文件：", 0, 16, 72, 0, 0},
        {ids::lblDecFileName, K::Label, L"", 0, 82, 72, 0, 0},
        {ids::picDecIcon, K::Panel, nullptr, 0, 32, 90, 361, 33},
        {ids::picDecIcon_32, K::IconBox, nullptr, ids::picDecIcon, 0, 0, 32, 32},
        {ids::lblDecFileInformation, K::Label, L"目标文件信息", ids::picDecIcon, 54, 0, 0, 0},
        {ids::picOperation, K::Panel, nullptr, 0, 0, 136, 446, 89, 4},
        {ids::Label2, K::Label, L"操作方式", ids::picOperation, 0, 0, 0, 0},
        {ids::optCoverFile, K::Option, L"覆盖已存在的文件[&E]", ids::picOperation, 16, 20, 137, 16},
        {ids::optAddFile, K::Option, L"以追加方式继续复制[&A]", ids::picOperation, 166, 20, 153, 16},
        {ids::optMergeFile, K::Option, L"合并成同一个文件[&M]", ids::picOperation, 16, 40, 137, 16},
        {ids::optKillFile, K::Option, L"删除已经存在的文件[&D]", ids::picOperation, 166, 40, 153, 16},
        {ids::optRenameFile, K::Option, L"重命名并继续复制[&R]", ids::picOperation, 16, 60, 137, 16},
        {ids::txtNewFileName, K::TextBox, L"", ids::picOperation, 168, 60, 139, 18},
        {ids::cmbSure, K::Button, L"确定[&S]", ids::picOperation, 340, 19, 80, 22},
        {ids::cmdCancel, K::Button, L"取消[&C]", ids::picOperation, 340, 52, 80, 22},
    };
}
}  // namespace

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    if (name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) return false;
    for (wchar_t c : name)
        if (c < 32) return false;
    // The system drops a trailing dot or blank: the file would get another name than typed.
    if (name.back() == L'.' || name.back() == L' ') return false;
    // Device names stay devices with any extension ("NUL.dat") and with blanks before it.
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    if (!stem.empty()) ::CharUpperBuffW(&stem[0], static_cast<DWORD>(stem.size()));
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* d : kDevices)
        if (stem == d) return false;
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) && stem[3] >= L'1' &&
        stem[3] <= L'9')
        return false;
    return true;
}

SwitchDialogA::SwitchDialogA(std::wstring sur, std::wstring dec)
    : PromptWindow(L"文件已经存在", 447, 224, DesignOf()), sur_(std::move(sur)), dec_(std::move(dec)) {}

long SwitchDialogA::Ask(const std::wstring& sur, const std::wstring& dec) {
    ThreadState().switchAResult = 0;
    SwitchDialogA window(sur, dec);
    if (!window.ShowModal()) return kPromptNotShown;
    return ThreadState().switchAResult;
}

void SwitchDialogA::Fill() {
    ::SendMessageW(Control(ids::optCoverFile), BM_SETCHECK, BST_CHECKED, 0);
    EnableNewName(false);
    FillFiles(sur_, dec_);
    SetText(ids::txtNewFileName, FileNamePart(dec_) + L"[01]");
    FillNamesAndLayout(sur_, dec_, 6, ids::picOperation, [](PromptWindow& w) {
        w.SetOuterHeight(w.Bounds(ids::picOperation).bottom + 26);
    });
}

void SwitchDialogA::EnableNewName(bool enable) {
    HWND box = Control(ids::txtNewFileName);
    ::EnableWindow(box, enable);
    ::InvalidateRect(box, nullptr, TRUE);
}

HBRUSH SwitchDialogA::OnCtlColor(HDC dc, HWND control) {
    if (control != Control(ids::txtNewFileName)) return nullptr;
    // White while a new name can be typed, the window's own colour otherwise.
    if (::IsWindowEnabled(control)) {
        ::SetBkColor(dc, RGB(255, 255, 255));
        return white_.get();
    }
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

void SwitchDialogA::Sure() {
    auto checked = [this](int id) {
        return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    long choice = 0;
    if (checked(ids::optCoverFile)) choice = 1;
    else if (checked(ids::optAddFile)) choice = 2;
    else if (checked(ids::optMergeFile)) choice = 3;
    else if (checked(ids::optKillFile)) choice = 4;
    else if (checked(ids::optRenameFile)) choice = 5;
    if (choice == 5) {
        const std::wstring name = Text(ids::txtNewFileName);
        // A name that is empty or reaches outside the target's folder is not accepted.
        if (!IsPlainFileName(name)) {
            ::MessageBeep(MB_ICONEXCLAMATION);
            HWND box = Control(ids::txtNewFileName);
            ::SetFocus(box);
            ::SendMessageW(box, EM_SETSEL, 0, -1);
            return;
        }
        ThreadState().newFileName = name;
    }
    ThreadState().switchAResult = choice;
    Unload();
}

void SwitchDialogA::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case ids::optCoverFile:
    case ids::optAddFile:
    case ids::optMergeFile:
    case ids::optKillFile: EnableNewName(false); break;
    case ids::optRenameFile: EnableNewName(true); break;
    case ids::cmbSure: Sure(); break;
    case ids::cmdCancel: Unload(); break;
    }
}

}  // namespace dorvex
