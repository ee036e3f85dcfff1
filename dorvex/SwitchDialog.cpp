#include "SwitchDialog.h"

namespace dorvex {
namespace {
using K = PromptWindow::Kind;
std::vector<PromptWindow::Design> DesignOf() {
    return {
        {ids::Image1, K::Image, nullptr, 0, 8, 32, 32, 32},
        {ids::lblSur, K::Label, L"源 文 件：", 0, 56, 8, 0, 0},
        {ids::lblSurFileName, K::Label, L"", 0, 114, 8, 0, 0},
        {ids::picSurIcon, K::Panel, nullptr, 0, 72, 26, 361, 33},
        {ids::picSurIcon_32, K::IconBox, nullptr, ids::picSurIcon, 0, 0, 32, 32},
        {ids::lblSurFileInformation, K::Label, L"源文件信息", ids::picSurIcon, 40, 0, 0, 0},
        {ids::lblDec, K::Label, L"目标文件：", 0, 56, 72, 0, 0},
        {ids::lblDecFileName, K::Label, L"", 0, 114, 72, 0, 0},
        {ids::picDecIcon, K::Panel, nullptr, 0, 72, 90, 361, 33},
        {ids::picDecIcon_32, K::IconBox, nullptr, ids::picDecIcon, 0, 0, 32, 32},
        {ids::lblDecFileInformation, K::Label, L"目标文件信息", ids::picDecIcon, 40, 0, 0, 0},
        {ids::picStyle, K::Panel, nullptr, 0, 0, 140, 442, 46, 5},
        {ids::Label8, K::Label, L"操作方式", ids::picStyle, 0, 0, 0, 0},
        {ids::Label5, K::Label, L"是[Y]：覆盖目标文件。否[N]：续拷该文件的剩余部分", ids::picStyle, 56, 16, 0, 0},
        {ids::Label1, K::Label, L"取 消：取消复制文件，重新选择文件保存路径。", ids::picStyle, 56, 32, 0, 0},
        {ids::cmdYes, K::Button, L"是[&Y]", 0, 56, 194, 81, 20},
        {ids::cmdNo, K::Button, L"否[&N]", 0, 144, 194, 80, 20},
        {ids::cmdCancel, K::Button, L"取消[&C]", 0, 232, 194, 80, 20},
    };
}
}  // namespace

SwitchDialog::SwitchDialog(std::wstring sur, std::wstring dec)
    : PromptWindow(L"文件已经存在", 443, 225, DesignOf()), sur_(std::move(sur)), dec_(std::move(dec)) {}

long SwitchDialog::Ask(const std::wstring& sur, const std::wstring& dec) {
    ThreadState().switchResult = 0;
    SwitchDialog window(sur, dec);
    if (!window.ShowModal()) return kPromptNotShown;
    return ThreadState().switchResult;
}

void SwitchDialog::Fill() {
    FillFiles(sur_, dec_);
    FillNamesAndLayout(sur_, dec_, 10, ids::picStyle, [](PromptWindow& w) {
        // Buttons 6 pixels under the explanation panel, the window 36 pixels below them.
        const int buttonTop = w.Bounds(ids::picStyle).bottom + 6;
        for (int id : {ids::cmdYes, ids::cmdNo, ids::cmdCancel}) {
            const RECT b = w.Bounds(id);
            w.Move(id, b.left, buttonTop, b.right - b.left, b.bottom - b.top);
        }
        w.SetOuterHeight(w.Bounds(ids::cmdCancel).bottom + 36);
    });
}

void SwitchDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    long& result = ThreadState().switchResult;
    switch (id) {
    case ids::cmdYes: result = 1; break;
    case ids::cmdNo: result = 2; break;
    case ids::cmdCancel: result = -1; break;
    default: return;
    }
    Unload();
}

}  // namespace dorvex
