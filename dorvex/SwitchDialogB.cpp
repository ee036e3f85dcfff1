#include "SwitchDialogB.h"

namespace dorvex {
namespace {
using K = PromptWindow::Kind;
std::vector<PromptWindow::Design> DesignOf() {
    return {
        {ids::Image1, K::Image, nullptr, 0, 8, 16, 32, 32},
        {ids::lblFileName, K::Label, L"此文件夹已包含一个名为“%%%%”的文件", 0, 56, 12, 0, 0},
        {ids::Label1, K::Label, L"是否将现有文件", 0, 56, 40, 0, 0},
        {ids::picDecIcon_32, K::IconBox, nullptr, 0, 72, 64, 32, 32},
        {ids::lblDecFileInformation, K::Label, L"目标文件信息", 0, 120, 64, 0, 0},
        {ids::Label2, K::Label, L"替换为", 0, 56, 104, 0, 0},
        {ids::picSurIcon_32, K::IconBox, nullptr, 0, 72, 128, 32, 32},
        {ids::lblSurFileInformation, K::Label, L"源文件信息", 0, 120, 128, 0, 0},
        {ids::cmdYes, K::Button, L"是[&Y]", 0, 56, 176, 81, 20},
        {ids::cmdAll, K::Button, L"全部[&A]", 0, 144, 176, 81, 20},
        {ids::cmdNo, K::Button, L"否[&N]", 0, 232, 176, 80, 20},
        {ids::cmdCancel, K::Button, L"取消[&C]", 0, 320, 176, 80, 20},
    };
}
}  // namespace

SwitchDialogB::SwitchDialogB(std::wstring sur, std::wstring dec)
    : PromptWindow(L"确认文件替换", 424, 209, DesignOf()), sur_(std::move(sur)), dec_(std::move(dec)) {}

long SwitchDialogB::Ask(const std::wstring& sur, const std::wstring& dec) {
    ThreadState().switchBResult = 0;
    SwitchDialogB window(sur, dec);
    if (!window.ShowModal()) return kPromptNotShown;
    return ThreadState().switchBResult;
}

void SwitchDialogB::Fill() {
    // A name too long for the window is shortened in the middle, so the line ends inside it.
    const std::wstring head = L"此文件夹已包含一个名为“", tail = L"”的文件";
    const TextWidth width = LabelTextWidth(ids::lblFileName);
    const int room = ClientWidth() - static_cast<int>(Bounds(ids::lblFileName).left) - 10;
    SetLabel(ids::lblFileName, head + ShortenInMiddle(FileNamePart(dec_), [&](const std::wstring& name) {
                                   return width(head + name + tail) <= room;
                               }) + tail);
    FillFiles(sur_, dec_);
}

void SwitchDialogB::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    long& result = ThreadState().switchBResult;
    switch (id) {
    case ids::cmdYes: result = 1; break;
    case ids::cmdAll: result = 2; break;
    case ids::cmdNo: result = 3; break;
    case ids::cmdCancel: result = -1; break;
    default: return;
    }
    Unload();
}

}  // namespace dorvex
