#include "copier/frmDialog.h"
#include "inspect/Mp3ID3v1TAG.h"
#include "services/FileSystem.h"
#include "services/MainWindow.h"
#include "services/Text.h"
#include "services/ToolTips.h"
#include "services/WaitCursor.h"
#include "services/WindowText.h"
#include "services/mDoEvents.h"
#include "services/mT3D.h"
#include <commctrl.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace salva {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr int kDesignWidth = 357, kDesignHeight = 192;
const COLORREF kBack = RGB(255, 255, 204);
const COLORREF kNameFrame = RGB(225, 225, 225);
const wchar_t kOK[] = L"确定";
const wchar_t kCancel[] = L"取消";

enum Box { PicText, PicIcon16, PicIcon32, PicOK, PicCancel };

struct Rect {
    int left, top, width, height;
};

Rect RectIn(HWND w) {
    RECT rc{};
    ::GetWindowRect(w, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(w), reinterpret_cast<POINT*>(&rc), 2);
    return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

void MoveTo(HWND w, int left, int top) {
    ::SetWindowPos(w, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE ClientSize(HWND w) {
    RECT rc{};
    ::GetClientRect(w, &rc);
    return {rc.right, rc.bottom};
}

// A label that sizes itself to its text, as the system draws it.
void SizeLabelToText(HWND label) {
    const std::wstring text = WindowTextOf(label);
    auto dc = unique_window_dc::client(label);
    if (!dc) return;
    select_scope font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT rc{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rc,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT);
    ::SetWindowPos(label, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsButtonDown(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_XBUTTONDOWN: case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_NCXBUTTONDOWN: case WM_NCXBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

bool IsInput(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
           (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

std::optional<rename_text::Mp3TagFacts> Mp3TagFactsOf(const std::wstring& path) {
    Mp3ID3v1TAG tag;
    if (!tag.GetId3(path)) return std::nullopt;
    return rename_text::Mp3TagFacts{tag.Title(), tag.Artist(), tag.Album(), tag.Year(),
                                    tag.Genre(), tag.Track(), tag.Comments()};
}

void ShowRenamePopup(HWND anchor) {
    MainWindow* main = TheMainWindow();
    if (!main) return;
    frmDialog popup(*main);
    if (popup.Load(anchor ? anchor : main->FileListCombo())) popup.ShowModal();
}

frmDialog::frmDialog(MainWindow& main, Renamer renamer)
    : main_(main), renamer_(std::move(renamer)), backBrush_(::CreateSolidBrush(kBack)) {
    if (!renamer_) renamer_ = [](const std::wstring& from, const std::wstring& to) { return FileSystem().ReName(from, to); };
}

frmDialog::~frmDialog() {
    nameBoxSubclass_.Remove();
    if (hwnd_) ::DestroyWindow(hwnd_);
}

HWND frmDialog::Control(int id) const {
    if (id < IDC_lblTitle || id >= IDC_Last) return nullptr;
    return controls_[static_cast<size_t>(id - IDC_lblTitle)];
}

bool frmDialog::Load(HWND anchor) {
    if (hwnd_) return false;
    if (!CreateWindowOf(WS_EX_TOOLWINDOW, L"重命名", WS_POPUP | WS_CLIPCHILDREN, 0, 0, kDesignWidth, kDesignHeight))
        return false;
    CreateControls();
    Form_Load(anchor);
    return hwnd_ != nullptr;
}

void frmDialog::CreateControls() {
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                     HWND parent) {
        HWND c = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        controls_[static_cast<size_t>(id - IDC_lblTitle)] = c;
        return c;
    };
    auto box = [&](Box b, int id, int x, int y, int w, int h) {
        boxes_[b].Create(hwnd_, id, x, y, w, h);
        controls_[static_cast<size_t>(id - IDC_lblTitle)] = boxes_[b].Window();
    };
    child(L"STATIC", L"Title", SS_LEFT | SS_NOPREFIX, 28, 20, 30, 12, IDC_lblTitle, hwnd_);
    child(L"STATIC", L"Text", SS_LEFT | SS_NOPREFIX, 64, 40, 24, 12, IDC_lblText, hwnd_);
    box(PicText, IDC_PicText, 54, 104, 281, 42);
    // Tall enough for the brackets of the Chinese face; the name box starts at 18.
    child(L"STATIC", L"请输入新的文件名[例如]：", SS_LEFT | SS_NOPREFIX, 10, 0, 200, 17, IDC_lblNewText,
          boxes_[PicText].Window());
    child(L"EDIT", L"新的文件名", WS_TABSTOP | ES_AUTOHSCROLL, 6, 18, 265, 16, IDC_txtNewFileName,
          boxes_[PicText].Window());
    box(PicIcon16, IDC_PicIcon16, 8, 20, 16, 16);
    box(PicIcon32, IDC_PicIcon32, 16, 56, 32, 32);
    box(PicOK, IDC_PicOK, 64, 148, 65, 23);
    box(PicCancel, IDC_PicCancel, 144, 148, 65, 23);

    boxes_[PicOK].SetMouseHandler([this](UINT msg, WPARAM, int, int) {
        if (msg == WM_LBUTTONDOWN) PicOK_MouseDown();
        else if (msg == WM_MOUSEMOVE) TrackButtonHover(boxes_[PicOK], kOK);
    });
    boxes_[PicCancel].SetMouseHandler([this](UINT msg, WPARAM, int, int) {
        if (msg == WM_LBUTTONDOWN) PicCancel_MouseDown();
        else if (msg == WM_MOUSEMOVE) TrackButtonHover(boxes_[PicCancel], kCancel);
    });
    // Enter in the name box is OK; every other key types.
    nameBoxSubclass_.Install(Control(IDC_txtNewFileName), [this](HWND box, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_KEYDOWN && wp == VK_RETURN) {
            PicOK_MouseDown();
            return LRESULT{0};
        }
        if (msg == WM_CHAR && wp == L'\r') return LRESULT{0};
        return nameBoxSubclass_.CallPrevious(box, msg, wp, lp);
    });
}

void frmDialog::Form_Load(HWND anchor) {
    mT3D::ApplyWindowFontRule(hwnd_);
    ShowRenameInfo(main_.FileListText(), anchor);
    if (hwnd_) ::SetTimer(hwnd_, kTimerId, 500, nullptr);
}

void frmDialog::ShowRenameInfo(const std::wstring& path, HWND anchor) {
    mT3D::SleepMs(500);
    for (PictureBox& b : boxes_) {
        b.SetBackColor(kBack);
        b.Clear();
    }
    HWND title = Control(IDC_lblTitle), text = Control(IDC_lblText), name = Control(IDC_txtNewFileName);
    {
        FileSystem fs;
        if (fs.FileExists(path)) {
            ::SetWindowTextW(title, (L"重命名：" + path).c_str());
            rename_text::FileFacts facts;
            FileLength64(path, facts.length);
            facts.typeName = fs.GetFileTypeName(path);
            facts.created = fs.GetFileDateTime(path, 0);
            facts.modified = fs.GetFileDateTime(path, 1);
            facts.accessed = fs.GetFileDateTime(path, 2);
            facts.attributes = fs.GetFileAttributesStr(path);
            std::optional<rename_text::Mp3TagFacts> tag;
            if (UpperTail(path, 3) == L"MP3") tag = Mp3TagFactsOf(path);
            ::SetWindowTextW(text, rename_text::FactsText(facts, tag).c_str());
            const std::wstring proposed = rename_text::ProposedName(fs.GetFileName(path));
            ::SetWindowTextW(name, proposed.c_str());
            for (Box b : {PicIcon16, PicIcon32}) {
                mT3D::DrawShellIconOn(boxes_[b].dc(), path, b == PicIcon16 ? 16 : 32);
                boxes_[b].Refresh();
            }
            // The tip keeps the proposal; the tip window stays with the name box.
            ToolTips tip;
            tip.OwnerhWnd(name);
            tip.ToolTipsTitle(L"");
            tip.ToolTipsText(proposed);
            tip.CreateToolTipsWindow();
        }
    }
    ::SetWindowTextW(title, rename_text::TitleLines(WindowTextOf(title)).c_str());
    SizeLabelToText(title);
    SizeLabelToText(text);

    // Top to bottom: title, facts, name box, buttons.
    const Rect t = RectIn(title);
    MoveTo(text, RectIn(text).left, t.top + t.height);
    const Rect f = RectIn(text);
    HWND picText = boxes_[PicText].Window();
    MoveTo(picText, RectIn(picText).left, f.top + f.height + 10);
    const Rect p = RectIn(picText);
    for (Box b : {PicOK, PicCancel}) MoveTo(boxes_[b].Window(), RectIn(boxes_[b].Window()).left, p.top + p.height);
    const Rect c = RectIn(boxes_[PicCancel].Window());
    // 10 pixels stay free right of the widest line, title or facts; one button height stays
    // below the buttons, of which the lowest 16 pixels hold a bottom tail.
    int width = ClientSize(hwnd_).cx;
    const int widest = std::max(t.left + t.width, f.left + f.width);
    if (widest > width) width += widest - width + 10;
    ::SetWindowPos(hwnd_, nullptr, 0, 0, width, c.top + 2 * c.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    {
        HDC dc = boxes_[PicText].dc();
        const Rect n = RectIn(name);
        unique_hpen pen(::CreatePen(PS_SOLID, 1, kNameFrame));
        select_scope sp(dc, pen.get()), sb(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, n.left - 1, n.top - 1, n.left + n.width + 2, n.top + n.height + 2);
        boxes_[PicText].Refresh();
    }
    HWND icon32 = boxes_[PicIcon32].Window();
    const int inner = ClientSize(hwnd_).cy;
    MoveTo(icon32, RectIn(icon32).left, static_cast<int>(std::floor((inner - ClientSize(icon32).cy) * 0.4)));

    for (Box b : {PicOK, PicCancel}) {
        const SIZE s = ClientSize(boxes_[b].Window());
        unique_hrgn rgn(::CreateRoundRectRgn(0, 0, s.cx, s.cy, 6, 6));
        // The system owns a region it accepted.
        if (rgn && ::SetWindowRgn(boxes_[b].Window(), rgn.get(), TRUE)) rgn.release();
    }
    PlaceBalloonAtControl(anchor);
    RECT wr{};
    ::GetWindowRect(hwnd_, &wr);
    placedLeft_ = wr.left;
    placedTop_ = wr.top;
    DrawBalloonButton(boxes_[PicOK], 0, 6);
    PrintCaption(boxes_[PicOK], kOK);
    DrawBalloonButton(boxes_[PicCancel], 0, 6);
    PrintCaption(boxes_[PicCancel], kCancel);
}

void frmDialog::PlaceBalloonAtControl(HWND anchor) {
    BalloonRequest r;
    if (!anchor || !::GetWindowRect(anchor, &r.anchor)) return;
    auto screen = unique_window_dc::client(nullptr);
    if (!screen) return;
    r.twipsPerPixelX = 1440.0 / ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    r.twipsPerPixelY = 1440.0 / ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    r.screenWidth = std::lround(::GetSystemMetrics(SM_CXSCREEN) * r.twipsPerPixelX);
    r.screenHeight = std::lround(::GetSystemMetrics(SM_CYSCREEN) * r.twipsPerPixelY);
    RECT wr{};
    ::GetWindowRect(hwnd_, &wr);
    r.popupWidth = (wr.right - wr.left) * r.twipsPerPixelX;
    r.popupHeight = (wr.bottom - wr.top) * r.twipsPerPixelY;
    const BalloonPlacement p = PlaceBalloon(r);
    ::SetWindowPos(hwnd_, nullptr, static_cast<int>(std::lround(p.left / r.twipsPerPixelX)),
                   static_cast<int>(std::lround(p.top / r.twipsPerPixelY)), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetBalloonRegion(p.style);
}

void frmDialog::SetBalloonRegion(int style) {
    const SIZE size = ClientSize(hwnd_);
    BalloonShape shape{};
    if (!BalloonShapeFor(style, size.cx, size.cy, shape)) return;
    unique_hrgn path;
    if (auto dc = unique_window_dc::client(hwnd_)) {
        ::BeginPath(dc.get());
        ::MoveToEx(dc.get(), shape.tail[0].x, shape.tail[0].y, nullptr);
        ::LineTo(dc.get(), shape.tail[1].x, shape.tail[1].y);
        ::LineTo(dc.get(), shape.tail[2].x, shape.tail[2].y);
        ::LineTo(dc.get(), shape.tail[0].x, shape.tail[0].y);
        ::RoundRect(dc.get(), shape.body.left, shape.body.top, shape.body.right, shape.body.bottom, 20, 20);
        ::CloseFigure(dc.get());
        if (::EndPath(dc.get())) path.reset(::PathToRegion(dc.get()));
    }
    unique_hrgn body(::CreateRoundRectRgn(shape.body.left, shape.body.top, shape.body.right, shape.body.bottom, 20, 20));
    unique_hrgn balloon(::CreateRectRgn(0, 0, 0, 0));
    // A region the system accepted is its own from then on: it is released, never deleted.
    if (balloon && path && body && ::CombineRgn(balloon.get(), path.get(), body.get(), RGN_OR) != ERROR &&
        ::SetWindowRgn(hwnd_, balloon.get(), TRUE)) {
        balloon.release();
    } else if (path && ::SetWindowRgn(hwnd_, path.get(), TRUE)) {
        path.release();
    }
    style_ = style;
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void frmDialog::Paint(HDC dc) {
    const SIZE size = ClientSize(hwnd_);
    RECT all{0, 0, size.cx, size.cy};
    ::FillRect(dc, &all, backBrush_.get());
    BalloonShape shape{};
    if (!BalloonShapeFor(style_, size.cx, size.cy, shape)) return;
    unique_hpen black(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    unique_hpen back(::CreatePen(PS_SOLID, 1, kBack));
    select_scope sb(dc, ::GetStockObject(NULL_BRUSH));
    {
        select_scope sp(dc, black.get());
        const RECT& o = shape.outline;
        ::RoundRect(dc, o.left, o.top, o.right, o.bottom, 20, 20);
        ::RoundRect(dc, o.left, o.top, o.right, o.bottom, 16, 16);
    }
    for (const BalloonShape::Line& line : shape.lines) {
        select_scope sp(dc, line.background ? back.get() : black.get());
        ::MoveToEx(dc, line.from.x, line.from.y, nullptr);
        ::LineTo(dc, line.to.x, line.to.y);
    }
}

void frmDialog::DrawBalloonButton(PictureBox& button, int state, int corner) {
    struct Look {
        COLORREF back;
        COLORREF outer;
        COLORREF inner;  // CLR_NONE: one outline only
    };
    static const Look looks[3] = {
        {RGB(245, 246, 212), RGB(179, 185, 65), CLR_NONE},
        {RGB(245, 246, 200), RGB(179, 185, 65), RGB(205, 245, 165)},
        {RGB(255, 255, 204), RGB(179, 165, 0), CLR_NONE},
    };
    if (state < 0 || state > 2) return;
    const Look& look = looks[state];
    const SIZE s = ClientSize(button.Window());
    button.SetBackColor(look.back);
    button.Clear();
    HDC dc = button.dc();
    select_scope sb(dc, ::GetStockObject(NULL_BRUSH));
    {
        unique_hpen pen(::CreatePen(PS_SOLID, 1, look.outer));
        select_scope sp(dc, pen.get());
        ::RoundRect(dc, 1, 1, s.cx - 1, s.cy - 1, corner, corner);
    }
    if (look.inner != CLR_NONE) {
        unique_hpen pen(::CreatePen(PS_SOLID, 1, look.inner));
        select_scope sp(dc, pen.get());
        ::RoundRect(dc, 2, 2, s.cx - 2, s.cy - 2, corner, corner);
    }
    button.SetForeColor(RGB(0, 0, 0));
}

void frmDialog::PrintCaption(PictureBox& button, const wchar_t* caption) {
    HDC dc = button.dc();
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, button.ForeColor());
    ::TextOutW(dc, 20, 6, caption, lstrlenW(caption));
    button.Refresh();
}

void frmDialog::TrackButtonHover(PictureBox& button, const wchar_t* caption) {
    POINT pt{};
    ::GetCursorPos(&pt);
    HWND w = button.Window();
    if (::WindowFromPoint(pt) == w) {
        if (::GetCapture() == w) return;
        ::SetCapture(w);
        DrawBalloonButton(button, 1, 6);
        PrintCaption(button, caption);
    } else {
        // The capture brought this move in after the pointer left.
        DrawBalloonButton(button, 0, 6);
        PrintCaption(button, caption);
        if (::GetCapture() == w) ::ReleaseCapture();
    }
}

void frmDialog::PicOK_MouseDown() {
    DrawBalloonButton(boxes_[PicOK], 2, 6);
    PrintCaption(boxes_[PicOK], kOK);
    mDoEvents::PumpMessages();
    if (!hwnd_) return;  // closed meanwhile
    RenameListedFile(main_.FileListText(), WindowTextOf(Control(IDC_txtNewFileName)));
}

void frmDialog::PicCancel_MouseDown() {
    DrawBalloonButton(boxes_[PicCancel], 2, 6);
    PrintCaption(boxes_[PicCancel], kCancel);
    mDoEvents::PumpMessages();
    if (!hwnd_) return;
    mT3D::SleepMs(500);
    Unload();
}

void frmDialog::RenameListedFile(const std::wstring& oldPath, const std::wstring& typedName) {
    {
        FileSystem fs;
        std::wstring folder = fs.GetParentFolderName(oldPath);
        if (folder.empty() || folder.back() != L'\\') folder += L'\\';
        wait_cursor_scope wait;
        const std::wstring name = Trim(typedName);
        const std::wstring newPath = folder + name;
        // A name the file cannot take is refused like a rename the system turned down.
        if (rename_text::IsAcceptableName(name) && renamer_(oldPath, newPath)) ReplaceListEntry(oldPath, newPath);
    }
    Unload();
}

void frmDialog::ReplaceListEntry(const std::wstring& oldPath, const std::wstring& newPath) {
    const int count = main_.FileListCount();
    for (int i = 0; i < count; ++i) {
        if (main_.FileListItem(i) != oldPath) continue;
        main_.ReplaceFileListItem(i, newPath);
        main_.SetFileListText(newPath);
        return;
    }
}

void frmDialog::tmrTime_Timer() {
    RECT wr{};
    if (!::GetWindowRect(hwnd_, &wr)) return;
    if (wr.left != placedLeft_ || wr.top != placedTop_) Unload();
}

void frmDialog::Unload() {
    if (!hwnd_) return;
    if (::GetCapture() && (::GetCapture() == hwnd_ || ::IsChild(hwnd_, ::GetCapture()))) ::ReleaseCapture();
    ::DestroyWindow(hwnd_);
}

bool frmDialog::IsOutsideInput(const MSG& msg) const {
    if (!msg.hwnd || !IsInput(msg.message)) return false;
    return msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd);
}

void frmDialog::ShowModal() {
    if (!hwnd_) return;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
    ::SetFocus(Control(IDC_txtNewFileName));
    while (hwnd_) {
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The loop that owns the thread has to see the quit request too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        // The rest of the program takes no input meanwhile; a press on it closes the popup.
        if (IsOutsideInput(msg)) {
            if (IsButtonDown(msg.message)) Unload();
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LRESULT frmDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        paint_scope ps(hwnd_);
        Paint(ps.dc());
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetBkColor(dc, kBack);
        ::SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(backBrush_.get());
    }
    case WM_TIMER:
        if (wp == kTimerId) tmrTime_Timer();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd_, kTimerId);
        nameBoxSubclass_.Remove();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
