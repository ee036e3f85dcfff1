// The menu object as the program meets it: registered by its own entry point, created by
// class identifier, its settings read back through the slots and by name, and the shared
// settings, presets, face table and icon table behind it.
#include "VelmoraTest.h"
#include "services/ComServer.h"
#include "velmora/Settings.h"
#include "velmora/cVelmora.h"

using namespace vtest;
using velmora::kTrue;
using velmora::kFalse;

namespace {

std::wstring Title(_cVelmora* v) {
    salva::unique_bstr b;
    EXPECT_EQ(S_OK, v->get_VerticalTitleBarTitle(b.put()));
    return b.get() ? b.get() : L"";
}

std::wstring Face(_cVelmora* v) {
    salva::unique_bstr b;
    EXPECT_EQ(S_OK, v->get_GetVerticalTitleBarFontName(b.put()));
    return std::wstring(b.get() ? b.get() : L"", b.get() ? ::SysStringLen(b.get()) : 0);
}

class MenuObject : public ::testing::Test {
protected:
    void SetUp() override { RegisterLibrary(); }
};

}  // namespace

TEST_F(MenuObject, RegisteredClassStartsWithItsDefaults) {
    const std::wstring key = L"CLSID\\{18FDE0EC-C946-4D75-B28A-F440FDABAC9A}\\InprocServer32";
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof(path);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path,
                                           &size));
    EXPECT_NE(nullptr, std::wcsstr(path, L"Velmora.dll")) << testsupport::Narrow(path);

    auto v = CreateMenuObject();
    ASSERT_TRUE(v);
    EXPECT_EQ(L"Velmora", Title(v.get()));
    EXPECT_EQ(L"Arial", Face(v.get()));
    short w = 0, h = 0, barHeight = -1;
    EXPECT_EQ(S_OK, v->get_MenuItemIconWidth(&w));
    EXPECT_EQ(S_OK, v->get_MenuItemIconHeight(&h));
    EXPECT_EQ(S_OK, v->get_VerticalTitleBarHeight(&barHeight));
    EXPECT_EQ(16, w);
    EXPECT_EQ(16, h);
    EXPECT_EQ(0, barHeight);

    // The type library is registered with the enums the host compiles against.
    salva::com_ptr<ITypeLib> lib;
    ASSERT_EQ(S_OK, ::LoadRegTypeLib(LIBID_Velmora, 1, 0, LOCALE_NEUTRAL, lib.put()));
    std::wstring names;
    salva::com_ptr<ITypeInfo> faces;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        salva::unique_bstr name;
        lib->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
        names += std::wstring(name.get()) + L" ";
        if (std::wstring(name.get()) == L"VTitleBarFontName") lib->GetTypeInfo(i, faces.put());
    }
    for (const wchar_t* expected : {L"MenuStyle ", L"Edage3DEffect ", L"VTitleBarFontWeight ", L"_cVelmora ",
                                    L"cVelmora "})
        EXPECT_NE(std::wstring::npos, names.find(expected)) << testsupport::Narrow(names);
    ASSERT_TRUE(faces);
    std::wstring member17, member22, member159;
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, faces->GetTypeAttr(&attr));
    for (UINT i = 0; i < attr->cVars; ++i) {
        VARDESC* var = nullptr;
        if (FAILED(faces->GetVarDesc(i, &var))) continue;
        salva::unique_bstr name;
        faces->GetDocumentation(var->memid, name.put(), nullptr, nullptr, nullptr);
        const LONG value = V_I4(var->lpvarValue);
        if (value == 17) member17 = name.get();
        if (value == 22) member22 = name.get();
        if (value == 159) member159 = name.get();
        faces->ReleaseVarDesc(var);
    }
    faces->ReleaseTypeAttr(attr);
    EXPECT_EQ(L"Arial", member17);
    EXPECT_EQ(L"Wingdings", member22);
    EXPECT_EQ(L"Batang", member159);
}

TEST_F(MenuObject, FaceTableByIndexThroughTheSlot) {
    auto v = CreateMenuObject();
    ASSERT_TRUE(v);
    const struct { long index; const wchar_t* face; } cases[] = {
        {17, L"Arial"},  {1, L"System"},     {170, L"MS UI Gothic"}, {159, L"Batang "},
        {11, L"宋体"},   {12, L"@宋体"},     {116, L"Century Gothic Garamond"}, {22, L"Webdings"},
        {0, L""},        {171, L""},         {-1, L""},
    };
    for (const auto& c : cases) {
        VTitleBarFontName index = static_cast<VTitleBarFontName>(c.index);
        ASSERT_EQ(S_OK, v->put_VerticalTitleBarFontName(&index));
        EXPECT_EQ(std::wstring(c.face), Face(v.get())) << "index " << c.index << " gave \""
                                                       << testsupport::Narrow(Face(v.get())) << "\"";
    }
}

TEST_F(MenuObject, LateBoundByName) {
    auto v = CreateMenuObject();
    ASSERT_TRUE(v);
    salva::com_ptr<IDispatch> d;
    ASSERT_EQ(S_OK, v.query(d.put()));

    salva::unique_variant title;
    V_VT(&title) = VT_BSTR;
    V_BSTR(&title) = ::SysAllocString(L"光盘救星");
    ASSERT_EQ(S_OK, Invoke(d.get(), L"VerticalTitleBarTitle", DISPATCH_PROPERTYPUT, &title, 1, nullptr));
    EXPECT_EQ(L"光盘救星", Title(v.get()));

    // A face index handed by value to the by-reference argument.
    salva::unique_variant index;
    V_VT(&index) = VT_I4;
    V_I4(&index) = 159;
    ASSERT_EQ(S_OK, Invoke(d.get(), L"VerticalTitleBarFontName", DISPATCH_PROPERTYPUT, &index, 1, nullptr));
    salva::unique_variant face;
    ASSERT_EQ(S_OK, Invoke(d.get(), L"GetVerticalTitleBarFontName", DISPATCH_PROPERTYGET, nullptr, 0, &face));
    ASSERT_EQ(VT_BSTR, V_VT(&face));
    EXPECT_STREQ(L"Batang ", V_BSTR(&face));

    salva::unique_variant width;
    V_VT(&width) = VT_I2;
    V_I2(&width) = 24;
    ASSERT_EQ(S_OK, Invoke(d.get(), L"MenuItemIconWidth", DISPATCH_PROPERTYPUT, &width, 1, nullptr));
    salva::unique_variant got;
    ASSERT_EQ(S_OK, Invoke(d.get(), L"MenuItemIconWidth", DISPATCH_PROPERTYGET, nullptr, 0, &got));
    EXPECT_EQ(VT_I2, V_VT(&got));
    EXPECT_EQ(24, V_I2(&got));

    auto pic = MakePicture(8, RGB(0, 0, 0), RGB(0, 255, 0), 2);
    salva::unique_variant picArg, back;
    V_VT(&picArg) = VT_DISPATCH;
    V_DISPATCH(&picArg) = pic.get();
    pic->AddRef();
    ASSERT_EQ(S_OK, Invoke(d.get(), L"SetMenuBackPicture", DISPATCH_METHOD, &picArg, 1, &back));
    EXPECT_EQ(VT_EMPTY, V_VT(&back));
    // Leave no back picture behind for the painting tests of this program.
    auto reset = CreateMenuObject();
}

TEST_F(MenuObject, OverflowThroughSlotAndByName) {
    auto v = CreateMenuObject();
    ASSERT_TRUE(v);
    const HRESULT overflow = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 6);
    EXPECT_EQ(overflow, v->SetMenuItem3DEffect(static_cast<Edage3DEffect>(70000), VARIANT_TRUE));
    EXPECT_EQ(overflow, v->SetMenuIcon3DEffect(static_cast<Edage3DEffect>(-40000)));
    EXPECT_EQ(overflow, v->put_VerticalTitleBarFontWeight(static_cast<VTitleBarFontWeight>(32768)));
    EXPECT_EQ(S_OK, v->put_VerticalTitleBarFontWeight(static_cast<VTitleBarFontWeight>(32767)));
    EXPECT_EQ(S_OK, v->SetMenuItem3DEffect(static_cast<Edage3DEffect>(-32768), VARIANT_FALSE));

    salva::com_ptr<IDispatch> d;
    ASSERT_EQ(S_OK, v.query(d.put()));
    salva::unique_variant args[2];
    V_VT(&args[1]) = VT_I4;  // arguments go in reverse order
    V_I4(&args[1]) = 100000;
    V_VT(&args[0]) = VT_BOOL;
    V_BOOL(&args[0]) = VARIANT_FALSE;
    EXPECT_EQ(overflow, Invoke(d.get(), L"SetMenuItem3DEffect", DISPATCH_METHOD, args, 2, nullptr));
    salva::unique_variant weight;
    V_VT(&weight) = VT_I4;
    V_I4(&weight) = -32769;
    EXPECT_EQ(overflow, Invoke(d.get(), L"VerticalTitleBarFontWeight", DISPATCH_PROPERTYPUT, &weight, 1, nullptr));
    V_I4(&weight) = 700;
    EXPECT_EQ(S_OK, Invoke(d.get(), L"VerticalTitleBarFontWeight", DISPATCH_PROPERTYPUT, &weight, 1, nullptr));
}

TEST_F(MenuObject, TwoObjectsShareTheSettings) {
    auto a = CreateMenuObject();
    auto b = CreateMenuObject();
    ASSERT_TRUE(a && b);
    salva::unique_bstr t(::SysAllocString(L"共享"));
    ASSERT_EQ(S_OK, a->put_VerticalTitleBarTitle(t.get()));
    EXPECT_EQ(L"共享", Title(b.get()));
    ASSERT_EQ(S_OK, b->put_MenuItemIconHeight(20));
    short h = 0;
    a->get_MenuItemIconHeight(&h);
    EXPECT_EQ(20, h);
    // A third object starts over with the defaults for everyone.
    auto c = CreateMenuObject();
    EXPECT_EQ(L"Velmora", Title(a.get()));
}

// The same class, built into this test program, so that the settings behind the interface
// can be read directly.
class SettingsTable : public ::testing::Test {
protected:
    void SetUp() override {
        obj_ = new velmora::cVelmora();
        obj_->AddRef();
    }
    void TearDown() override { obj_->Release(); }
    velmora::Settings& s() { return velmora::Current(); }
    velmora::cVelmora* obj_ = nullptr;
};

TEST_F(SettingsTable, DefaultsOfEverySetting) {
    const auto& d = s();
    EXPECT_EQ(kTrue, d.hasTitleBar);
    EXPECT_EQ(kFalse, d.hasImageInTitleBar);
    EXPECT_EQ(20, d.titleWidth);
    EXPECT_EQ(900, d.escapement);
    EXPECT_EQ(RGB(0, 0, 0), d.titleTextColor) << Rgb(d.titleTextColor);
    EXPECT_EQ(RGB(255, 255, 0), d.titleStartColor) << Rgb(d.titleStartColor);
    EXPECT_EQ(RGB(255, 0, 0), d.titleEndColor) << Rgb(d.titleEndColor);
    EXPECT_EQ(kTrue, d.titleTopToBottom);
    EXPECT_EQ(kFalse, d.titleLeftToRight);
    EXPECT_EQ(16, d.fontSize);
    EXPECT_EQ(600, d.fontWeight);
    EXPECT_EQ(kTrue, d.hasIcon);
    EXPECT_EQ(4, d.iconEffect);
    EXPECT_EQ(2, d.itemEffect);
    EXPECT_EQ(kFalse, d.itemGradient);
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), d.foreColor) << Rgb(d.foreColor);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), d.fillColor) << Rgb(d.fillColor);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), d.backColor) << Rgb(d.backColor);
    EXPECT_EQ(RGB(115, 113, 156), d.borderColor) << Rgb(d.borderColor);
    EXPECT_EQ(RGB(220, 216, 210), d.frameColor) << Rgb(d.frameColor);
    EXPECT_EQ(kFalse, d.itemTopToBottom);
    EXPECT_EQ(kTrue, d.itemLeftToRight);
    EXPECT_EQ(170, d.style);
}

TEST_F(SettingsTable, DirectionFlagsClearEachOther) {
    obj_->put_VTBarGradientLeftToRight(VARIANT_TRUE);
    EXPECT_EQ(kTrue, s().titleLeftToRight);
    EXPECT_EQ(kFalse, s().titleTopToBottom);
    obj_->put_VTBarGradientTopToBottom(VARIANT_FALSE);
    EXPECT_EQ(kFalse, s().titleLeftToRight);
    EXPECT_EQ(kFalse, s().titleTopToBottom);
    obj_->put_MenuItemGradientTopToBottom(VARIANT_TRUE);
    EXPECT_EQ(kTrue, s().itemTopToBottom);
    EXPECT_EQ(kFalse, s().itemLeftToRight);
    obj_->put_MenuItemGradientLeftToRight(VARIANT_TRUE);
    EXPECT_EQ(kFalse, s().itemTopToBottom);
    EXPECT_EQ(kTrue, s().itemLeftToRight);
}

TEST_F(SettingsTable, OverflowLeavesTheSettingAlone) {
    obj_->SetMenuItem3DEffect(m_BUMP, VARIANT_TRUE);
    EXPECT_EQ(9, s().itemEffect);
    EXPECT_EQ(velmora::kOverflow, obj_->SetMenuItem3DEffect(static_cast<Edage3DEffect>(65536), VARIANT_FALSE));
    EXPECT_EQ(9, s().itemEffect);
    obj_->SetMenuItem3DEffect(m_FRAME, VARIANT_FALSE);  // the second argument changes nothing
    EXPECT_EQ(6, s().itemEffect);
    EXPECT_EQ(velmora::kOverflow, obj_->put_VerticalTitleBarFontWeight(static_cast<VTitleBarFontWeight>(40000)));
    EXPECT_EQ(600, s().fontWeight);
}

TEST_F(SettingsTable, PresetsAndPlainStyles) {
    const auto backBefore = s().foreColor;
    obj_->put_MenuItemFillColor(RGB(1, 2, 3));
    obj_->SetMenuDisplayStyle(m_WindowsOfficeXPStyle, VARIANT_FALSE);
    EXPECT_EQ(204, s().style);
    EXPECT_EQ(RGB(1, 2, 3), s().fillColor) << "only the style changes without the preset";

    obj_->put_IsMenuItemGradient(VARIANT_TRUE);
    obj_->SetMenuDisplayStyle(m_WindowsOfficeXPStyle, VARIANT_TRUE);
    EXPECT_EQ(RGB(216, 228, 248), s().fillColor) << Rgb(s().fillColor);
    EXPECT_EQ(RGB(255, 0, 0), s().highlightColor) << Rgb(s().highlightColor);
    EXPECT_EQ(RGB(236, 233, 216), s().frameColor) << Rgb(s().frameColor);
    EXPECT_EQ(RGB(49, 106, 197), s().borderColor) << Rgb(s().borderColor);
    EXPECT_EQ(RGB(249, 248, 247), s().backColor) << Rgb(s().backColor);
    EXPECT_EQ(RGB(255, 255, 255), s().titleTextColor) << Rgb(s().titleTextColor);
    EXPECT_EQ(RGB(216, 228, 248), s().titleStartColor) << Rgb(s().titleStartColor);
    EXPECT_EQ(RGB(49, 106, 197), s().titleEndColor) << Rgb(s().titleEndColor);
    EXPECT_EQ(kTrue, s().titleLeftToRight);
    EXPECT_EQ(kFalse, s().titleTopToBottom);
    EXPECT_EQ(kTrue, s().itemGradient) << "the blue preset keeps the item gradient";
    EXPECT_EQ(backBefore, s().foreColor);

    obj_->put_MenuItemBorderColor(RGB(9, 9, 9));
    obj_->SetMenuDisplayStyle(m_WindowsCustomStyle, VARIANT_TRUE);
    EXPECT_EQ(170, s().style);
    EXPECT_EQ(kTrue, s().itemGradient);
    // The gradient colour of an inactive caption (system colour 28) starts both gradients.
    ASSERT_NE(::GetSysColor(COLOR_GRADIENTACTIVECAPTION), ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
    EXPECT_EQ(::GetSysColor(COLOR_GRADIENTINACTIVECAPTION), s().itemStartColor) << Rgb(s().itemStartColor);
    EXPECT_EQ(::GetSysColor(COLOR_GRADIENTINACTIVECAPTION), s().titleStartColor) << Rgb(s().titleStartColor);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), s().itemEndColor) << Rgb(s().itemEndColor);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHTTEXT), s().titleTextColor) << Rgb(s().titleTextColor);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), s().backColor) << Rgb(s().backColor);
    EXPECT_EQ(kTrue, s().titleTopToBottom);
    EXPECT_EQ(RGB(9, 9, 9), s().borderColor) << "the system-colour preset keeps the border colour";

    obj_->put_MenuItemFillColor(RGB(7, 7, 7));
    obj_->SetMenuDisplayStyle(m_WindowsDefaultStyle, VARIANT_TRUE);
    EXPECT_EQ(187, s().style);
    EXPECT_EQ(RGB(7, 7, 7), s().fillColor);
}

TEST_F(SettingsTable, IconTableColumnsFillOnTheirOwn) {
    auto pic = MakePicture(16, RGB(255, 0, 255), RGB(0, 0, 255), 4);
    long magenta = RGB(255, 0, 255);
    long zero = 0;
    ASSERT_EQ(S_OK, obj_->SetMenuItemIcon(salva::unique_bstr(::SysAllocString(L"弹出    CD-ROM")).get(), pic.get(),
                                          &zero));
    EXPECT_EQ(L"弹出CD-ROM", s().iconCaptions[0]);
    EXPECT_TRUE(s().iconPictures[0]);
    EXPECT_EQ(0u, s().iconMasks[0]);
    // The mask slot left at 0 takes the next call's mask.
    ASSERT_EQ(S_OK, obj_->SetMenuItemIcon(salva::unique_bstr(::SysAllocString(L"打开")).get(), nullptr, &magenta));
    EXPECT_EQ(static_cast<COLORREF>(magenta), s().iconMasks[0]) << Rgb(s().iconMasks[0]);
    EXPECT_EQ(0u, s().iconMasks[1]);
    EXPECT_EQ(L"打开", s().iconCaptions[1]);
    EXPECT_FALSE(s().iconPictures[1]) << "no picture given, the slot stays free";

    for (int k = 3; k <= 255; ++k)
        obj_->SetMenuItemIcon(salva::unique_bstr(::SysAllocString((L"Item" + std::to_wstring(k)).c_str())).get(),
                              pic.get(), &magenta);
    EXPECT_EQ(L"Item255", s().iconCaptions[254]);
    obj_->SetMenuItemIcon(salva::unique_bstr(::SysAllocString(L"Extra")).get(), pic.get(), &magenta);
    EXPECT_EQ(L"", s().iconCaptions[255]) << "slot 256 is never written";
    EXPECT_FALSE(s().iconPictures[255]);
    EXPECT_EQ(0u, s().iconMasks[255]);
    EXPECT_EQ(256, velmora::FindIconSlot(s(), L"Extra"));
    EXPECT_EQ(255, velmora::FindIconSlot(s(), L"item 255"));
    EXPECT_EQ(256, velmora::FindIconSlot(s(), L"   \t")) << "an empty key matches no slot";
}

TEST(NormaliseCaption, KeepsPrintableAndDoubleByteCharacters) {
    EXPECT_EQ(L"弹出CD-ROM", velmora::NormaliseCaption(L"弹出    CD-ROM"));
    EXPECT_EQ(L"&Open(O)Ctrl+O", velmora::NormaliseCaption(L"&Open (O)\tCtrl+O"));
    // Single-byte codes above 126 in code page 936 and control characters go.
    EXPECT_EQ(L"ab", velmora::NormaliseCaption(std::wstring(L"a\x7f\x01\r\nb")));
    EXPECT_EQ(L"全角ＡＢ", velmora::NormaliseCaption(L"全角 ＡＢ"));
}
