// The owner window hook of Velmora.dll: popups become owner-drawn and numbered when they
// open, items are measured, and the messages the library does not own reach the window.
#include "VelmoraTest.h"
#include <vector>

using namespace vtest;

namespace {

struct ItemState {
    UINT type = 0;
    ULONG_PTR data = 0;
};

ItemState ItemAt(HMENU menu, int pos) {
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ::GetMenuItemInfoW(menu, pos, TRUE, &info);
    return {info.fType, info.dwItemData};
}

std::wstring ItemText(HMENU menu, int pos) {
    wchar_t buf[256] = {};
    ::GetMenuStringW(menu, pos, buf, 255, MF_BYPOSITION);
    return buf;
}

MEASUREITEMSTRUCT Measure(HWND host, UINT ctlType, ULONG_PTR data) {
    MEASUREITEMSTRUCT m{};
    m.CtlType = ctlType;
    m.itemData = data;
    ::SendMessageW(host, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    return m;
}

class MenuHook : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterLibrary();
        obj_ = CreateMenuObject();
        ASSERT_TRUE(obj_);
        host_ = CreateHost();
        ASSERT_NE(nullptr, host_);
        ownProc_ = ::GetWindowLongPtrW(host_, GWLP_WNDPROC);
        ASSERT_EQ(S_OK, obj_->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(host_))));
        Log() = HostLog{};
    }
    void TearDown() override {
        obj_.reset();
        if (host_) ::DestroyWindow(host_);
    }
    salva::com_ptr<_cVelmora> obj_;
    HWND host_ = nullptr;
    LONG_PTR ownProc_ = 0;
};

}  // namespace

TEST_F(MenuHook, PopupItemsAreNumberedDepthFirst) {
    EXPECT_NE(ownProc_, ::GetWindowLongPtrW(host_, GWLP_WNDPROC)) << "the window procedure was replaced";
    long owner = 0;
    obj_->get_OwnerhWnd(&owner);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(host_), owner);

    salva::unique_hmenu menu(::CreatePopupMenu());
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 201, L"子项一");
    ::AppendMenuW(sub, MF_STRING, 202, L"子项二");
    ::AppendMenuW(menu.get(), MF_STRING, 101, L"打开\tCtrl+O");
    ::AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"更多");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING, 103, L"退出");

    EXPECT_EQ(0, ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0));
    EXPECT_EQ(0, Log().initMenuPopup) << "the popup message is the library's";
    const std::vector<std::pair<HMENU, int>> order = {{menu.get(), 0}, {menu.get(), 1}, {sub, 0},
                                                      {sub, 1},        {menu.get(), 2}, {menu.get(), 3}};
    for (size_t n = 0; n < order.size(); ++n) {
        const ItemState st = ItemAt(order[n].first, order[n].second);
        EXPECT_TRUE(st.type & MFT_OWNERDRAW) << "item " << n + 1 << " type " << st.type;
        EXPECT_EQ(n + 1, st.data) << "item " << n + 1;
    }
    EXPECT_EQ(L"打开\tCtrl+O", ItemText(menu.get(), 0)) << "owner-drawn items keep their text";
    EXPECT_TRUE(ItemAt(menu.get(), 2).type & MFT_SEPARATOR);

    // Opening the submenu later finds it converted: its numbers stay.
    ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), 1);
    EXPECT_EQ(3u, ItemAt(sub, 0).data);
    EXPECT_EQ(4u, ItemAt(sub, 1).data);

    // The window menu is left alone and still answered with 0.
    salva::unique_hmenu system(::CreatePopupMenu());
    ::AppendMenuW(system.get(), MF_STRING, 301, L"还原");
    EXPECT_EQ(0, ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system.get()), MAKELPARAM(0, 1)));
    EXPECT_FALSE(ItemAt(system.get(), 0).type & MFT_OWNERDRAW);
    EXPECT_EQ(0, Log().initMenuPopup);
}

TEST_F(MenuHook, ItemSizesFollowTitleAndIconSettings) {
    salva::unique_hmenu menu(::CreatePopupMenu());
    const wchar_t* longest = L"显示文件属性(P)...";
    ::AppendMenuW(menu.get(), MF_STRING, 1, L"短");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu.get(), MF_STRING, 2, longest);
    ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0);

    // The widest text in the font that paints the items.
    salva::unique_hdc dc(::CreateCompatibleDC(nullptr));
    salva::select_scope font(dc.get(), ::GetStockObject(DEFAULT_GUI_FONT));
    const auto extent = [&dc](const wchar_t* text) {
        RECT r{};
        ::DrawTextW(dc.get(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        return static_cast<int>(r.right - r.left);
    };
    const int W = extent(longest) + 2;
    ASSERT_GT(W, 10);

    MEASUREITEMSTRUCT item = Measure(host_, ODT_MENU, 3);
    EXPECT_EQ(static_cast<UINT>(20 + W + 16 + 8), item.itemWidth) << "W=" << W;
    EXPECT_EQ(20u, item.itemHeight);
    MEASUREITEMSTRUCT sep = Measure(host_, ODT_MENU, 2);
    EXPECT_EQ(8u, sep.itemHeight);
    EXPECT_EQ(0, Log().measureItem);

    obj_->put_HasIconInMenuItem(VARIANT_FALSE);
    EXPECT_EQ(static_cast<UINT>(20 + W + 4), Measure(host_, ODT_MENU, 1).itemWidth);
    obj_->put_HasVerticalTitleBar(VARIANT_FALSE);
    EXPECT_EQ(static_cast<UINT>(W + 20), Measure(host_, ODT_MENU, 1).itemWidth);
    obj_->put_HasIconInMenuItem(VARIANT_TRUE);
    obj_->put_MenuItemIconWidth(24);
    obj_->put_MenuItemIconHeight(30);
    item = Measure(host_, ODT_MENU, 1);
    EXPECT_EQ(static_cast<UINT>(24 + W + 4), item.itemWidth);
    EXPECT_EQ(34u, item.itemHeight);
    // A Boolean other than 0 and -1 falls back to the plain width.
    obj_->put_HasVerticalTitleBar(1);
    EXPECT_EQ(static_cast<UINT>(W + 20), Measure(host_, ODT_MENU, 1).itemWidth);

    // Item data the library did not give out has no separator mark.
    salva::unique_hmenu foreign(::CreatePopupMenu());
    ::AppendMenuW(foreign.get(), MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCWSTR>(100000));
    ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(foreign.get()), 0);
    EXPECT_EQ(100000u, ItemAt(foreign.get(), 0).data) << "an owner-drawn item keeps its own data";
    EXPECT_EQ(34u, Measure(host_, ODT_MENU, 100000).itemHeight);

    // A shortcut stands one whole tab stop after its caption and keeps its right margin.
    obj_->put_HasVerticalTitleBar(VARIANT_FALSE);
    ::AppendMenuW(menu.get(), MF_STRING, 3, L"打开文件(&O)\tCtrl+O");
    ::SendMessageW(host_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0);
    const int tabbed = extent(L"打开文件(&O)") + extent(L"\t") + extent(L"Ctrl+O") + 20 + 2;
    ASSERT_GT(tabbed, W);
    EXPECT_EQ(static_cast<UINT>(24 + tabbed + 4), Measure(host_, ODT_MENU, 1).itemWidth) << "text " << tabbed;
}

TEST_F(MenuHook, OwnControlsAndDestructionReachTheWindow) {
    MEASUREITEMSTRUCT m = Measure(host_, ODT_LISTBOX, 0);
    EXPECT_EQ(1, Log().measureItem) << "a list box's size request reaches the window";
    EXPECT_EQ(0u, m.itemWidth);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_BUTTON;
    EXPECT_EQ(TRUE, ::SendMessageW(host_, WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&d)));
    EXPECT_EQ(1, Log().drawItem);
    EXPECT_EQ(0, ::SendMessageW(host_, WM_ENTERMENULOOP, 0, 0));

    // Releasing the object hands the window its own procedure back.
    obj_.reset();
    EXPECT_EQ(ownProc_, ::GetWindowLongPtrW(host_, GWLP_WNDPROC));

    obj_ = CreateMenuObject();
    obj_->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(host_)));
    ::DestroyWindow(host_);
    host_ = nullptr;
    EXPECT_EQ(1, Log().destroy) << "WM_DESTROY still reaches the window after the unhook";
}

TEST_F(MenuHook, SecondWindowTakesOverAndTheFirstIsRestored) {
    HWND second = CreateHost();
    ASSERT_NE(nullptr, second);
    obj_->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(second)));
    EXPECT_EQ(ownProc_, ::GetWindowLongPtrW(host_, GWLP_WNDPROC));
    EXPECT_NE(ownProc_, ::GetWindowLongPtrW(second, GWLP_WNDPROC));
    // Hooking the same window twice must not chain the library to itself.
    obj_->StartDrawVelmora(static_cast<long>(reinterpret_cast<LONG_PTR>(second)));
    EXPECT_EQ(0, ::SendMessageW(second, WM_NULL, 0, 0));
    ::DestroyWindow(second);
}
