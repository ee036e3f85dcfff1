#include "MainWinTest.h"
#include "dorvex/PromptFrame.h"
#include "copier/mSubClassImageCombo.h"
#include "services/FileListInfoText.h"
#include "services/mRegDll_Ocx_Tlb.h"
#include <commctrl.h>
#include <olectl.h>
#include <shlobj.h>
#include <algorithm>
#include <cstring>

namespace mainwintest {

namespace {
std::wstring Hex(LONG v) {
    wchar_t b[16];
    wsprintfW(b, L"%06lX", static_cast<unsigned long>(v));
    return b;
}
std::wstring Bool(VARIANT_BOOL v) { return v ? L"True" : L"False"; }
}  // namespace

HRESULT VelmoraRecorder::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__cVelmora) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT VelmoraRecorder::get_OwnerhWnd(LONG*) { return Note(L"get_OwnerhWnd"); }
HRESULT VelmoraRecorder::put_OwnerhWnd(LONG v) { return Note(L"OwnerhWnd=" + std::to_wstring(v)); }
HRESULT VelmoraRecorder::put_HasVerticalTitleBar(VARIANT_BOOL v) { return Note(L"HasVerticalTitleBar=" + Bool(v)); }
HRESULT VelmoraRecorder::put_HasImageInVTitleBar(VARIANT_BOOL*) { return Note(L"HasImageInVTitleBar"); }
HRESULT VelmoraRecorder::get_VerticalTitleBarTitle(BSTR*) { return Note(L"get_VerticalTitleBarTitle"); }
HRESULT VelmoraRecorder::put_VerticalTitleBarTitle(BSTR v) { return Note(L"VerticalTitleBarTitle=" + std::wstring(v ? v : L"")); }
HRESULT VelmoraRecorder::put_VerticalTitleBarWidth(short v) { return Note(L"VerticalTitleBarWidth=" + std::to_wstring(v)); }
HRESULT VelmoraRecorder::get_VerticalTitleBarHeight(short*) { return Note(L"get_VerticalTitleBarHeight"); }
HRESULT VelmoraRecorder::put_VerticalTitleBarEscapement(LONG v) { return Note(L"VerticalTitleBarEscapement=" + std::to_wstring(v)); }
HRESULT VelmoraRecorder::put_VerticalTitleBarTextColor(LONG v) { return Note(L"VerticalTitleBarTextColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_VerticalTitleBarStartColor(LONG v) { return Note(L"VerticalTitleBarStartColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_VerticalTitleBarEndColor(LONG v) { return Note(L"VerticalTitleBarEndColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_VTBarGradientTopToBottom(VARIANT_BOOL v) { return Note(L"VTBarGradientTopToBottom=" + Bool(v)); }
HRESULT VelmoraRecorder::put_VTBarGradientLeftToRight(VARIANT_BOOL v) { return Note(L"VTBarGradientLeftToRight=" + Bool(v)); }
HRESULT VelmoraRecorder::SetVerticalTitleBarImage(IPictureDisp*) { return Note(L"SetVerticalTitleBarImage"); }
HRESULT VelmoraRecorder::SetVerticalTitleBarIcon(IPictureDisp*) { return Note(L"SetVerticalTitleBarIcon"); }
HRESULT VelmoraRecorder::get_GetVerticalTitleBarFontName(BSTR*) { return Note(L"GetVerticalTitleBarFontName"); }
HRESULT VelmoraRecorder::put_VerticalTitleBarFontName(VTitleBarFontName* v) {
    return Note(L"VerticalTitleBarFontName=" + (v ? std::to_wstring(static_cast<int>(*v)) : std::wstring(L"null")));
}
HRESULT VelmoraRecorder::put_VerticalTitleBarFontSize(short v) { return Note(L"VerticalTitleBarFontSize=" + std::to_wstring(v)); }
HRESULT VelmoraRecorder::put_VerticalTitleBarFontWeight(VTitleBarFontWeight v) {
    return Note(L"VerticalTitleBarFontWeight=" + std::to_wstring(static_cast<int>(v)));
}
HRESULT VelmoraRecorder::put_VerticalTitleBarFontItalic(VARIANT_BOOL v) { return Note(L"VerticalTitleBarFontItalic=" + Bool(v)); }
HRESULT VelmoraRecorder::put_VerticalTitleBarFontUnderline(VARIANT_BOOL v) { return Note(L"VerticalTitleBarFontUnderline=" + Bool(v)); }
HRESULT VelmoraRecorder::put_VerticalTitleBarFontStrike(VARIANT_BOOL v) { return Note(L"VerticalTitleBarFontStrike=" + Bool(v)); }
HRESULT VelmoraRecorder::put_HasIconInMenuItem(VARIANT_BOOL v) { return Note(L"HasIconInMenuItem=" + Bool(v)); }
HRESULT VelmoraRecorder::get_MenuItemIconWidth(short*) { return Note(L"get_MenuItemIconWidth"); }
HRESULT VelmoraRecorder::put_MenuItemIconWidth(short v) { return Note(L"MenuItemIconWidth=" + std::to_wstring(v)); }
HRESULT VelmoraRecorder::get_MenuItemIconHeight(short*) { return Note(L"get_MenuItemIconHeight"); }
HRESULT VelmoraRecorder::put_MenuItemIconHeight(short v) { return Note(L"MenuItemIconHeight=" + std::to_wstring(v)); }
HRESULT VelmoraRecorder::SetMenuIcon3DEffect(Edage3DEffect v) { return Note(L"SetMenuIcon3DEffect(" + std::to_wstring(static_cast<int>(v)) + L")"); }
HRESULT VelmoraRecorder::SetMenuBackPicture(IPictureDisp*, VARIANT*) { return Note(L"SetMenuBackPicture"); }
HRESULT VelmoraRecorder::put_IsMenuItemGradient(VARIANT_BOOL v) { return Note(L"IsMenuItemGradient=" + Bool(v)); }
HRESULT VelmoraRecorder::put_MenuItemForeColor(LONG v) { return Note(L"MenuItemForeColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemFillColor(LONG v) { return Note(L"MenuItemFillColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemBackColor(LONG v) { return Note(L"MenuItemBackColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemHighLightColor(LONG v) { return Note(L"MenuItemHighLightColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemBorderColor(LONG v) { return Note(L"MenuItemBorderColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemFrameColor(LONG v) { return Note(L"MenuItemFrameColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemStartColor(LONG v) { return Note(L"MenuItemStartColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemEndColor(LONG v) { return Note(L"MenuItemEndColor=" + Hex(v)); }
HRESULT VelmoraRecorder::put_MenuItemGradientTopToBottom(VARIANT_BOOL v) { return Note(L"MenuItemGradientTopToBottom=" + Bool(v)); }
HRESULT VelmoraRecorder::put_MenuItemGradientLeftToRight(VARIANT_BOOL v) { return Note(L"MenuItemGradientLeftToRight=" + Bool(v)); }
HRESULT VelmoraRecorder::SetMenuItem3DEffect(Edage3DEffect e, VARIANT_BOOL d) {
    return Note(L"SetMenuItem3DEffect(" + std::to_wstring(static_cast<int>(e)) + L"," + Bool(d) + L")");
}
HRESULT VelmoraRecorder::SetMenuDisplayStyle(MenuStyle s, VARIANT_BOOL d) {
    return Note(L"SetMenuDisplayStyle(" + std::to_wstring(static_cast<int>(s)) + L"," + Bool(d) + L")");
}
HRESULT VelmoraRecorder::SetMenuItemIcon(BSTR caption, IPictureDisp* pic, LONG* mask) {
    std::wstring picture = L"none";
    if (pic) {
        salva::com_ptr<IPicture> p;
        short type = 0;
        if (SUCCEEDED(pic->QueryInterface(IID_IPicture, p.put_void())) && SUCCEEDED(p->get_Type(&type)))
            picture = type == PICTYPE_ICON ? L"icon" : L"type" + std::to_wstring(type);
    }
    return Note(L"SetMenuItemIcon(" + std::wstring(caption ? caption : L"") + L"," + picture + L"," +
                (mask ? Hex(*mask) : std::wstring(L"null")) + L")");
}
HRESULT VelmoraRecorder::StartDrawVelmora(LONG hWnd) { return Note(L"StartDrawVelmora(" + std::to_wstring(hWnd) + L")"); }

void InitOnce() {
    static salva::co_init_scope com;
    static bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

testsupport::RegisteredServer* RegisteredWindowTest::dorvex_ = nullptr;
testsupport::RegisteredServer* RegisteredWindowTest::velmora_ = nullptr;

void RegisteredWindowTest::SetUpTestSuite() {
    InitOnce();
    dorvex_ = new testsupport::RegisteredServer(L"Dorvex.dll");
    velmora_ = new testsupport::RegisteredServer(L"Velmora.dll");
}

void RegisteredWindowTest::TearDownTestSuite() {
    delete velmora_;
    delete dorvex_;
}

void RegisteredWindowTest::CreateWindowWithLibraries() {
    ASSERT_EQ(S_OK, dorvex_->result()) << "Dorvex.dll registration";
    ASSERT_EQ(S_OK, velmora_->result()) << "Velmora.dll registration";
    h_ = std::make_unique<Harness>(false);
    h_->configure = [](salva::FrmCopy::Options& o) {
        o.windows.rename = [] {};
        o.windows.copyAllFiles = [] {};
    };
    h_->Create();
    f_ = h_->frm.get();
}

std::wstring RegisteredWindowTest::StartAndContinueToTheReport() {
    bool continued = false;
    std::wstring report;
    testsupport::Watcher prompt(L"文件已经存在", [&](HWND box) {
        HWND no = testsupport::FindControl(box, dorvex::ids::cmdNo);
        continued = no != nullptr;
        if (no) ::PostMessageW(no, BM_CLICK, 0, 0);
    });
    // The report comes at the end of a whole copy: wait as long as that may take on a loaded
    // machine.
    testsupport::Watcher done(L"文件复制完成！", [&](HWND box) {
        report = testsupport::ChildTexts(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }, nullptr, 120000);
    ::SendMessageW(f_->Control(salva::FrmCopy::IDC_cmdStartCopy), BM_CLICK, 0, 0);
    prompt.Join();
    done.Join();
    EXPECT_TRUE(continued) << "continue prompt or its 否 button not found";
    EXPECT_TRUE(done.found()) << "no report";
    return report;
}

Harness::Harness(bool withRecorder) : useRecorder(withRecorder) {
    InitOnce();
    log.SetLogFilePath(dir / L"OperationNotes.log");
}

Harness::~Harness() {
    frm.reset();
    if (log.IsLoaded()) {
        log.KeepLoaded = false;
        log.Unload();
    }
}

void Harness::Create(int show) {
    salva::FrmCopy::Options o;
    o.registerServers = [this] {
        // An empty folder of the test's own: the walk runs, nothing gets registered.
        order.push_back("register");
        mRegDll_Ocx_Tlb::RegisterFolderServers(dir.path());
    };
    if (useRecorder) {
        o.createPopupMenus = [this] {
            order.push_back("velmora");
            return salva::com_ptr<_cVelmora>(&recorder);
        };
    }
    o.logWindow = &log;
    o.searchHistoryFile = dir / L"Salvadisksearch.ini";
    o.stopPreview = [this] { order.push_back("stopPreview"); };
    o.startPreview = [this] { order.push_back("startPreview"); };
    o.unloadPreview = [this] { order.push_back("unloadPreview"); };
    if (configure) configure(o);
    frm = std::make_unique<salva::FrmCopy>(std::move(o));
    ASSERT_TRUE(frm->Create(show));
}

void Pump(int ms, const std::function<bool()>& done) {
    if (done) {
        testsupport::PumpUntil("a condition of the test while pumping", ms, done);
        return;
    }
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(testsupport::ScaledMs(ms));
    while (static_cast<int>(end - ::GetTickCount()) > 0) {
        MSG m;
        while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
        if (done && done()) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring TextOf(HWND h) { return testsupport::WindowText(h); }

std::wstring PanelText(HWND bar) {
    wchar_t b[1024] = {};
    ::SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(b));
    return b;
}

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItem item;
        wchar_t text[256] = {};
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 255, MF_BYPOSITION);
        item.caption = text;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
        item.submenu = info.hSubMenu != nullptr;
        items.push_back(item);
    }
    return items;
}

HWND WaitForOpenMenu(int timeoutMs) {
    HWND popup = nullptr;
    testsupport::WaitUntil("a popup menu to open", timeoutMs, [&] {
        popup = ::FindWindowW(L"#32768", nullptr);
        return popup && ::IsWindowVisible(popup);
    }, 10);
    return popup && ::IsWindowVisible(popup) ? popup : nullptr;
}

MenuWatcher::MenuWatcher(std::vector<WPARAM> keys)
    : watcher_([] { return WaitForOpenMenu(10000); },
          [this, keys](HWND popup) {
              HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
              items = ReadMenu(menu);
              for (WPARAM k : keys) ::PostMessageW(popup, WM_KEYDOWN, k, 0);
          }) {}

std::string ListAgainstDisk(salva::FrmCopy& f) {
    HWND combo = f.Control(salva::FrmCopy::IDC_cmbFileCopy);
    std::vector<std::wstring> reported, held;
    uint64_t bytes = 0;
    for (int i = 0; i < f.FileListCount(); ++i) {
        reported.push_back(f.FileListItem(i));
        bytes += static_cast<uint64_t>(std::max<int64_t>(0, testsupport::FileLength(reported.back())));
    }
    for (int i = 0, n = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0)); i < n; ++i)
        held.push_back(salva::mSubClassImageCombo::ItemDrawText(combo, i));
    if (held != reported)
        return "control: " + testsupport::JoinTexts(held) + " window: " + testsupport::JoinTexts(reported);
    const std::wstring measured = salva::file_list_info::TotalsText(reported.size(), bytes);
    const std::wstring shown = TextOf(f.Control(salva::FrmCopy::IDC_lblFilesInfo));
    return shown == measured ? "" : "shown: " + testsupport::Narrow(shown) + " measured: " + testsupport::Narrow(measured);
}

}  // namespace mainwintest
