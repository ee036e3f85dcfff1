// Another program's drag, for the main window's tests: from a small window of its own in the
// screen's top-left corner it drags a shell file list naming one file, moving the mouse as a
// user would, and releases it over a screen point. Its DoDragDrop result is its exit code.
// Usage: drag_source <x> <y> <path>
// Exit codes: 0 dropped (DRAGDROP_S_DROP), 1 cancelled (DRAGDROP_S_CANCEL), 2 another result,
// 3 it could not start.
#include "DropData.h"
#include <windows.h>
#include <cstdlib>
#include <cwchar>
#include <thread>

namespace {

constexpr UINT kStartDrag = WM_APP + 1;
HANDLE g_dragging = nullptr;
std::wstring g_path;
int g_exit = 3;

class DropSource : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        ::SetEvent(g_dragging);
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// A move to the screen point (x, y); with a button's `flag`, that button where the pointer is.
void Mouse(int x, int y, DWORD flag = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(x * 65535LL / (::GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>(y * 65535LL / (::GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = flag;
    ::SendInput(1, &in, sizeof(in));
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        // As a program starts a drag once the pressed mouse moves: from its own loop.
        ::PostMessageW(hwnd, kStartDrag, 0, 0);
        return 0;
    case kStartDrag: {
        IDataObject* data = mainwintest::NewFileListData({g_path});
        DropSource source;
        DWORD effect = DROPEFFECT_NONE;
        const HRESULT hr = ::DoDragDrop(data, &source, DROPEFFECT_COPY, &effect);
        data->Release();
        g_exit = hr == DRAGDROP_S_DROP ? 0 : hr == DRAGDROP_S_CANCEL ? 1 : 2;
        ::DestroyWindow(hwnd);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 3;
    const int x = std::wcstol(argv[1], nullptr, 10), y = std::wcstol(argv[2], nullptr, 10);
    g_path = argv[3];
    if (FAILED(::OleInitialize(nullptr))) return 3;
    g_dragging = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"SalvadiskTestDragSource";
    if (!::RegisterClassW(&wc)) return 3;
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"drag source", WS_POPUP | WS_VISIBLE, 0, 0, 80,
                                    80, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 3;
    ::UpdateWindow(window);

    std::thread mouse([x, y, window] {
        Mouse(40, 40);
        ::Sleep(100);
        Mouse(40, 40, MOUSEEVENTF_LEFTDOWN);
        if (::WaitForSingleObject(g_dragging, 30000) != WAIT_OBJECT_0) {
            Mouse(x, y, MOUSEEVENTF_LEFTUP);
            ::PostMessageW(window, WM_CLOSE, 0, 0);
            return;
        }
        // Across the screen in steps, then a rest over the point, then the release.
        for (int i = 1; i <= 10; ++i) {
            Mouse(40 + (x - 40) * i / 10, 40 + (y - 40) * i / 10);
            ::Sleep(50);
        }
        for (int i = 0; i < 6; ++i) {
            Mouse(x + (i & 1), y);
            ::Sleep(50);
        }
        Mouse(x, y, MOUSEEVENTF_LEFTUP);
    });
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    mouse.join();
    ::OleUninitialize();
    return g_exit;
}
