#include "PromptFrame.h"
#include "PromptText.h"
#include "services/ComServer.h"
#include "services/ModalHold.h"
#include <shellapi.h>
#include <iterator>
#include <utility>

namespace dorvex {
namespace {

const wchar_t kWindowClass[] = L"DorvexPromptWindow";
const wchar_t kPanelClass[] = L"DorvexPanel";

std::wstring ThousandsSeparator() {
    wchar_t buf[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buf, static_cast<int>(std::size(buf))) > 0)
        return buf;
    return L",";
}

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) {
    *reinterpret_cast<bool*>(p) = true;
    return 0;
}

BOOL CALLBACK MatchControlId(HWND h, LPARAM p) {
    auto* f = reinterpret_cast<std::pair<int, HWND>*>(p);
    if (::GetDlgCtrlID(h) != f->first) return TRUE;
    f->second = h;
    return FALSE;
}

bool HasWildcard(const std::wstring& path) { return path.find_first_of(L"*?") != std::wstring::npos; }

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        const size_t pos = text.find(L"\r\n", start);
        if (pos == std::wstring::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, pos - start));
        start = pos + 2;
    }
}

}  // namespace

ModuleState& ThreadState() {
    thread_local ModuleState state;
    return state;
}

void DrawFileIcon(HWND box, const std::wstring& path, int size) {
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE;
    if (size == 16) flags |= SHGFI_SMALLICON;
    else if (size != 32) return;
    SHFILEINFOW info{};
    const auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags));
    HICON icon = list ? ::ImageList_GetIcon(list, info.iIcon, ILD_TRANSPARENT) : nullptr;
    // The box owns its icon: the previous one goes when the new one comes in.
    salva::unique_hicon old(reinterpret_cast<HICON>(
        ::SendMessageW(box, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0)));
}

std::wstring FormatDateTimeText(const SYSTEMTIME& t) {
    wchar_t date[128] = {}, time[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, date, static_cast<int>(std::size(date)));
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, static_cast<int>(std::size(time)));
    return std::wstring(date) + time;
}

std::wstring FormatFileTime(const std::wstring& path, int kind) {
    if (path.empty() || HasWildcard(path)) return L"";
    WIN32_FIND_DATAW found{};
    salva::unique_hfind find(::FindFirstFileW(path.c_str(), &found));
    if (!find) return L"";
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY))
        return L"";
    SYSTEMTIME t{};
    if (kind == 0) {
        FILETIME local{};
        if (!::FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &t))
            return L"[未知]";
    } else if (kind == 1) {
        ::GetLocalTime(&t);
    } else {
        return L"";
    }
    std::wstring text = FormatDateTimeText(t);
    if (kind == 0 && text.empty()) return L"[未知]";
    return text + AmPmSuffix(t.wHour);
}

std::wstring FileInformationText(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    int64_t size = 0;
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return InformationText(SizeLine(size, ThousandsSeparator()), FormatFileTime(path, 0),
                           FormatFileTime(path, 1));
}

std::wstring FileNamePart(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool FaceInstalled(const wchar_t* face) {
    if (!face || !*face) return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    salva::unique_window_dc dc = salva::unique_window_dc::client(nullptr);
    ::EnumFontFamiliesExW(dc.get(), &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

HFONT PromptFont() {
    static salva::unique_hfont font = [] {
        salva::unique_window_dc dc = salva::unique_window_dc::client(nullptr);
        const int dpi = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        const bool song = FaceInstalled(L"宋体");
        LOGFONTW lf{};
        lf.lfHeight = -::MulDiv(song ? 9 : 8, dpi, 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = song ? GB2312_CHARSET : DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, song ? L"宋体" : L"MS Sans Serif", LF_FACESIZE);
        return salva::unique_hfont(::CreateFontIndirectW(&lf));
    }();
    return font.get();
}

// ---------------------------------------------------------------------------------------------

PromptWindow::PromptWindow(const wchar_t* caption, int clientW, int clientH, std::vector<Design> design)
    : caption_(caption), clientW_(clientW), clientH_(clientH), design_(std::move(design)) {}

PromptWindow::~PromptWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

namespace {

// Registers one of the library's window classes unless this load of the library already did.
// A class of the same name left by an earlier load at the same address (one whose unload did
// not take it away) points into code that is gone: it is replaced.
bool RegisterPromptClass(const wchar_t* name, WNDPROC proc) {
    const HINSTANCE inst = salva::com::ThisModule();
    WNDCLASSEXW wc{sizeof(wc)};
    if (::GetClassInfoExW(inst, name, &wc)) {
        if (wc.lpfnWndProc == proc) return true;
        ::UnregisterClassW(name, inst);
    }
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

void UnregisterPromptClasses() {
    const HINSTANCE inst = salva::com::ThisModule();
    ::UnregisterClassW(kWindowClass, inst);
    ::UnregisterClassW(kPanelClass, inst);
}

bool PromptWindow::Create(HWND owner) {
    if (!RegisterPromptClass(kWindowClass, WndProc) || !RegisterPromptClass(kPanelClass, PanelProc)) return false;

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT r{0, 0, clientW_, clientH_};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    hwnd_ = ::CreateWindowExW(exStyle, kWindowClass, caption_, style, 0, 0, r.right - r.left,
                              r.bottom - r.top, owner, nullptr, salva::com::ThisModule(), this);
    if (!hwnd_) return false;
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(PromptFont()), FALSE);

    for (const Design& d : design_) {
        HWND parent = d.parent ? Control(d.parent) : hwnd_;
        if (!parent) continue;
        const wchar_t* cls = L"STATIC";
        DWORD cs = WS_CHILD | WS_VISIBLE;
        DWORD ex = 0;
        switch (d.kind) {
        case Kind::Label: cs |= SS_LEFT | SS_NOPREFIX; break;
        case Kind::Panel: cls = kPanelClass; cs |= WS_CLIPSIBLINGS; break;
        case Kind::IconBox:
        case Kind::Image: cs |= SS_ICON | SS_CENTERIMAGE; break;
        case Kind::Button: cls = L"BUTTON"; cs |= BS_PUSHBUTTON | WS_TABSTOP; break;
        case Kind::Option:
            cls = L"BUTTON";
            cs |= BS_AUTORADIOBUTTON | WS_TABSTOP;
            if (&d == &design_.front() || (&d - 1)->kind != Kind::Option) cs |= WS_GROUP;
            break;
        case Kind::TextBox:
            cls = L"EDIT";
            cs |= ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
            ex = WS_EX_CLIENTEDGE;
            break;
        }
        HWND c = ::CreateWindowExW(ex, cls, d.text ? d.text : L"", cs, d.x, d.y, d.w, d.h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)),
                                   salva::com::ThisModule(), nullptr);
        if (!c) continue;
        ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(PromptFont()), FALSE);
        if (d.kind == Kind::Panel) ::SetWindowLongPtrW(c, GWLP_USERDATA, d.ruleY + 1);
        if (d.kind == Kind::Label) SizeLabel(c);
        if (d.kind == Kind::Image)
            ::SendMessageW(c, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_QUESTION)), 0);
    }
    return true;
}

HWND PromptWindow::Control(int id) const {
    if (!hwnd_) return nullptr;
    // Controls may sit inside panels, so search the whole tree.
    std::pair<int, HWND> f{id, nullptr};
    ::EnumChildWindows(hwnd_, MatchControlId, reinterpret_cast<LPARAM>(&f));
    return f.second;
}

void PromptWindow::SetText(int id, const std::wstring& text) {
    if (HWND c = Control(id)) ::SetWindowTextW(c, text.c_str());
}

std::wstring PromptWindow::Text(int id) const {
    HWND c = Control(id);
    if (!c) return L"";
    std::wstring s(static_cast<size_t>(::GetWindowTextLengthW(c)) + 1, L'\0');
    s.resize(static_cast<size_t>(::GetWindowTextW(c, &s[0], static_cast<int>(s.size()))));
    return s;
}

void PromptWindow::SizeLabel(HWND label) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(label, &text[0], static_cast<int>(text.size()))));
    salva::unique_window_dc dc = salva::unique_window_dc::client(label);
    if (!dc) return;
    salva::select_scope font(dc.get(), PromptFont());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.get(), &tm);
    int width = 0;
    const std::vector<std::wstring> lines = SplitLines(text);
    for (const std::wstring& line : lines) {
        SIZE sz{};
        ::GetTextExtentPoint32W(dc.get(), line.c_str(), static_cast<int>(line.size()), &sz);
        if (sz.cx > width) width = sz.cx;
    }
    const int height = tm.tmHeight * static_cast<int>(lines.size());
    ::SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PromptWindow::SetLabel(int id, const std::wstring& text) {
    if (HWND c = Control(id)) {
        ::SetWindowTextW(c, text.c_str());
        SizeLabel(c);
    }
}

RECT PromptWindow::Bounds(int id) const {
    RECT r{};
    HWND c = Control(id);
    if (!c) return r;
    ::GetWindowRect(c, &r);
    ::MapWindowPoints(nullptr, ::GetParent(c), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void PromptWindow::Move(int id, int x, int y, int w, int h) {
    if (HWND c = Control(id)) ::MoveWindow(c, x, y, w, h, TRUE);
}

int PromptWindow::ClientWidth() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return r.right;
}

int PromptWindow::OuterWidth() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r.right - r.left;
}

void PromptWindow::SetOuterWidth(int width) {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PromptWindow::SetOuterHeight(int height) {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PromptWindow::LayoutPass(int gap, int lowerPanel) {
    auto height = [this](int id) { RECT r = Bounds(id); return static_cast<int>(r.bottom - r.top); };
    auto top = [this](int id) { return static_cast<int>(Bounds(id).top); };
    auto moveTo = [this](int id, int newTop, int newHeight) {
        RECT r = Bounds(id);
        Move(id, r.left, newTop, r.right - r.left, newHeight);
    };
    moveTo(ids::picSurIcon, top(ids::lblSurFileName) + height(ids::lblSurFileName),
           height(ids::lblSurFileInformation));
    const int decTop = top(ids::picSurIcon) + height(ids::picSurIcon) + gap;
    moveTo(ids::lblDecFileName, decTop, height(ids::lblDecFileName));
    moveTo(ids::lblDec, decTop, height(ids::lblDec));
    moveTo(ids::picDecIcon, top(ids::lblDecFileName) + height(ids::lblDecFileName),
           height(ids::lblDecFileInformation));
    moveTo(lowerPanel, top(ids::picDecIcon) + height(ids::picDecIcon) + 10, height(lowerPanel));
}

void PromptWindow::FillFiles(const std::wstring& sur, const std::wstring& dec) {
    DrawFileIcon(Control(ids::picSurIcon_32), sur, 32);
    SetLabel(ids::lblSurFileInformation, FileInformationText(sur));
    DrawFileIcon(Control(ids::picDecIcon_32), dec, 32);
    SetLabel(ids::lblDecFileInformation, FileInformationText(dec));
}

RECT PromptWindow::WorkArea() const {
    MONITORINFO mi{sizeof(mi)};
    if (::GetMonitorInfoW(::MonitorFromWindow(owner_ ? owner_ : hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi))
        return mi.rcWork;
    RECT r{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

int PromptWindow::MaxLabelWidth(int labelId) const {
    // The width rule widens the window until the label ends 10 pixels inside it; the window
    // may grow to the work area's width and no further.
    const RECT work = WorkArea();
    const int frame = OuterWidth() - ClientWidth();
    return static_cast<int>(work.right - work.left) - frame - static_cast<int>(Bounds(labelId).left) - 10;
}

TextWidth PromptWindow::LabelTextWidth(int labelId) const {
    HWND label = Control(labelId);
    return [label](const std::wstring& text) {
        salva::unique_window_dc dc = salva::unique_window_dc::client(label);
        if (!dc) return 0;
        salva::select_scope font(dc.get(), PromptFont());
        SIZE sz{};
        ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &sz);
        return static_cast<int>(sz.cx);
    };
}

void PromptWindow::FillNamesAndLayout(const std::wstring& sur, const std::wstring& dec, int gap, int lowerPanel,
                                      void (*bottomRule)(PromptWindow&)) {
    // A path too wide for the screen is shortened in the middle, line by line.
    auto setName = [this](int id, const std::wstring& path) {
        SetLabel(id, NameLines(path, MaxLabelWidth(id), LabelTextWidth(id)));
    };
    setName(ids::lblSurFileName, sur);
    setName(ids::lblDecFileName, dec);
    LayoutPass(gap, lowerPanel);
    bottomRule(*this);
    WidenFor(ids::lblSurFileName);
    WidenFor(ids::lblDecFileName);
}

void PromptWindow::WidenFor(int labelId) {
    const RECT r = Bounds(labelId);
    const int client = ClientWidth();
    if (r.right > client) SetOuterWidth(OuterWidth() + (r.right - client + 10));
}

void PromptWindow::Unload() {
    if (!hwnd_) return;
    // Let the owner go first, so activation returns to it and not elsewhere; a loop that
    // began above the prompt and still runs (a close question) keeps it held.
    if (ownerHeld_) {
        salva::ReleaseWindow(owner_);
        ownerHeld_ = false;
    }
    ::DestroyWindow(hwnd_);
    // The close may come inside a message sent from another thread, while the modal loop
    // waits in GetMessage: wake it so it sees the window is gone.
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool PromptWindow::ShowModal() {
    HWND owner = ::GetActiveWindow();
    // An owned window has no task-bar button; with no active window a hidden one owns it.
    salva::unique_hwnd hiddenOwner;
    if (!owner) {
        hiddenOwner.reset(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                            salva::com::ThisModule(), nullptr));
        owner = hiddenOwner.get();
    }
    owner_ = owner;
    if (!Create(owner)) return false;
    Fill();

    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    const POINT at = PlaceInside(WorkArea(), r.right - r.left, r.bottom - r.top);
    ::SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (owner && !hiddenOwner) ownerHeld_ = salva::HoldWindow(owner);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);

    MSG msg;
    while (hwnd_ && ::IsWindow(hwnd_)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave the quit for the caller's own loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            Unload();
            break;
        }
        if (got == -1) break;
        if (!::IsDialogMessageW(hwnd_, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (ownerHeld_) {
        salva::ReleaseWindow(owner_);
        ownerHeld_ = false;
    }
    if (!hiddenOwner && ::IsWindow(owner_) && ::IsWindowEnabled(owner_)) ::SetActiveWindow(owner_);
    return true;
}

LRESULT CALLBACK PromptWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PromptWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<PromptWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<PromptWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->HandleMessage(msg, wp, lp);
}

LRESULT PromptWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH b = OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
            return reinterpret_cast<LRESULT>(b);
        break;
    case WM_CLOSE:
        // The close box makes no choice: the result stays 0.
        Unload();
        return 0;
    case WM_DESTROY:
        for (const Design& d : design_) {
            if (d.kind != Kind::IconBox) continue;
            if (HWND c = Control(d.id))
                salva::unique_hicon(reinterpret_cast<HICON>(::SendMessageW(c, STM_SETICON, 0, 0)));
        }
        break;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK PromptWindow::PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ::SendMessageW(::GetParent(hwnd), msg, wp, lp);
    case WM_PAINT: {
        salva::paint_scope paint(hwnd);
        const LONG_PTR rule = ::GetWindowLongPtrW(hwnd, GWLP_USERDATA) - 1;
        if (rule >= 0 && paint.dc()) {
            RECT r{};
            ::GetClientRect(hwnd, &r);
            // An etched rule: a grey line with a white line under it.
            RECT grey{0, static_cast<LONG>(rule), r.right, static_cast<LONG>(rule) + 1};
            RECT white{0, static_cast<LONG>(rule) + 1, r.right, static_cast<LONG>(rule) + 2};
            ::FillRect(paint.dc(), &grey, ::GetSysColorBrush(COLOR_BTNSHADOW));
            ::FillRect(paint.dc(), &white, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        }
        return 0;
    }
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace dorvex
