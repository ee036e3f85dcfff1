// COM class cVelmora: the settings of the owner-drawn popup menus and the call that hands
// the library its owner window.
#pragma once
#include "services/ComServer.h"
#include "Velmora.h"

namespace velmora {

class cVelmora final : public salva::com::DispatchObject<_cVelmora> {
public:
    cVelmora();   // every shared setting back to its default
    ~cVelmora();  // empties the icon table, lets go of the pictures, unhooks the owner window

    STDMETHODIMP get_OwnerhWnd(long* hWnd) override;
    STDMETHODIMP put_OwnerhWnd(long hWnd) override;
    STDMETHODIMP put_HasVerticalTitleBar(VARIANT_BOOL value) override;
    STDMETHODIMP put_HasImageInVTitleBar(VARIANT_BOOL* value) override;
    STDMETHODIMP get_VerticalTitleBarTitle(BSTR* title) override;
    STDMETHODIMP put_VerticalTitleBarTitle(BSTR title) override;
    STDMETHODIMP put_VerticalTitleBarWidth(short width) override;
    STDMETHODIMP get_VerticalTitleBarHeight(short* height) override;
    STDMETHODIMP put_VerticalTitleBarEscapement(long escapement) override;
    STDMETHODIMP put_VerticalTitleBarTextColor(long colour) override;
    STDMETHODIMP put_VerticalTitleBarStartColor(long colour) override;
    STDMETHODIMP put_VerticalTitleBarEndColor(long colour) override;
    STDMETHODIMP put_VTBarGradientTopToBottom(VARIANT_BOOL value) override;
    STDMETHODIMP put_VTBarGradientLeftToRight(VARIANT_BOOL value) override;
    STDMETHODIMP SetVerticalTitleBarImage(IPictureDisp* pic) override;
    STDMETHODIMP SetVerticalTitleBarIcon(IPictureDisp* pic) override;
    STDMETHODIMP get_GetVerticalTitleBarFontName(BSTR* name) override;
    STDMETHODIMP put_VerticalTitleBarFontName(VTitleBarFontName* index) override;
    STDMETHODIMP put_VerticalTitleBarFontSize(short size) override;
    STDMETHODIMP put_VerticalTitleBarFontWeight(VTitleBarFontWeight weight) override;
    STDMETHODIMP put_VerticalTitleBarFontItalic(VARIANT_BOOL value) override;
    STDMETHODIMP put_VerticalTitleBarFontUnderline(VARIANT_BOOL value) override;
    STDMETHODIMP put_VerticalTitleBarFontStrike(VARIANT_BOOL value) override;
    STDMETHODIMP put_HasIconInMenuItem(VARIANT_BOOL value) override;
    STDMETHODIMP get_MenuItemIconWidth(short* width) override;
    STDMETHODIMP put_MenuItemIconWidth(short width) override;
    STDMETHODIMP get_MenuItemIconHeight(short* height) override;
    STDMETHODIMP put_MenuItemIconHeight(short height) override;
    STDMETHODIMP SetMenuIcon3DEffect(Edage3DEffect effect) override;
    STDMETHODIMP SetMenuBackPicture(IPictureDisp* pic, VARIANT* result) override;
    STDMETHODIMP put_IsMenuItemGradient(VARIANT_BOOL value) override;
    STDMETHODIMP put_MenuItemForeColor(long colour) override;
    STDMETHODIMP put_MenuItemFillColor(long colour) override;
    STDMETHODIMP put_MenuItemBackColor(long colour) override;
    STDMETHODIMP put_MenuItemHighLightColor(long colour) override;
    STDMETHODIMP put_MenuItemBorderColor(long colour) override;
    STDMETHODIMP put_MenuItemFrameColor(long colour) override;
    STDMETHODIMP put_MenuItemStartColor(long colour) override;
    STDMETHODIMP put_MenuItemEndColor(long colour) override;
    STDMETHODIMP put_MenuItemGradientTopToBottom(VARIANT_BOOL value) override;
    STDMETHODIMP put_MenuItemGradientLeftToRight(VARIANT_BOOL value) override;
    STDMETHODIMP SetMenuItem3DEffect(Edage3DEffect effect, VARIANT_BOOL unused) override;
    STDMETHODIMP SetMenuDisplayStyle(MenuStyle style, VARIANT_BOOL loadPreset) override;
    STDMETHODIMP SetMenuItemIcon(BSTR caption, IPictureDisp* picture, long* maskColour) override;
    STDMETHODIMP StartDrawVelmora(long hWnd) override;
};

// Automation's overflow error, for arguments that do not fit their 16-bit setting.
constexpr HRESULT kOverflow = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 6);

}  // namespace velmora
