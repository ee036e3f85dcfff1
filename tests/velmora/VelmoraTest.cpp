#include "VelmoraTest.h"
#include <cstdio>

namespace vtest {

namespace {
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: ++Log().destroy; break;
    case WM_DRAWITEM: ++Log().drawItem; return TRUE;
    case WM_MEASUREITEM: ++Log().measureItem; return TRUE;
    case WM_INITMENUPOPUP: ++Log().initMenuPopup; break;
    default: break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

void RegisterLibrary() {
    // Registered once for the whole run; unregistered when the program ends.
    static testsupport::RegisteredServer server(L"Velmora.dll");
    ASSERT_EQ(S_OK, server.result()) << "registering Velmora.dll";
}

salva::com_ptr<_cVelmora> CreateMenuObject() {
    salva::com_ptr<_cVelmora> obj;
    const HRESULT hr = ::CoCreateInstance(CLSID_cVelmora, nullptr, CLSCTX_INPROC_SERVER, __uuidof(_cVelmora),
                                          obj.put_void());
    EXPECT_EQ(S_OK, hr) << "CoCreateInstance(cVelmora)";
    return obj;
}

HRESULT Invoke(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT argc, VARIANT* result) {
    return testsupport::InvokeByName(d, name, flags, args, argc, result);
}

salva::com_ptr<IPictureDisp> MakePicture(int size, COLORREF mask, COLORREF colour, int inset) {
    salva::unique_hdc screen(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    HBITMAP bits = ::CreateCompatibleBitmap(screen.get(), size, size);
    {
        salva::unique_hdc dc(::CreateCompatibleDC(screen.get()));
        salva::select_scope pick(dc.get(), bits);
        salva::unique_hbrush back(::CreateSolidBrush(mask)), fore(::CreateSolidBrush(colour));
        RECT all{0, 0, size, size}, inner{inset, inset, size - inset, size - inset};
        ::FillRect(dc.get(), &all, back.get());
        ::FillRect(dc.get(), &inner, fore.get());
    }
    PICTDESC desc{sizeof(desc), PICTYPE_BITMAP};
    desc.bmp.hbitmap = bits;
    salva::com_ptr<IPictureDisp> pic;
    // The picture owns the bitmap from here on.
    EXPECT_EQ(S_OK, ::OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, pic.put_void()));
    return pic;
}

HostLog& Log() {
    static HostLog log;
    return log;
}

HWND CreateHost() {
    static ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelmoraTestHost";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    return ::CreateWindowExW(0, L"VelmoraTestHost", L"Velmora host", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                             nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bitsPtr = nullptr;
    dc_.reset(::CreateCompatibleDC(nullptr));
    bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bitsPtr, nullptr, 0));
    old_ = ::SelectObject(dc_.get(), bitmap_.get());
    Clear(RGB(255, 255, 255));
}

Canvas::~Canvas() {
    if (old_) ::SelectObject(dc_.get(), old_);
}

void Canvas::Clear(COLORREF colour) {
    salva::unique_hbrush brush(::CreateSolidBrush(colour));
    RECT all{0, 0, width_, height_};
    ::FillRect(dc_.get(), &all, brush.get());
}

std::string Rgb(COLORREF c) {
    char buf[32];
    std::snprintf(buf, sizeof(buf), "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

DRAWITEMSTRUCT MenuPaintRequest(HMENU menu, UINT id, HDC dc, RECT r, bool selected) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemID = id;
    d.itemAction = selected ? ODA_SELECT : ODA_DRAWENTIRE;
    d.itemState = selected ? ODS_SELECTED : 0;
    d.hwndItem = reinterpret_cast<HWND>(menu);
    d.hDC = dc;
    d.rcItem = r;
    return d;
}

}  // namespace vtest
