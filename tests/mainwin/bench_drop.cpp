// A drop of many files onto the real main window's list, for tools/bench-drop.sh: the same drop
// onto an empty list and onto a long one, each timed from the drop to its return, with the
// window's worst answer meanwhile to a WM_NULL sent from another thread every 10 ms.
// Usage: bench_drop <folder> <log-folder> <listed> <dropped>; makes <dropped> small files in
// <folder>, prints one line of figures.
#include "BenchProbe.h"
#include "DropData.h"
#include "BenchMainWindow.h"
#include "copier/FrmCopy.h"
#include <commctrl.h>
#include <cstdio>

namespace {

using benchsupport::Ms;
using benchsupport::Ticks;

struct DropRun {
    double ms = 0;
    double worstAnswerMs = 0;
    int listed = 0;
};

// Drops `paths` at the list's centre as the system delivers a drop, pinged meanwhile.
DropRun Drop(salva::FrmCopy& frm, const std::vector<std::wstring>& paths) {
    RECT rc{};
    ::GetWindowRect(frm.Control(salva::FrmCopy::IDC_cmbFileCopy), &rc);
    const POINTL pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    IDataObject* data = mainwintest::NewFileListData(paths);
    IDropTarget* target = frm.DropTarget();
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(data, 0, pt, &effect);
    effect = DROPEFFECT_COPY;
    target->DragOver(0, pt, &effect);

    benchsupport::AnswerProbe prober(frm.Window(), 10);
    ::Sleep(30);
    effect = DROPEFFECT_COPY;
    const int64_t t0 = Ticks();
    target->Drop(data, 0, pt, &effect);
    DropRun run;
    run.ms = Ms(Ticks() - t0);
    run.worstAnswerMs = prober.Stop();
    data->Release();
    run.listed = frm.FileListCount();
    return run;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fwprintf(stderr, L"usage: bench_drop <folder> <log-folder> <listed> <dropped>\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int listedCount = _wtoi(argv[3]), droppedCount = _wtoi(argv[4]);
    salva::ole_init_scope ole;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    std::vector<std::wstring> dropped;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < droppedCount; ++i) {
        const std::wstring path = folder + L"\\dropped" + std::to_wstring(i) + L".dat";
        salva::unique_hfile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!f) return 1;
        DWORD wrote = 0;
        ::WriteFile(f.get(), "data", 4, &wrote, nullptr);
        dropped.push_back(path);
    }

    benchsupport::BenchMainWindow window(argv[2]);
    salva::FrmCopy& frm = window.frm;
    if (!frm.Create(SW_SHOWNOACTIVATE)) return 1;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

    const DropRun empty = Drop(frm, dropped);
    frm.RefreshWindow();
    {
        // As the search fills it: names of files elsewhere, with their lengths.
        salva::file_list_batch_scope batch(frm);
        for (int i = 0; i < listedCount; ++i)
            frm.AddFileListItem(L"C:\\search\\d" + std::to_wstring(i / 100) + L"\\clip" + std::to_wstring(i) + L".dat",
                                4096);
    }
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    const DropRun full = Drop(frm, dropped);
    std::printf("empty_ms=%.1f empty_listed=%d empty_answer_ms=%.1f long_ms=%.1f long_listed=%d long_answer_ms=%.1f\n",
                empty.ms, empty.listed, empty.worstAnswerMs, full.ms, full.listed, full.worstAnswerMs);
    return 0;
}
