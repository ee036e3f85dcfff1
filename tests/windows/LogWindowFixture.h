// A log window with a fixed clock and its log file in a temporary folder.
#pragma once
#include "TestSupport.h"
#include "windows/LogFile.h"
#include "windows/LogText.h"
#include "windows/frmSystem.h"
#include <chrono>
#include <memory>

namespace logtest {

inline SYSTEMTIME FixedTime() {
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 9;
    t.wHour = 14;
    t.wMinute = 5;
    t.wSecond = 9;
    return t;
}

inline std::wstring Stamp() { return L"[" + salva::FormatShortDate(FixedTime()) + L" 02:05:09 PM] "; }

// Lets posted and sent messages run for `ms` milliseconds.
inline void Pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(testsupport::ScaledMs(ms));
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    } while (std::chrono::steady_clock::now() < end);
}

inline std::string Str(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

class LogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<salva::frmSystem>();
        window->SetClock(FixedTime);
        window->SetLogFilePath(logFile());
    }
    void TearDown() override {
        if (window && window->IsLoaded()) {
            window->KeepLoaded = false;
            window->Unload();
        }
        window.reset();
    }
    std::wstring logFile() const { return dir / L"OperationNotes.log"; }
    HWND control(int id) const { return ::GetDlgItem(window->Window(), id); }
    std::wstring text(int id) const { return testsupport::WindowText(control(id)); }
    // The control's own visibility; the window itself may be hidden.
    bool visible(int id) const { return (::GetWindowLongW(control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    // A mouse button released on one of the drawn buttons.
    void release(int id, UINT upMessage = WM_LBUTTONUP) { ::SendMessageW(control(id), upMessage, 0, 0); }

    testsupport::TempDir dir;
    std::unique_ptr<salva::frmSystem> window;
};

}  // namespace logtest
