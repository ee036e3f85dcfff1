// Throughput of a copy through the real main window, for tools/bench-window.sh: the source
// typed into the file list, the target typed, the read slider set, Start clicked, the report
// answered. The time runs from the click to the moment the report box is created.
// Usage: bench_window <source> <target> <read-blocks> <log-folder>; prints the read size, the
// seconds and MB/s.
#include "BenchProbe.h"
#include "BenchMainWindow.h"
#include "copier/FrmCopy.h"
#include <commctrl.h>
#include <cstdio>

namespace {

const wchar_t kReportTitle[] = L"文件复制完成！";
int64_t g_reportAt = 0;
HHOOK g_hook = nullptr;
int64_t g_boxCreatedAt = 0;

// Notes when each dialog box is being created; the one that turns out to be the report (its
// caption is set only once it is built) marks the copy's end, and is answered once it is up.
LRESULT CALLBACK ReportHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        wchar_t cls[16] = {};
        ::GetClassNameW(reinterpret_cast<HWND>(wp), cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0) g_boxCreatedAt = benchsupport::Ticks();
    } else if (code == HCBT_ACTIVATE && !g_reportAt) {
        HWND box = reinterpret_cast<HWND>(wp);
        wchar_t caption[64] = {};
        ::GetWindowTextW(box, caption, 64);
        if (lstrcmpW(caption, kReportTitle) == 0) {
            g_reportAt = g_boxCreatedAt;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fwprintf(stderr, L"usage: bench_window <source> <target> <read-blocks> <log-folder>\n");
        return 2;
    }
    salva::co_init_scope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::DeleteFileW(argv[2]);

    benchsupport::BenchMainWindow window(argv[4]);
    salva::FrmCopy& frm = window.frm;
    if (!frm.Create(SW_SHOWNOACTIVATE)) return 1;
    frm.AddFileListItem(argv[1]);
    frm.SetFileListText(argv[1]);
    ::SetWindowTextW(frm.Control(salva::FrmCopy::IDC_txtFileCopy), argv[2]);
    HWND read = frm.Control(salva::FrmCopy::IDC_sldReadBlocks);
    ::SendMessageW(read, TBM_SETPOS, TRUE, _wtoi(argv[3]));
    ::SendMessageW(frm.Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(read));
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);

    g_hook = ::SetWindowsHookExW(WH_CBT, ReportHook, nullptr, ::GetCurrentThreadId());
    const int64_t t0 = benchsupport::Ticks();
    ::SendMessageW(frm.Control(salva::FrmCopy::IDC_cmdStartCopy), BM_CLICK, 0, 0);
    ::UnhookWindowsHookEx(g_hook);
    if (!g_reportAt) {
        std::fwprintf(stderr, L"no report\n");
        return 1;
    }
    const double seconds = benchsupport::Ms(g_reportAt - t0) / 1000.0;
    const double mb = static_cast<double>(frm.Engine().State().TotalBytes) / (1024.0 * 1024.0);
    std::printf("block=%lld seconds=%.3f mbps=%.1f\n", static_cast<long long>(frm.Engine().State().BlockBytes), seconds,
                seconds > 0 ? mb / seconds : 0.0);
    return 0;
}
