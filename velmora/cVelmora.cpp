#include "cVelmora.h"
#include "MenuHook.h"
#include "Settings.h"

namespace velmora {

namespace {
Settings& S() { return Current(); }

// Handles travel as 32-bit values through the interface.
HWND ToWindow(long value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

bool FitsShort(long value) { return value >= -32768 && value <= 32767; }

// The library's own descriptions of the errors it raises: the system's message tables lack
// these codes on some systems (Wine's among them).
const wchar_t kOverflowText[] = L"溢出";
const wchar_t kNotAPictureText[] = L"类型不匹配：菜单项的图标不是图片。";
const wchar_t kNoMaskColourText[] = L"无效的参数：没有给出图标的掩码颜色。";

HRESULT Overflow() {
    salva::com_ptr<ICreateErrorInfo> create;
    if (SUCCEEDED(::CreateErrorInfo(create.put()))) {
        create->SetDescription(const_cast<LPOLESTR>(kOverflowText));
        create->SetSource(const_cast<LPOLESTR>(L"Velmora.cVelmora"));
        salva::com_ptr<IErrorInfo> info;
        if (SUCCEEDED(create.query(info.put()))) ::SetErrorInfo(0, info.get());
    }
    return kOverflow;
}

// The picture behind an automation picture argument; null stays null.
HRESULT ToPicture(IPictureDisp* disp, salva::com_ptr<IPicture>& out) {
    out.reset();
    if (!disp) return S_OK;
    return disp->QueryInterface(IID_IPicture, out.put_void());
}

void StorePicture(IPictureDisp* disp, salva::com_ptr<IPicture>& target) {
    salva::com_ptr<IPicture> pic;
    if (SUCCEEDED(ToPicture(disp, pic)) && pic) target = pic;
}

}  // namespace

cVelmora::cVelmora() { ResetDefaults(S()); }

cVelmora::~cVelmora() {
    ClearMenuState();
    ReleaseAll(S());
    UnhookWindow(S().owner);
}

STDMETHODIMP cVelmora::get_OwnerhWnd(long* hWnd) {
    if (!hWnd) return E_POINTER;
    *hWnd = static_cast<long>(reinterpret_cast<LONG_PTR>(S().owner));
    return S_OK;
}
STDMETHODIMP cVelmora::put_OwnerhWnd(long hWnd) {
    S().owner = ToWindow(hWnd);
    return S_OK;
}
STDMETHODIMP cVelmora::put_HasVerticalTitleBar(VARIANT_BOOL value) {
    S().hasTitleBar = value;
    return S_OK;
}
STDMETHODIMP cVelmora::put_HasImageInVTitleBar(VARIANT_BOOL* value) {
    if (!value) return E_POINTER;
    S().hasImageInTitleBar = *value;
    return S_OK;
}
STDMETHODIMP cVelmora::get_VerticalTitleBarTitle(BSTR* title) {
    if (!title) return E_POINTER;
    *title = ::SysAllocStringLen(S().title.data(), static_cast<UINT>(S().title.size()));
    return *title ? S_OK : E_OUTOFMEMORY;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarTitle(BSTR title) {
    S().title.assign(title ? title : L"", title ? ::SysStringLen(title) : 0);
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarWidth(short width) {
    S().titleWidth = width;
    return S_OK;
}
STDMETHODIMP cVelmora::get_VerticalTitleBarHeight(short* height) {
    if (!height) return E_POINTER;
    *height = S().titleHeight;
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarEscapement(long escapement) {
    S().escapement = escapement;
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarTextColor(long colour) {
    S().titleTextColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarStartColor(long colour) {
    S().titleStartColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarEndColor(long colour) {
    S().titleEndColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_VTBarGradientTopToBottom(VARIANT_BOOL value) {
    S().titleTopToBottom = value;
    S().titleLeftToRight = kFalse;
    return S_OK;
}
STDMETHODIMP cVelmora::put_VTBarGradientLeftToRight(VARIANT_BOOL value) {
    S().titleLeftToRight = value;
    S().titleTopToBottom = kFalse;
    return S_OK;
}
STDMETHODIMP cVelmora::SetVerticalTitleBarImage(IPictureDisp* pic) {
    StorePicture(pic, S().titleImage);
    return S_OK;
}
STDMETHODIMP cVelmora::SetVerticalTitleBarIcon(IPictureDisp* pic) {
    StorePicture(pic, S().titleIcon);
    return S_OK;
}
STDMETHODIMP cVelmora::get_GetVerticalTitleBarFontName(BSTR* name) {
    if (!name) return E_POINTER;
    *name = ::SysAllocStringLen(S().faceName.data(), static_cast<UINT>(S().faceName.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarFontName(VTitleBarFontName* index) {
    if (!index) return E_POINTER;
    S().faceName = GetFontNameByIndex(static_cast<long>(*index));
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarFontSize(short size) {
    S().fontSize = size;
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarFontWeight(VTitleBarFontWeight weight) {
    if (!FitsShort(weight)) return Overflow();
    S().fontWeight = static_cast<short>(weight);
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarFontItalic(VARIANT_BOOL value) {
    S().fontItalic = value;
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarFontUnderline(VARIANT_BOOL value) {
    S().fontUnderline = value;
    return S_OK;
}
STDMETHODIMP cVelmora::put_VerticalTitleBarFontStrike(VARIANT_BOOL value) {
    S().fontStrike = value;
    return S_OK;
}
STDMETHODIMP cVelmora::put_HasIconInMenuItem(VARIANT_BOOL value) {
    S().hasIcon = value;
    return S_OK;
}
STDMETHODIMP cVelmora::get_MenuItemIconWidth(short* width) {
    if (!width) return E_POINTER;
    *width = S().iconWidth;
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemIconWidth(short width) {
    S().iconWidth = width;
    return S_OK;
}
STDMETHODIMP cVelmora::get_MenuItemIconHeight(short* height) {
    if (!height) return E_POINTER;
    *height = S().iconHeight;
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemIconHeight(short height) {
    S().iconHeight = height;
    return S_OK;
}
STDMETHODIMP cVelmora::SetMenuIcon3DEffect(Edage3DEffect effect) {
    if (!FitsShort(effect)) return Overflow();
    S().iconEffect = static_cast<short>(effect);
    return S_OK;
}
STDMETHODIMP cVelmora::SetMenuBackPicture(IPictureDisp* pic, VARIANT* result) {
    if (result) ::VariantInit(result);
    StorePicture(pic, S().backPicture);
    return S_OK;
}
STDMETHODIMP cVelmora::put_IsMenuItemGradient(VARIANT_BOOL value) {
    S().itemGradient = value;
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemForeColor(long colour) {
    S().foreColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemFillColor(long colour) {
    S().fillColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemBackColor(long colour) {
    S().backColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemHighLightColor(long colour) {
    S().highlightColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemBorderColor(long colour) {
    S().borderColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemFrameColor(long colour) {
    S().frameColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemStartColor(long colour) {
    S().itemStartColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemEndColor(long colour) {
    S().itemEndColor = static_cast<COLORREF>(colour);
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemGradientTopToBottom(VARIANT_BOOL value) {
    S().itemTopToBottom = value;
    S().itemLeftToRight = kFalse;
    return S_OK;
}
STDMETHODIMP cVelmora::put_MenuItemGradientLeftToRight(VARIANT_BOOL value) {
    S().itemLeftToRight = value;
    S().itemTopToBottom = kFalse;
    return S_OK;
}
STDMETHODIMP cVelmora::SetMenuItem3DEffect(Edage3DEffect effect, VARIANT_BOOL) {
    if (!FitsShort(effect)) return Overflow();
    S().itemEffect = static_cast<short>(effect);
    return S_OK;
}
STDMETHODIMP cVelmora::SetMenuDisplayStyle(MenuStyle style, VARIANT_BOOL loadPreset) {
    ApplyDisplayStyle(S(), static_cast<short>(style), loadPreset != 0);
    return S_OK;
}
STDMETHODIMP cVelmora::SetMenuItemIcon(BSTR caption, IPictureDisp* picture, long* maskColour) {
    salva::com_ptr<IPicture> pic;
    const wchar_t* error = nullptr;
    if (FAILED(ToPicture(picture, pic))) error = kNotAPictureText;
    else if (!maskColour) error = kNoMaskColourText;
    if (error) {
        const std::wstring text = std::wstring(error) + L"\r\n";
        ::MessageBoxW(nullptr, text.c_str(), L"Error！", MB_OK | MB_ICONEXCLAMATION);
        return S_OK;
    }
    StoreMenuItemIcon(S(), std::wstring(caption ? caption : L"", caption ? ::SysStringLen(caption) : 0), pic.get(),
                      static_cast<COLORREF>(*maskColour));
    return S_OK;
}
STDMETHODIMP cVelmora::StartDrawVelmora(long hWnd) {
    S().owner = ToWindow(hWnd);
    HookWindow(S().owner);
    return S_OK;
}

}  // namespace velmora
