// The log view and the open dialog under load, for tools/bench-views.sh.
//   bench_views log <log-file>: the real log window shown, 查看记录 released on it; prints the
//     time until the view holds the whole text and the window's worst answer meanwhile to a
//     WM_NULL sent from another thread every 10 ms.
//   bench_views dialog <folder> <count> hook|plain: the real open dialog in a folder of `count`
//     files, with the program's hook and preview pane or without any hook; the first file
//     selected, then 50 Down keys posted 20 ms apart to its file view; prints the time from the
//     first key until the 51st file is selected.
// Prints one line of figures.
#include "BenchProbe.h"
#include "services/Holders.h"
#include "services/OpenDialogPane.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include "windows/LogFile.h"
#include "windows/frmPlaying.h"
#include "windows/frmSystem.h"
#include <commctrl.h>
#include <commdlg.h>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using benchsupport::Ms;
using benchsupport::Ticks;

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int RunLog(const std::wstring& logFile) {
    salva::frmSystem log;
    log.SetLogFilePath(logFile);
    if (!log.Load()) return 1;
    ::ShowWindow(log.Window(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(log.Window());
    PumpPending();
    benchsupport::AnswerProbe prober(log.Window(), 10);
    ::Sleep(30);
    const int64_t t0 = Ticks();
    ::SendMessageW(::GetDlgItem(log.Window(), salva::frmSystem::IDC_PICVIEW), WM_LBUTTONUP, 0, 0);
    const double clickMs = Ms(Ticks() - t0);
    while (log.ViewFilling() && Ms(Ticks() - t0) < 600000) {
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    const double filledMs = Ms(Ticks() - t0);
    ::Sleep(30);
    prober.Stop();
    std::printf("view_chars=%d click_ms=%.0f filled_ms=%.0f worst_answer_ms=%.0f answers=%d\n",
                ::GetWindowTextLengthW(::GetDlgItem(log.Window(), salva::frmSystem::IDC_LTEXT)), clickMs, filledMs, prober.WorstMs(),
                prober.Answers());
    return 0;
}

HWND FindDescendant(HWND parent, const wchar_t* cls) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (lstrcmpW(name, cls) == 0) return child;
        if (HWND inner = FindDescendant(child, cls)) return inner;
    }
    return nullptr;
}

int SelectedIndex(HWND list) {
    DWORD_PTR at = static_cast<DWORD_PTR>(-1);
    if (!::SendMessageTimeoutW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED, SMTO_NORMAL, 600000, &at))
        return -1;
    return static_cast<int>(static_cast<INT_PTR>(at));
}

int RunDialog(const std::wstring& folder, int count, bool withHook) {
    constexpr int kKeys = 50;
    const wchar_t kTitle[] = L"打开";
    std::atomic<double> keysMs{-1}, settleMs{-1};
    std::atomic<int> reached{-1};
    std::thread driver([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 3000 && !dialog; ++i, ::Sleep(20)) dialog = ::FindWindowW(L"#32770", kTitle);
        if (!dialog) return;
        HWND list = nullptr;
        for (int i = 0; i < 3000; ++i, ::Sleep(20)) {
            list = FindDescendant(dialog, L"SysListView32");
            DWORD_PTR n = 0;
            if (list && ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 600000, &n) &&
                static_cast<int>(n) >= count)
                break;
        }
        if (list) {
            // The first file selected and focused, as a click leaves it; then time to rest.
            LVITEMW item{};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            DWORD_PTR ignored = 0;
            const int64_t s0 = Ticks();
            ::SendMessageTimeoutW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item), SMTO_NORMAL, 600000,
                                  &ignored);
            ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &ignored);
            settleMs = Ms(Ticks() - s0);
            ::Sleep(1500);
            ::PostMessageW(list, WM_SETFOCUS, 0, 0);
            const int64_t t0 = Ticks();
            for (int k = 0; k < kKeys; ++k) {
                // A held key's repeats: the previous-state bit set, one repeat each.
                ::PostMessageW(list, WM_KEYDOWN, VK_DOWN, k == 0 ? 0x01500001 : 0x41500001);
                const int64_t due = t0 + static_cast<int64_t>((k + 1) * 20.0 / Ms(1));
                while (Ticks() < due) ::Sleep(1);
            }
            ::PostMessageW(list, WM_KEYUP, VK_DOWN, 0xC1500001);
            for (;;) {
                const int at = SelectedIndex(list);
                if (at >= kKeys || Ms(Ticks() - t0) > 600000) {
                    reached = at;
                    break;
                }
                ::Sleep(2);
            }
            keysMs = Ms(Ticks() - t0);
        }
        ::PostMessageW(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });

    std::wstring filter(L"视频VCD文件(*.dat)\0*.dat\0所有文件(*.*)\0*.*\0", 35);
    ::SetCurrentDirectoryW(folder.c_str());
    if (withHook) {
        salva::frmPlaying pane;
        salva::SetOpenDialogPane(&pane);
        salva::mSubClassOpen_SaveFileBox::AddFilesByOpenDialog(kTitle, filter, true);
        salva::SetOpenDialogPane(nullptr);
    } else {
        std::vector<wchar_t> file(32769, L'\0');
        filter.append(2, L'\0');
        OPENFILENAMEW o{};
        o.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
        o.lpstrFilter = filter.c_str();
        o.nFilterIndex = 1;
        o.lpstrFile = file.data();
        o.nMaxFile = static_cast<DWORD>(file.size());
        o.lpstrInitialDir = folder.c_str();
        o.lpstrTitle = kTitle;
        o.Flags = OFN_LONGNAMES | OFN_NODEREFERENCELINKS | OFN_EXPLORER | OFN_CREATEPROMPT | OFN_ALLOWMULTISELECT |
                  OFN_HIDEREADONLY;
        ::GetOpenFileNameW(&o);
    }
    driver.join();
    std::printf("files=%d hook=%d reached=%d first_select_ms=%.0f keys_ms=%.0f\n", count, withHook ? 1 : 0,
                reached.load(), settleMs.load(), keysMs.load());
    return reached.load() >= kKeys ? 0 : 1;
}



}  // namespace

int wmain(int argc, wchar_t** argv) {
    salva::co_init_scope com;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"log" && argc == 3) return RunLog(argv[2]);
    if (mode == L"dialog" && argc == 5)
        return RunDialog(argv[2], _wtoi(argv[3]), std::wstring(argv[4]) == L"hook");
    std::fwprintf(stderr, L"usage: bench_views log <log-file> | dialog <folder> <count> hook|plain\n");
    return 2;
}
