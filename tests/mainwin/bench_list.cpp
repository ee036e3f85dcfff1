// A search over a large tree through the real main window and search window, for
// tools/bench-list.sh: the walk alone, the whole search from the Search click to its result,
// the main window's worst answer to a WM_NULL sent from another thread every 100 ms while the
// search runs, and the slowest of three item choices (middle, last, first) until the choice's
// facts show.
// Usage: bench_list <tree> <pattern> <log-folder>; prints one line of figures.
#include "BenchProbe.h"
#include "BenchMainWindow.h"
#include "copier/FrmCopy.h"
#include "services/WindowText.h"
#include "services/mFindFiles.h"
#include "windows/frmSearchFile.h"
#include <commctrl.h>
#include <cstdio>

namespace {

using benchsupport::Ms;
using benchsupport::Ticks;

// The walk with nothing but the pattern test, as the search makes it.
class CountMatches : public salva::mFindFiles::FolderVisitor {
public:
    explicit CountMatches(std::wstring pattern) : pattern_(std::move(pattern)) {}
    salva::mFindFiles::EntryStep Entry(const std::wstring& path, const WIN32_FIND_DATAW& entry) override {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return salva::mFindFiles::EntryStep::EnterFolder;
        if (salva::mFindFiles::PatternMatches(path.substr(path.rfind(L'\\') + 1), pattern_)) ++count;
        return salva::mFindFiles::EntryStep::Next;
    }
    int count = 0;

private:
    std::wstring pattern_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: bench_list <tree> <pattern> <log-folder>\n");
        return 2;
    }
    const std::wstring tree = argv[1], pattern = argv[2];
    salva::co_init_scope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    salva::FrmCopy::Options options;
    options.searchHistoryFile = std::wstring(argv[3]) + L"\\Salvadisksearch.ini";
    benchsupport::BenchMainWindow window(argv[3], std::move(options));
    salva::FrmCopy& frm = window.frm;
    if (!frm.Create(SW_SHOWNOACTIVATE)) return 1;

    int64_t t0 = Ticks();
    CountMatches walk(pattern);
    salva::mFindFiles::WalkFolder(tree, walk);
    const double walkMs = Ms(Ticks() - t0);

    salva::frmSearchFile search;
    search.SetHistoryFilePath(std::wstring(argv[3]) + L"\\Salvadisksearch.ini");
    if (!search.Load(frm.Window())) return 1;
    ::ShowWindow(search.Window(), SW_SHOWNOACTIVATE);
    ::SetWindowTextW(search.Control(salva::frmSearchFile::IDC_cmbFileSearchChoose), pattern.c_str());
    ::SetWindowTextW(search.Control(salva::frmSearchFile::IDC_cmbFileSearchWide), tree.c_str());
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

    // The main window's answers while the search runs.
    HWND main = frm.Window();
    benchsupport::AnswerProbe prober(main, 100);
    t0 = Ticks();
    ::SendMessageW(search.Control(salva::frmSearchFile::IDC_cmdFileSearch), BM_CLICK, 0, 0);
    const double searchMs = Ms(Ticks() - t0);
    const double worstAnswerMs = prober.Stop();
    const int listed = frm.FileListCount();

    // Item choices as the drop-down reports them; the totals line shows "i/N" once done.
    HWND combo = frm.Control(salva::FrmCopy::IDC_cmbFileCopy);
    double worstChoiceMs = 0;
    bool choicesShown = listed > 0;
    for (int index : {listed / 2, listed - 1, 0}) {
        if (listed == 0) break;
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        t0 = Ticks();
        ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(salva::FrmCopy::IDC_cmbFileCopy, CBN_SELENDOK),
                       reinterpret_cast<LPARAM>(combo));
        const double ms = Ms(Ticks() - t0);
        if (ms > worstChoiceMs) worstChoiceMs = ms;
        const std::wstring shown = salva::WindowTextOf(frm.Control(salva::FrmCopy::IDC_lblFilesInfo));
        const std::wstring expected = L"文件总数:" + std::to_wstring(index + 1) + L"/" + std::to_wstring(listed) + L"个";
        if (shown.compare(0, expected.size(), expected) != 0) choicesShown = false;
    }
    std::printf("matches=%d listed=%d walk_ms=%.0f search_ms=%.0f worst_answer_ms=%.0f answers=%d choice_ms=%.1f "
                "choices_shown=%d\n",
                walk.count, listed, walkMs, searchMs, worstAnswerMs, prober.Answers(), worstChoiceMs,
                choicesShown ? 1 : 0);
    return 0;
}
