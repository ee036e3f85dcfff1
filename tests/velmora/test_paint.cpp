// Painting of Velmora.dll on memory device contexts: title strip, highlight gradient, icon
// positions in the three display styles, and the drawing surface's routines.
#include "VelmoraTest.h"
#include "velmora/TitleBar.h"
#include "velmora/cMemDC.h"
#include "velmora/Settings.h"

using namespace vtest;

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(152, 152, 152);

class MenuPaint : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterLibrary();
        obj_ = CreateMenuObject();
        ASSERT_TRUE(obj_);
        host_ = CreateHost();
        obj_->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(host_)));
        salva::unique_bstr empty(::SysAllocString(L""));
        obj_->put_VerticalTitleBarTitle(empty.get());
        // Five items with one separator: 4 x 20 + 8 pixels of strip.
        menu_.reset(::CreatePopupMenu());
        ::AppendMenuW(menu_.get(), MF_STRING, 11, L"打开");
        ::AppendMenuW(menu_.get(), MF_STRING, 12, L"A");
        ::AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(menu_.get(), MF_STRING | MF_GRAYED, 13, L"打开 ");
        ::AppendMenuW(menu_.get(), MF_STRING | MF_CHECKED, 14, L"B");
        pic_ = MakePicture(16, kMagenta, kBlue, 4);
        salva::unique_bstr caption(::SysAllocString(L"打开"));
        long mask = kMagenta;
        obj_->SetMenuItemIcon(caption.get(), pic_.get(), &mask);
    }
    void TearDown() override {
        obj_.reset();
        ::DestroyWindow(host_);
    }
    void Open() { ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu_.get()), 0); }
    void Paint(UINT id, RECT r, bool selected) {
        DRAWITEMSTRUCT d = MenuPaintRequest(menu_.get(), id, canvas_.dc(), r, selected);
        ::SendMessageW(host_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    }
    salva::com_ptr<_cVelmora> obj_;
    HWND host_ = nullptr;
    salva::unique_hmenu menu_;
    salva::com_ptr<IPictureDisp> pic_;
    Canvas canvas_{320, 200};
};

// The blue square of the test picture covers (x + 4 .. x + 11, y + 4 .. y + 11).
void ExpectIconAt(const Canvas& c, int x, int y, COLORREF colour, const char* what) {
    EXPECT_EQ(colour, c.At(x + 4, y + 4)) << what << " top-left " << Rgb(c.At(x + 4, y + 4));
    EXPECT_EQ(colour, c.At(x + 11, y + 11)) << what << " bottom-right " << Rgb(c.At(x + 11, y + 11));
    EXPECT_NE(colour, c.At(x + 3, y + 3)) << what << " outside " << Rgb(c.At(x + 3, y + 3));
    EXPECT_NE(colour, c.At(x + 12, y + 12)) << what << " outside " << Rgb(c.At(x + 12, y + 12));
    EXPECT_NE(kMagenta, c.At(x + 1, y + 1)) << what << ": the mask colour is left out";
}

// GetGuiResources where the system keeps the count; Wine answers 0 there, but it accepts a
// handle cut to its 16-bit table index, so the live objects can be counted by index.
DWORD LiveGdiObjects() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported) return reported;
    DWORD live = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    return live;
}

}  // namespace

TEST_F(MenuPaint, TitleStripGradientOncePerPopup) {
    Open();
    Paint(11, {0, 0, 200, 20}, false);
    short height = 0;
    obj_->get_VerticalTitleBarHeight(&height);
    EXPECT_EQ(88, height);
    // Bottom band in the end colour (red), top towards the start colour (yellow).
    EXPECT_EQ(RGB(255, 0, 0), canvas_.At(0, 87)) << Rgb(canvas_.At(0, 87));
    EXPECT_EQ(RGB(255, 0, 0), canvas_.At(19, 86)) << Rgb(canvas_.At(19, 86));
    const COLORREF top = canvas_.At(0, 0);
    EXPECT_EQ(255, GetRValue(top)) << Rgb(top);
    EXPECT_GE(GetGValue(top), 240) << Rgb(top);
    EXPECT_EQ(0, GetBValue(top)) << Rgb(top);
    int previous = 256;
    for (int y = 0; y < 88; ++y) {
        const int g = GetGValue(canvas_.At(0, y));
        EXPECT_LE(g, previous) << "row " << y;
        previous = g;
    }
    EXPECT_EQ(RGB(255, 255, 255), canvas_.At(0, 88)) << "the strip ends with the items";

    // Only the first item after the preparation paints the strip.
    canvas_.Clear(RGB(255, 255, 255));
    Paint(12, {0, 20, 200, 40}, false);
    EXPECT_EQ(RGB(255, 255, 255), canvas_.At(0, 0)) << Rgb(canvas_.At(0, 0));

    // Left to right alone turns the gradient sideways: the right edge is red at every height.
    obj_->put_VTBarGradientLeftToRight(VARIANT_TRUE);
    Open();
    canvas_.Clear(RGB(255, 255, 255));
    Paint(11, {0, 0, 200, 20}, false);
    EXPECT_EQ(RGB(255, 0, 0), canvas_.At(19, 2)) << Rgb(canvas_.At(19, 2));
    EXPECT_EQ(RGB(255, 0, 0), canvas_.At(18, 80)) << Rgb(canvas_.At(18, 80));
    EXPECT_EQ(canvas_.At(0, 2), canvas_.At(0, 80)) << Rgb(canvas_.At(0, 2));
    EXPECT_NE(RGB(255, 0, 0), canvas_.At(0, 2)) << Rgb(canvas_.At(0, 2));

    // Image mode without an image: a flat strip with its own text.
    VARIANT_BOOL image = VARIANT_TRUE;
    obj_->put_HasImageInVTitleBar(&image);
    Open();
    canvas_.Clear(RGB(255, 255, 255));
    Paint(11, {0, 0, 200, 20}, false);
    EXPECT_EQ(RGB(216, 216, 209), canvas_.At(0, 0)) << Rgb(canvas_.At(0, 0));
    EXPECT_EQ(RGB(216, 216, 209), canvas_.At(19, 87)) << Rgb(canvas_.At(19, 87));
    int textPixels = 0;
    for (int y = 0; y < 88; ++y)
        for (int x = 0; x < 20; ++x) textPixels += canvas_.At(x, y) != RGB(216, 216, 209);
    EXPECT_GT(textPixels, 20) << "\"No Image !\" is written on the strip";

    // A title icon on a 20-pixel strip: 16 by 16, left edge at 3, its foot 2 above the strip's.
    VARIANT_BOOL noImage = VARIANT_FALSE;
    obj_->put_HasImageInVTitleBar(&noImage);
    auto titleIcon = MakePicture(16, kMagenta, kBlue, 0);
    obj_->SetVerticalTitleBarIcon(titleIcon.get());
    Open();
    canvas_.Clear(RGB(255, 255, 255));
    Paint(11, {0, 0, 200, 20}, false);
    EXPECT_EQ(kBlue, canvas_.At(3, 70)) << Rgb(canvas_.At(3, 70));
    EXPECT_EQ(kBlue, canvas_.At(18, 85)) << Rgb(canvas_.At(18, 85));
    EXPECT_NE(kBlue, canvas_.At(2, 70)) << Rgb(canvas_.At(2, 70));
    EXPECT_NE(kBlue, canvas_.At(3, 69)) << Rgb(canvas_.At(3, 69));
    EXPECT_NE(kBlue, canvas_.At(3, 86)) << Rgb(canvas_.At(3, 86));
    obj_->put_HasImageInVTitleBar(&image);

    // With an image the picture fills the strip and no text is drawn.
    auto green = MakePicture(10, RGB(0, 128, 0), RGB(0, 128, 0), 0);
    obj_->SetVerticalTitleBarImage(green.get());
    Open();
    canvas_.Clear(RGB(255, 255, 255));
    Paint(11, {0, 0, 200, 20}, false);
    int notGreen = 0;
    for (int y = 0; y < 88; ++y)
        for (int x = 0; x < 20; ++x) notGreen += canvas_.At(x, y) != RGB(0, 128, 0);
    EXPECT_EQ(0, notGreen);
}

TEST_F(MenuPaint, Style170HighlightGradientAndIcons) {
    obj_->put_IsMenuItemGradient(VARIANT_TRUE);
    obj_->put_HasVerticalTitleBar(VARIANT_TRUE);
    Open();
    // Unselected item with an icon: icon cell from 21, picture at (23, top + 2).
    Paint(11, {0, 0, 300, 20}, false);
    ExpectIconAt(canvas_, 23, 2, kBlue, "style 170 icon");
    // The same caption with a trailing blank, greyed: the grey silhouette.
    Paint(13, {0, 48, 300, 68}, false);
    ExpectIconAt(canvas_, 23, 50, kGrey, "style 170 disabled icon");

    // Selected item without an icon: gradient from x 21 to the right edge, red at the right.
    Paint(12, {0, 20, 300, 40}, true);
    const COLORREF right = canvas_.At(297, 22);
    EXPECT_EQ(RGB(255, 0, 0), right) << Rgb(right);
    const COLORREF left = canvas_.At(23, 22);
    EXPECT_EQ(255, GetRValue(left)) << Rgb(left);
    EXPECT_GE(GetGValue(left), 245) << Rgb(left);
    int previous = -1;
    for (int x = 23; x < 298; x += 5) {
        const int g = GetGValue(canvas_.At(x, 22));
        if (previous >= 0) {
            EXPECT_LE(g, previous) << "x " << x;
        }
        previous = g;
    }

    // Checked item without an icon, selected: a check mark in the icon cell.
    canvas_.Clear(RGB(255, 255, 255));
    Paint(14, {0, 68, 300, 88}, true);
    int marked = 0;
    for (int y = 70; y < 86; ++y)
        for (int x = 23; x < 39; ++x) marked += canvas_.At(x, y) != RGB(255, 255, 255);
    EXPECT_GT(marked, 20) << "check mark drawn";
}

TEST_F(MenuPaint, Style187IconsAndSystemColours) {
    obj_->SetMenuDisplayStyle(m_WindowsDefaultStyle, VARIANT_TRUE);
    Open();
    Paint(11, {0, 0, 300, 20}, false);
    ExpectIconAt(canvas_, 3, 2, kBlue, "style 187 icon");
    EXPECT_EQ(RGB(255, 255, 255), canvas_.At(0, 87)) << "no title strip in this style";
    EXPECT_EQ(::GetSysColor(COLOR_MENU), canvas_.At(1, 1)) << Rgb(canvas_.At(1, 1));
    Paint(12, {0, 20, 300, 40}, true);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), canvas_.At(290, 21)) << Rgb(canvas_.At(290, 21));
    Paint(11, {0, 100, 300, 120}, true);
    ExpectIconAt(canvas_, 3, 102, kBlue, "style 187 selected icon");
}

TEST_F(MenuPaint, Style204RaisedIconOverItsShadow) {
    obj_->SetMenuDisplayStyle(m_WindowsOfficeXPStyle, VARIANT_TRUE);
    Open();
    Paint(11, {0, 0, 300, 20}, false);
    ExpectIconAt(canvas_, 25, 3, kBlue, "style 204 icon");
    EXPECT_EQ(RGB(236, 233, 216), canvas_.At(21, 1)) << "icon column " << Rgb(canvas_.At(21, 1));
    EXPECT_EQ(RGB(249, 248, 247), canvas_.At(200, 1)) << "back colour " << Rgb(canvas_.At(200, 1));

    canvas_.Clear(RGB(255, 255, 255));
    Paint(11, {0, 20, 300, 40}, true);
    EXPECT_EQ(kBlue, canvas_.At(23 + 4, 21 + 4)) << Rgb(canvas_.At(27, 25));
    EXPECT_EQ(kBlue, canvas_.At(23 + 11, 21 + 11)) << Rgb(canvas_.At(34, 32));
    EXPECT_EQ(kGrey, canvas_.At(25 + 11, 23 + 11)) << "shadow " << Rgb(canvas_.At(36, 34));
    EXPECT_EQ(RGB(49, 106, 197), canvas_.At(21, 30)) << "border " << Rgb(canvas_.At(21, 30));
    EXPECT_EQ(RGB(216, 228, 248), canvas_.At(200, 30)) << "fill " << Rgb(canvas_.At(200, 30));

    // The separator: back colour with the icon column painted over the line.
    canvas_.Clear(RGB(255, 255, 255));
    Paint(0, {0, 40, 300, 48}, false);
    EXPECT_EQ(RGB(236, 233, 216), canvas_.At(30, 43)) << Rgb(canvas_.At(30, 43));
    EXPECT_EQ(RGB(249, 248, 247), canvas_.At(200, 41)) << Rgb(canvas_.At(200, 41));
    EXPECT_NE(RGB(249, 248, 247), canvas_.At(200, 43)) << "the line " << Rgb(canvas_.At(200, 43));
    EXPECT_EQ(RGB(255, 255, 255), canvas_.At(10, 41)) << "left of the column is the title strip";
}

TEST_F(MenuPaint, BackPictureOnlyInTheCustomStyle) {
    auto green = MakePicture(8, RGB(0, 160, 0), RGB(0, 160, 0), 0);
    salva::unique_variant none;
    ASSERT_EQ(S_OK, obj_->SetMenuBackPicture(green.get(), &none));
    EXPECT_EQ(VT_EMPTY, V_VT(&none));
    Open();
    Paint(12, {0, 20, 300, 40}, false);
    EXPECT_EQ(RGB(0, 160, 0), canvas_.At(200, 21)) << Rgb(canvas_.At(200, 21));
    Paint(0, {0, 40, 300, 48}, false);  // the separator
    EXPECT_EQ(RGB(0, 160, 0), canvas_.At(200, 41)) << Rgb(canvas_.At(200, 41));
    // A null picture leaves the stored one alone.
    ASSERT_EQ(S_OK, obj_->SetMenuBackPicture(nullptr, &none));
    canvas_.Clear(RGB(255, 255, 255));
    Paint(12, {0, 20, 300, 40}, false);
    EXPECT_EQ(RGB(0, 160, 0), canvas_.At(200, 21)) << Rgb(canvas_.At(200, 21));

    obj_->SetMenuDisplayStyle(m_WindowsOfficeXPStyle, VARIANT_FALSE);
    canvas_.Clear(RGB(255, 255, 255));
    Paint(12, {0, 20, 300, 40}, false);
    EXPECT_NE(RGB(0, 160, 0), canvas_.At(200, 21)) << Rgb(canvas_.At(200, 21));
    obj_->SetMenuDisplayStyle(m_WindowsDefaultStyle, VARIANT_FALSE);
    Paint(12, {0, 20, 300, 40}, false);
    EXPECT_NE(RGB(0, 160, 0), canvas_.At(200, 21)) << Rgb(canvas_.At(200, 21));
}

TEST_F(MenuPaint, ManyItemsLeakNoGdiHandles) {
    obj_->put_IsMenuItemGradient(VARIANT_TRUE);
    // A title icon: every strip asks GetIconInfo for the icon's bitmaps.
    PICTDESC desc{sizeof(desc), PICTYPE_ICON};
    desc.icon.hicon = ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
    salva::com_ptr<IPictureDisp> icon;
    ASSERT_EQ(S_OK, ::OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, icon.put_void()));
    obj_->SetVerticalTitleBarIcon(icon.get());
    Open();
    // Warm up once so caches the system keeps are counted before.
    for (UINT id = 11; id <= 14; ++id) Paint(id, {0, 0, 300, 20}, true);
    const DWORD before = LiveGdiObjects();
    if (before == 0) GTEST_SKIP() << "no way to count this process's GDI objects here";
    {
        // The count must see what it is meant to catch.
        salva::unique_hbrush probe(::CreateSolidBrush(RGB(1, 2, 3)));
        salva::unique_hbitmap probe2(::CreateBitmap(4, 4, 1, 1, nullptr));
        EXPECT_EQ(before + 2, LiveGdiObjects());
    }
    for (int n = 0; n < 1000; ++n) {
        const UINT id = 11 + n % 4;
        if (n % 4 == 0) Open();
        Paint(id, {0, 0, 300, 20}, n % 2 == 0);
    }
    const DWORD after = LiveGdiObjects();
    EXPECT_LE(after, before + 2) << "before " << before << ", after " << after;
}

TEST(GradientFill, BandsFromEndColourUpwards) {
    Canvas c(40, 1100);
    RECT r{0, 0, 10, 300};
    velmora::GradientFill(c.dc(), r, RGB(0, 0, 0), RGB(200, 100, 50), true);
    // 300 / 255 = 1, raised to 2: two-pixel bands. The colour moves away from the end
    // colour only after the second band, as its step is taken from the band just painted.
    EXPECT_EQ(RGB(200, 100, 50), c.At(5, 299)) << Rgb(c.At(5, 299));
    EXPECT_EQ(RGB(200, 100, 50), c.At(5, 296)) << Rgb(c.At(5, 296));
    EXPECT_EQ(RGB(199, 99, 50), c.At(5, 295)) << Rgb(c.At(5, 295));
    EXPECT_EQ(c.At(5, 295), c.At(5, 294));
    EXPECT_NE(c.At(5, 294), c.At(5, 293));
    EXPECT_EQ(RGB(3, 1, 1), c.At(5, 0)) << "the top band " << Rgb(c.At(5, 0));
    RECT tall{20, 0, 30, 1020};
    velmora::GradientFill(c.dc(), tall, RGB(0, 0, 0), RGB(255, 255, 255), true);
    EXPECT_EQ(RGB(255, 255, 255), c.At(25, 1012)) << "bands of four";
    EXPECT_EQ(RGB(254, 254, 254), c.At(25, 1011)) << Rgb(c.At(25, 1011));
    EXPECT_EQ(RGB(254, 254, 254), c.At(25, 1008)) << Rgb(c.At(25, 1008));
    EXPECT_NE(c.At(25, 1008), c.At(25, 1007));
    RECT none{0, 400, 10, 400};
    velmora::GradientFill(c.dc(), none, RGB(0, 0, 0), RGB(0, 0, 0), true);
    EXPECT_EQ(RGB(255, 255, 255), c.At(5, 400));
}

TEST(MemoryDrawingSurface, IconScalingMarksAndSize) {
    Canvas c(200, 120);
    auto disp = MakePicture(16, kMagenta, kBlue, 0);
    salva::com_ptr<IPicture> pic;
    ASSERT_EQ(S_OK, disp.query(pic.put()));
    velmora::cMemDC mem;
    mem.DrawIcon16Or32(c.dc(), pic.get(), 0, 0, 32, 32, kMagenta);
    // 16 x 16 pixels spread over 32 x 32: every other pixel.
    EXPECT_EQ(kBlue, c.At(0, 0));
    EXPECT_EQ(kBlue, c.At(2, 2));
    EXPECT_EQ(RGB(255, 255, 255), c.At(1, 1)) << Rgb(c.At(1, 1));
    EXPECT_EQ(kBlue, c.At(30, 30));

    // Larger than 72 pixels: stretched whole, mask colour included.
    auto bigDisp = MakePicture(80, kMagenta, kBlue, 30);
    salva::com_ptr<IPicture> big;
    ASSERT_EQ(S_OK, bigDisp.query(big.put()));
    mem.DrawIcon16Or32(c.dc(), big.get(), 100, 0, 80, 80, kMagenta);
    EXPECT_EQ(kMagenta, c.At(100, 0)) << Rgb(c.At(100, 0));
    EXPECT_EQ(kBlue, c.At(140, 40)) << Rgb(c.At(140, 40));

    // An icon: GetIconInfo's bitmaps are the caller's and are deleted again.
    salva::unique_hicon icon(static_cast<HICON>(::LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 32, 32, LR_SHARED)));
    PICTDESC desc{sizeof(desc), PICTYPE_ICON};
    desc.icon.hicon = ::CopyIcon(icon.release());
    salva::com_ptr<IPicture> iconPic;
    ASSERT_EQ(S_OK, ::OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, iconPic.put_void()));
    c.Clear(RGB(255, 255, 255));
    mem.DrawDisEnabledIcon(c.dc(), iconPic.get(), 0, 0, 32, 32, RGB(255, 255, 255));
    int grey = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) grey += c.At(x, y) == kGrey;
    EXPECT_GT(grey, 50) << "the icon's silhouette in grey";

    EXPECT_EQ(0x4400u, velmora::cMemDC::MarkState(true, false));
    EXPECT_EQ(0x4600u, velmora::cMemDC::MarkState(true, true));
    EXPECT_EQ(0x4404u, velmora::cMemDC::MarkState(false, false));
    EXPECT_EQ(0x4604u, velmora::cMemDC::MarkState(false, true));

    velmora::cMemDC surface;
    EXPECT_EQ(nullptr, surface.hDC());
    surface.Width(100);
    surface.Height(24);
    EXPECT_EQ(100, surface.Width());
    EXPECT_EQ(24, surface.Height());
    surface.Width(50);
    EXPECT_EQ(100, surface.Width()) << "the surface never shrinks";
    surface.CreateFromPicture(big.get());
    EXPECT_EQ(100, surface.Width());
    EXPECT_EQ(80, surface.Height());
    EXPECT_EQ(kBlue, ::GetPixel(surface.hDC(), 40, 40));

    c.Clear(RGB(255, 255, 255));
    surface.DrawPatternMask(c.dc(), 0, 0, 8, 8);
    EXPECT_NE(c.At(0, 0), c.At(1, 0));
    EXPECT_EQ(c.At(0, 0), c.At(1, 1));

    // Transparent copy: the mask colour lets the background through.
    c.Clear(RGB(0, 255, 0));
    surface.TransParentPaint(c.dc(), pic.get(), 50, 50, kMagenta);
    EXPECT_EQ(kBlue, c.At(55, 55)) << Rgb(c.At(55, 55));
    auto ringDisp = MakePicture(16, kMagenta, kBlue, 4);
    salva::com_ptr<IPicture> ring;
    ringDisp.query(ring.put());
    surface.TransParentPaint(c.dc(), ring.get(), 80, 50, kMagenta);
    EXPECT_EQ(RGB(0, 255, 0), c.At(81, 51)) << Rgb(c.At(81, 51));
    EXPECT_EQ(kBlue, c.At(86, 56)) << Rgb(c.At(86, 56));
}

TEST_F(MenuPaint, IconTableThroughTheLibraryAndByName) {
    // Slot 1 holds "打开" from SetUp; 254 more fill the table, the next call stores nothing.
    long mask = kMagenta;
    for (int k = 2; k <= 255; ++k) {
        salva::unique_bstr c(::SysAllocString((L"图标" + std::to_wstring(k)).c_str()));
        obj_->SetMenuItemIcon(c.get(), pic_.get(), &mask);
    }
    salva::com_ptr<IDispatch> d;
    ASSERT_EQ(S_OK, obj_.query(d.put()));
    salva::unique_variant args[3];
    V_VT(&args[2]) = VT_BSTR;
    V_BSTR(&args[2]) = ::SysAllocString(L"A");
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = pic_.get();
    pic_->AddRef();
    V_VT(&args[0]) = VT_I4;  // by value for the by-reference mask colour
    V_I4(&args[0]) = static_cast<LONG>(kMagenta);
    ASSERT_EQ(S_OK, Invoke(d.get(), L"SetMenuItemIcon", DISPATCH_METHOD, args, 3, nullptr));
    Open();
    Paint(12, {0, 20, 300, 40}, false);
    EXPECT_NE(kBlue, canvas_.At(23 + 4, 22 + 4)) << "the 256th entry was not stored " << Rgb(canvas_.At(27, 26));

    // A fresh table: the entry made by name is found and drawn with its mask colour. Any
    // object that ends empties the shared table.
    d.reset();
    obj_.reset();
    obj_ = CreateMenuObject();
    obj_->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(host_)));
    ASSERT_EQ(S_OK, obj_.query(d.put()));
    ASSERT_EQ(S_OK, Invoke(d.get(), L"SetMenuItemIcon", DISPATCH_METHOD, args, 3, nullptr));
    Open();
    canvas_.Clear(RGB(255, 255, 255));
    Paint(11, {0, 0, 300, 20}, false);
    EXPECT_NE(kBlue, canvas_.At(27, 6)) << "the table was emptied " << Rgb(canvas_.At(27, 6));
    Paint(12, {0, 20, 300, 40}, false);
    ExpectIconAt(canvas_, 23, 22, kBlue, "icon stored by name");
}

TEST_F(MenuPaint, NonPictureArgumentIsReportedInAMessageBox) {
    salva::com_ptr<IDispatch> d;
    ASSERT_EQ(S_OK, obj_.query(d.put()));
    salva::unique_variant args[3];
    V_VT(&args[2]) = VT_BSTR;
    V_BSTR(&args[2]) = ::SysAllocString(L"B");
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = d.get();  // the menu object itself is no picture
    d->AddRef();
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = 1;
    // The dispatcher itself refuses an object that is not a picture ...
    EXPECT_EQ(E_NOINTERFACE, Invoke(d.get(), L"SetMenuItemIcon", DISPATCH_METHOD, args, 3, nullptr));
    // ... a caller of the slot reaches the library, which describes the error itself (the
    // system has no text for it) and goes on.
    salva::unique_bstr caption(::SysAllocString(L"B"));
    long mask = 1;
    const struct {
        IPictureDisp* picture;
        long* mask;
        const wchar_t* text;
    } calls[] = {
        {reinterpret_cast<IPictureDisp*>(d.get()), &mask, L"类型不匹配：菜单项的图标不是图片。\r\n"},
        {pic_.get(), nullptr, L"无效的参数：没有给出图标的掩码颜色。\r\n"},
    };
    for (const auto& c : calls) {
        std::wstring text;
        testsupport::Watcher watcher(L"Error！", [&text](HWND box) {
            HWND label = ::GetDlgItem(box, 0xFFFF);
            text = testsupport::WindowText(label);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(S_OK, obj_->SetMenuItemIcon(caption.get(), c.picture, c.mask));
        watcher.Join();
        EXPECT_TRUE(watcher.found()) << "no message box titled Error！";
        EXPECT_EQ(testsupport::Narrow(c.text), testsupport::Narrow(text)) << "the box names the error";
    }
    Open();
    Paint(14, {0, 68, 300, 88}, false);
    // Nothing was stored for "B": its cell shows the check mark, not the test picture.
    EXPECT_NE(kBlue, canvas_.At(27, 74)) << Rgb(canvas_.At(27, 74));
}
