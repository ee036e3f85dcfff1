#include "frmSystem.h"
#include "LogFile.h"
#include "LogText.h"
#include "mRecShellChangeNotifiShell.h"
#include "mRecShellChangeNotifisSubClass.h"
#include "services/MainWindow.h"
#include "services/ModalLoop.h"
#include "services/ProgramFolder.h"
#include "services/TextFit.h"
#include "services/TickClock.h"
#include "services/ToolTips.h"
#include "services/Twips.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <algorithm>
#include <memory>
#include <vector>

namespace salva {
namespace {

const wchar_t kCaption[] = L"文件/文件夹操作日志记录";
const wchar_t* const kTitlePieces[] = {
    L"文件/文件夹操作日志窗口。其主要记录你在复", L"制文件过程中遇到的错误和其他一些异常情况，",
    L"同时也记录你在资源管理器中对文件或文件夹",   L"进行的一系列操作，如：新建、删除、重命名",
    L"文件或文件夹；改变文件的关联；插入或取出",   L"光驱中的光盘；添加或删除网络共享等。",
};
const wchar_t kNoShellMonitor[] = L"系统不支持操作监视程序.";
const wchar_t kNoLogRecords[] = L"无日志记录！\r\n";
const COLORREF kTextBack = RGB(255, 255, 245);
const COLORREF kTextFore = RGB(0, 92, 128);
const wchar_t kButtonClass[] = L"SalvadiskLogButton";

// The log file's view goes into its box in parts: an edit control lays out its text at about a
// megabyte a second under Wine, and a whole megabyte at once would keep the window from
// answering for that long. Between parts the window's messages run (the timer comes last).
const UINT_PTR kViewFillTimer = 1;
const int kViewFillId = 120;
const size_t kViewPartChars = 4096;
const int64_t kViewSliceMs = 40;

// Design sizes in twips.
const int kClientWidthTw = 5640;
const int kClientHeightTw = 4800;
const int kButtonWidthTw = 1200;
const int kButtonHeightTw = 300;

struct ButtonDesign {
    int id;
    int leftTw;
    const wchar_t* caption;
    const wchar_t* tip;
    LPCWSTR icon;  // system icon resource
};
// In the order their tool tips are made.
const ButtonDesign kButtons[] = {
    {frmSystem::IDC_PICDELETE, 4080, L"清空记录", L"清空当前的日志记录", IDI_WARNING},
    {frmSystem::IDC_PICVIEW, 120, L"查看记录", L"查看最近的日志记录", IDI_INFORMATION},
    {frmSystem::IDC_PICCLEAR, 1440, L"清除记录", L"清除最近的日志记录", IDI_QUESTION},
    {frmSystem::IDC_PICEXIT, 2760, L"退出", L"退出", IDI_HAND},
};

const ButtonDesign* DesignOf(int id) {
    for (const auto& b : kButtons)
        if (b.id == id) return &b;
    return nullptr;
}

// Where the part of `text` that starts at `from` ends: after the last line end within
// kViewPartChars, never inside a surrogate pair.
size_t ViewPartEnd(const std::wstring& text, size_t from) {
    size_t end = std::min(text.size(), from + kViewPartChars);
    if (end == text.size()) return end;
    const size_t lineEnd = text.rfind(L'\n', end - 1);
    if (lineEnd != std::wstring::npos && lineEnd >= from) return lineEnd + 1;
    if (end - from > 1 && IS_HIGH_SURROGATE(text[end - 1])) --end;
    return end;
}

SYSTEMTIME LocalNow() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return t;
}

RECT ChildRect(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// ---- Drawing of the custom look -------------------------------------------------------

// The picture button's face: its 20 x 20 icon at the left, the caption at (26, 4).
void DrawButtonFace(HWND button, HDC dc, const ButtonDesign& design, HFONT font) {
    RECT rc{};
    ::GetClientRect(button, &rc);
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawIconEx(dc, 0, 0, ::LoadIconW(nullptr, design.icon), 20, 20, 0, nullptr, DI_NORMAL);
    select_scope useFont(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::TextOutW(dc, 26, 4, design.caption, lstrlenW(design.caption));
}

// The text in lines that fit the box's width in its own font, joined by CRLF: the box scrolls
// sideways, and a longer line would show cut until scrolled.
std::wstring FitToBox(HWND box, const std::wstring& text) {
    RECT format{};
    ::SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    unique_window_dc dc = unique_window_dc::client(box);
    if (!dc) return text;
    select_scope useFont(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(box, WM_GETFONT, 0, 0)));
    const std::vector<std::wstring> pieces = FitLines(dc.get(), text, format.right - format.left);
    std::wstring out = pieces.front();
    for (size_t i = 1; i < pieces.size(); ++i) out += L"\r\n" + pieces[i];
    return out;
}

}  // namespace

// ---- Picture buttons -------------------------------------------------------------------

struct LogButton {
    static frmSystem* Owner(HWND button) { return frmSystem::FromWindow(::GetParent(button)); }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_PAINT: {
            paint_scope paint(hwnd);
            const ButtonDesign* design = DesignOf(::GetDlgCtrlID(hwnd));
            if (design) DrawButtonFace(hwnd, paint.dc(), *design, mT3D::WindowFont());
            return 0;
        }
        case WM_LBUTTONDOWN:
            ::SetCapture(hwnd);
            if (frmSystem* owner = Owner(hwnd)) owner->ShowButtonPressed(hwnd);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            ::SetCapture(hwnd);
            return 0;
        case WM_MOUSEMOVE:
            if (frmSystem* owner = Owner(hwnd)) owner->TrackButtonHover(hwnd);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (::GetCapture() == hwnd) ::ReleaseCapture();
            if (frmSystem* owner = Owner(hwnd)) owner->RunButtonAction(::GetDlgCtrlID(hwnd));
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }

    static bool Register() {
        HINSTANCE inst = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{sizeof(wc)};
        if (::GetClassInfoExW(inst, kButtonClass, &wc)) return true;
        wc = WNDCLASSEXW{sizeof(wc)};
        wc.lpfnWndProc = Proc;
        wc.hInstance = inst;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kButtonClass;
        return ::RegisterClassExW(&wc) != 0;
    }
};

// ---- The window ------------------------------------------------------------------------

frmSystem::frmSystem() : logFilePath_(DefaultLogFilePath()), clock_(LocalNow) {}

frmSystem::~frmSystem() {
    if (hwnd_) {
        RunUnloadSteps();
        ::DestroyWindow(hwnd_);
    }
}

frmSystem& frmSystem::Default() {
    static frmSystem instance;
    return instance;
}

std::wstring frmSystem::DefaultLogFilePath() { return ProgramFolder() + L"OperationNotes.log"; }

bool frmSystem::Load() {
    if (hwnd_) return true;
    if (!LogButton::Register()) return false;
    unloadDone_ = false;
    if (!textBack_) textBack_.reset(::CreateSolidBrush(kTextBack));
    RECT r{0, 0, ToPixels(kClientWidthTw), ToPixels(kClientHeightTw)};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&r, style, FALSE, 0);
    if (!CreateWindowOf(0, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top))
        return false;
    OnLoad();
    return true;
}

void frmSystem::CreateControls() {
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    auto make = [&](DWORD ex, const wchar_t* cls, DWORD style, int id) {
        return ::CreateWindowExW(ex, cls, L"", WS_CHILD | style, 0, 0, 10, 10, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    };
    make(0, L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, IDC_LBLTITLE);
    const DWORD box = WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY | ES_NOHIDESEL;
    make(WS_EX_CLIENTEDGE, L"EDIT", WS_VISIBLE | box, IDC_TTEXT);
    make(WS_EX_CLIENTEDGE, L"EDIT", box, IDC_LTEXT);
    for (const auto& b : kButtons) {
        HWND h = make(0, kButtonClass, WS_VISIBLE, b.id);
        ::MoveWindow(h, ToPixels(b.leftTw), 0, ToPixels(kButtonWidthTw), ToPixels(kButtonHeightTw), FALSE);
    }
    // The logs may outgrow an edit box's default limit.
    ::SendMessageW(Control(IDC_TTEXT), EM_SETLIMITTEXT, 0, 0);
    ::SendMessageW(Control(IDC_LTEXT), EM_SETLIMITTEXT, 0, 0);
}

void frmSystem::OnLoad() {
    // Font rule.
    mT3D::ApplyWindowFontRule(hwnd_);

    std::wstring title;
    for (const wchar_t* piece : kTitlePieces) title += piece;
    HWND label = Control(IDC_LBLTITLE);
    ::SetWindowTextW(label, title.c_str());
    {
        // The label is as tall as its wrapped text at the window's width.
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        RECT calc{0, 0, client.right, 0};
        unique_window_dc dc = unique_window_dc::client(label);
        select_scope useFont(dc.get(), mT3D::WindowFont());
        ::DrawTextW(dc.get(), title.c_str(), -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::MoveWindow(label, 0, 4, client.right, calc.bottom + 4, FALSE);
    }

    for (const auto& b : kButtons) {
        tips_.push_back(std::make_unique<ToolTips>());
        tips_.back()->OwnerhWnd(Control(b.id));
        tips_.back()->ToolTipsText(b.tip);
        tips_.back()->CreateToolTipsWindow();
    }

    subclassed_ = mRecShellChangeNotifisSubClass::SubclassWindow(hwnd_);
    if (subclassed_) {
        registered_ = mRecShellChangeNotifiShell::RegisterShellNotify(hwnd_);
    } else {
        log_ = kNoShellMonitor;
        ::SetWindowTextW(Control(IDC_TTEXT), log_.c_str());
    }
    Layout();
}

void frmSystem::Layout() {
    if (!hwnd_ || ::IsIconic(hwnd_)) return;
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    HWND label = Control(IDC_LBLTITLE);
    HWND tText = Control(IDC_TTEXT);
    const RECT lbl = ChildRect(label);
    const RECT del = ChildRect(Control(IDC_PICDELETE));
    ::MoveWindow(label, lbl.left, lbl.top, client.right, lbl.bottom - lbl.top, TRUE);

    const double scaleHeight = ToTwips(client.bottom);
    const double used = ToTwips(lbl.top) + ToTwips(lbl.bottom - lbl.top) + ToTwips(del.bottom - del.top);
    const int textTop = lbl.bottom;
    // A window too low for the buttons leaves the box empty rather than mirrored.
    const int textHeight = ToPixels(std::max(0.0, scaleHeight - used - 20));
    ::MoveWindow(tText, 0, textTop, client.right, textHeight, TRUE);
    ::MoveWindow(Control(IDC_LTEXT), 0, textTop, client.right, textHeight, TRUE);
    if (HWND fill = Control(kViewFillId)) ::MoveWindow(fill, 0, textTop, client.right, textHeight, FALSE);

    const int buttonTop = ToPixels(ToTwips(textTop + textHeight) + 8);
    for (const auto& b : kButtons) {
        HWND h = Control(b.id);
        const RECT r = ChildRect(h);
        ::MoveWindow(h, r.left, buttonTop, r.right - r.left, r.bottom - r.top, TRUE);
    }
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void frmSystem::AppendToLogBox(const std::wstring& line, bool moveCaret) {
    HWND box = Control(IDC_TTEXT);
    if (!box) return;
    DWORD selStart = 0, selEnd = 0;
    ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const int end = ::GetWindowTextLengthW(box);
    ::SendMessageW(box, EM_SETSEL, end, end);
    ::SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    if (moveCaret) {
        const int newEnd = ::GetWindowTextLengthW(box);
        ::SendMessageW(box, EM_SETSEL, newEnd, newEnd);
        ::SendMessageW(box, EM_SCROLLCARET, 0, 0);
    } else {
        ::SendMessageW(box, EM_SETSEL, selStart, selEnd);
    }
}

void frmSystem::GetFileCopyLog(const std::wstring& message) {
    try {
        if (!Load()) return;
        const std::wstring line = OperationLogLine(clock_(), message);
        log_ += line;
        AppendToLogBox(line, false);
    } catch (...) {
        // The copy engine's work goes on whatever happens to its log.
    }
}

void frmSystem::WriteShellEntry(const std::wstring& text) {
    try {
        std::wstring message = text;
        if (message.size() >= 2 && message.compare(message.size() - 2, 2, L"\r\n") == 0)
            message.resize(message.size() - 2);
        const std::wstring line = OperationLogLine(clock_(), message);
        log_ += line;
        AppendToLogBox(line, true);
        ShowCurrentLog();
    } catch (...) {
    }
}

void frmSystem::ShowCurrentLog() {
    ::ShowWindow(Control(IDC_LTEXT), SW_HIDE);
    ::ShowWindow(Control(IDC_TTEXT), SW_SHOW);
}

void frmSystem::RunButtonAction(int id) {
    switch (id) {
    case IDC_PICVIEW: {
        HWND lText = Control(IDC_LTEXT);
        std::wstring text =
            ReadLogFile(logFilePath_, kLogViewBytes, [lText](const std::wstring& notice) { return FitToBox(lText, notice); });
        StartViewFill((!text.empty() && text.size() != 2) ? std::move(text) : std::wstring(kNoLogRecords));
        ::ShowWindow(Control(IDC_TTEXT), SW_HIDE);
        ::ShowWindow(lText, SW_SHOW);
        break;
    }
    case IDC_PICCLEAR:
        WriteLogFile(logFilePath_, L"");
        ShowCurrentLog();
        break;
    case IDC_PICEXIT:
        ShowCurrentLog();
        Unload();
        break;
    case IDC_PICDELETE:
        log_.clear();
        ::SetWindowTextW(Control(IDC_TTEXT), L"");
        ShowCurrentLog();
        break;
    }
}

// The first part goes into the view at once. A larger text is filled from the timer into a
// hidden box of the same kind, which then takes the view's place: a shown edit control
// draws and scrolls with every part, several times the cost of the text itself.
void frmSystem::StartViewFill(std::wstring text) {
    EndViewFill();
    viewText_ = std::move(text);
    viewFilled_ = ViewPartEnd(viewText_, 0);
    ::SetWindowTextW(Control(IDC_LTEXT), viewText_.substr(0, viewFilled_).c_str());
    if (ViewFilling()) ::SetTimer(hwnd_, kViewFillTimer, USER_TIMER_MINIMUM, nullptr);
    else EndViewFill();
}

// The hidden box, made at the first tick with what the view holds.
HWND frmSystem::ViewFillBox() {
    if (HWND fill = Control(kViewFillId)) return fill;
    HWND view = Control(IDC_LTEXT);
    const RECT r = ChildRect(view);
    HWND fill = ::CreateWindowExW(static_cast<DWORD>(::GetWindowLongW(view, GWL_EXSTYLE)), L"EDIT", L"",
                                  static_cast<DWORD>(::GetWindowLongW(view, GWL_STYLE)) & ~WS_VISIBLE, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewFillId)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!fill) return nullptr;
    ::SendMessageW(fill, WM_SETFONT, ::SendMessageW(view, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageW(fill, EM_SETLIMITTEXT, 0, 0);
    ::SetWindowTextW(fill, viewText_.substr(0, viewFilled_).c_str());
    return fill;
}

// Appends parts to the hidden box for one slice of time; the last part puts it in the view's
// place, with the view's selection and first line shown.
void frmSystem::FillViewPart() {
    if (!ViewFilling()) return EndViewFill();
    HWND fill = ViewFillBox();
    if (!fill) {
        // Without room for a second box, the view takes the whole text in one piece.
        ::SetWindowTextW(Control(IDC_LTEXT), viewText_.c_str());
        return EndViewFill();
    }
    const int64_t until = TickClock::Now() + kViewSliceMs * TickClock::PerMs();
    do {
        const size_t end = ViewPartEnd(viewText_, viewFilled_);
        const std::wstring part = viewText_.substr(viewFilled_, end - viewFilled_);
        const int length = ::GetWindowTextLengthW(fill);
        ::SendMessageW(fill, EM_SETSEL, length, length);
        ::SendMessageW(fill, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
        viewFilled_ = end;
    } while (ViewFilling() && TickClock::Now() < until);
    if (ViewFilling()) return;

    HWND view = Control(IDC_LTEXT);
    DWORD selStart = 0, selEnd = 0;
    ::SendMessageW(view, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const LRESULT firstLine = ::SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SendMessageW(fill, EM_SETSEL, selStart, selEnd);
    ::SendMessageW(fill, EM_LINESCROLL, 0, firstLine - ::SendMessageW(fill, EM_GETFIRSTVISIBLELINE, 0, 0));
    ::SetWindowLongPtrW(view, GWLP_ID, 0);
    ::SetWindowLongPtrW(fill, GWLP_ID, IDC_LTEXT);
    ::SetWindowPos(fill, view, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = ::GetFocus() == view;
    if (::GetWindowLongW(view, GWL_STYLE) & WS_VISIBLE) ::ShowWindow(fill, SW_SHOWNA);
    if (focused) ::SetFocus(fill);
    ::DestroyWindow(view);
    EndViewFill();
}

void frmSystem::EndViewFill() {
    if (hwnd_) {
        ::KillTimer(hwnd_, kViewFillTimer);
        if (HWND fill = Control(kViewFillId)) ::DestroyWindow(fill);
    }
    viewText_.clear();
    viewFilled_ = 0;
}

void frmSystem::ShowButtonPressed(HWND button) { mT3D::DrawControlFrame3D(hwnd_, button, 2, mT3D::Frame3DSunken); }

void frmSystem::TrackButtonHover(HWND button) {
    POINT pt{};
    ::GetCursorPos(&pt);
    if (::WindowFromPoint(pt) != button) {
        mT3D::DrawControlFrame3D(hwnd_, button, 2, mT3D::Frame3DFlat);
        if (::GetCapture() == button) ::ReleaseCapture();
    } else if (::GetCapture() != button) {
        ::SetCapture(button);
        mT3D::DrawControlFrame3D(hwnd_, button, 2, mT3D::Frame3DRaised);
    }
}

void frmSystem::ShowModal() {
    if (!Load()) return;
    // Loaded hidden at start-up; each showing opens over the main window where it now stands.
    if (MainWindow* main = TheMainWindow()) mT3D::CentreOverWindow(hwnd_, main->Handle());
    RunModal(hwnd_);
}

bool frmSystem::Unload() {
    if (!hwnd_) return true;
    if (KeepLoaded) {
        ::ShowWindow(hwnd_, SW_HIDE);
        return false;
    }
    RunUnloadSteps();
    ::DestroyWindow(hwnd_);
    return true;
}

void frmSystem::RunUnloadSteps() {
    if (unloadDone_) return;
    unloadDone_ = true;
    if (registered_) {
        mRecShellChangeNotifiShell::DeregisterShellNotify();
        registered_ = false;
    }
    if (subclassed_) {
        mRecShellChangeNotifisSubClass::UnsubclassWindow(hwnd_);
        subclassed_ = false;
    }
    // A run that could not be saved (a full disk, a locked log) stays in the window.
    if (!log_.empty() && AppendLogFile(logFilePath_, log_)) log_.clear();
}

LRESULT frmSystem::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED) Layout();
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        const HWND control = reinterpret_cast<HWND>(lp);
        if (control == Control(IDC_TTEXT) || control == Control(IDC_LTEXT)) {
            HDC dc = reinterpret_cast<HDC>(wp);
            ::SetBkColor(dc, kTextBack);
            ::SetTextColor(dc, kTextFore);
            return reinterpret_cast<LRESULT>(textBack_.get());
        }
        break;
    }
    case WM_TIMER:
        if (wp == kViewFillTimer) FillViewPart();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        EndViewFill();
        // Also when something else destroys the window: the run's log still reaches the file.
        RunUnloadSteps();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
