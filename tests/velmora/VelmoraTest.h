// What the Velmora tests share: the registered library, calls by name, test pictures, a
// host window that records the messages it gets, and a memory canvas to paint on.
#pragma once
#include "TestSupport.h"
#include "Velmora.h"
#include <olectl.h>
#include <string>

namespace vtest {

// Loads and registers Velmora.dll once per test program.
void RegisterLibrary();
salva::com_ptr<_cVelmora> CreateMenuObject();

// A member called by name through IDispatch; a member's own error code is handed back.
HRESULT Invoke(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT argc, VARIANT* result);

// A square bitmap picture of `size` pixels in `mask` colour with a `colour` square from
// `inset` to size - inset.
salva::com_ptr<IPictureDisp> MakePicture(int size, COLORREF mask, COLORREF colour, int inset);

// Messages the host window's own procedure received.
struct HostLog {
    int destroy = 0;
    int drawItem = 0;
    int measureItem = 0;
    int initMenuPopup = 0;
};
HostLog& Log();
HWND CreateHost();

// A 32-bit memory bitmap selected into a memory context, filled white.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }
    void Clear(COLORREF colour);

private:
    int width_, height_;
    salva::unique_hdc dc_;
    salva::unique_hbitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

std::string Rgb(COLORREF c);  // "(r,g,b)" for assertion messages

// One WM_DRAWITEM request for a menu item painted onto `dc`.
DRAWITEMSTRUCT MenuPaintRequest(HMENU menu, UINT id, HDC dc, RECT r, bool selected);

}  // namespace vtest
