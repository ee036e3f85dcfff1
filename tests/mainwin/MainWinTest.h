// The main window under test: options that keep it off the program folder's registration,
// a log window of its own writing into a temporary folder, and a recorder that stands in for
// the popup-menu object and writes down every call it gets.
#pragma once
#include "DropData.h"
#include "TestSupport.h"
#include "copier/FrmCopy.h"
#include "windows/frmSystem.h"
#include "Velmora.h"
#include <memory>
#include <string>
#include <vector>

namespace mainwintest {

class VelmoraRecorder : public _cVelmora {
public:
    std::vector<std::wstring> calls;
    LONG refs = 1;

    // IUnknown / IDispatch
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_OwnerhWnd(LONG*) override;
    HRESULT STDMETHODCALLTYPE put_OwnerhWnd(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_HasVerticalTitleBar(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_HasImageInVTitleBar(VARIANT_BOOL*) override;
    HRESULT STDMETHODCALLTYPE get_VerticalTitleBarTitle(BSTR*) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarTitle(BSTR v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarWidth(short v) override;
    HRESULT STDMETHODCALLTYPE get_VerticalTitleBarHeight(short*) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarEscapement(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarTextColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarStartColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarEndColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_VTBarGradientTopToBottom(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_VTBarGradientLeftToRight(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE SetVerticalTitleBarImage(IPictureDisp*) override;
    HRESULT STDMETHODCALLTYPE SetVerticalTitleBarIcon(IPictureDisp*) override;
    HRESULT STDMETHODCALLTYPE get_GetVerticalTitleBarFontName(BSTR*) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarFontName(VTitleBarFontName* v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarFontSize(short v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarFontWeight(VTitleBarFontWeight v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarFontItalic(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarFontUnderline(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_VerticalTitleBarFontStrike(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_HasIconInMenuItem(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE get_MenuItemIconWidth(short*) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemIconWidth(short v) override;
    HRESULT STDMETHODCALLTYPE get_MenuItemIconHeight(short*) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemIconHeight(short v) override;
    HRESULT STDMETHODCALLTYPE SetMenuIcon3DEffect(Edage3DEffect v) override;
    HRESULT STDMETHODCALLTYPE SetMenuBackPicture(IPictureDisp*, VARIANT*) override;
    HRESULT STDMETHODCALLTYPE put_IsMenuItemGradient(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemForeColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemFillColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemBackColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemHighLightColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemBorderColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemFrameColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemStartColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemEndColor(LONG v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemGradientTopToBottom(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE put_MenuItemGradientLeftToRight(VARIANT_BOOL v) override;
    HRESULT STDMETHODCALLTYPE SetMenuItem3DEffect(Edage3DEffect e, VARIANT_BOOL d) override;
    HRESULT STDMETHODCALLTYPE SetMenuDisplayStyle(MenuStyle s, VARIANT_BOOL d) override;
    HRESULT STDMETHODCALLTYPE SetMenuItemIcon(BSTR caption, IPictureDisp* pic, LONG* mask) override;
    HRESULT STDMETHODCALLTYPE StartDrawVelmora(LONG hWnd) override;

private:
    HRESULT Note(const std::wstring& call) {
        calls.push_back(call);
        return S_OK;
    }
};

// Every window-creating test initialises COM and the common controls once per process.
void InitOnce();

// A main window with its own log window; `order` receives "register" and "velmora" in the
// order start-up asks for them, and the preview calls as they come.
struct Harness {
    explicit Harness(bool withRecorder = true);
    ~Harness();
    void Create(int show = SW_SHOWNOACTIVATE);

    // Runs on the options just before the window is made (routes and seams of a test).
    std::function<void(salva::FrmCopy::Options&)> configure;
    testsupport::TempDir dir;
    salva::frmSystem log;
    VelmoraRecorder recorder;
    std::vector<std::string> order;
    std::unique_ptr<salva::FrmCopy> frm;
    bool useRecorder;
};

// A main window with the registered Dorvex and Velmora libraries, for copies through it; its
// rename and copy-all commands do nothing.
class RegisteredWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // Checks the registrations and makes the window (h_, f_).
    void CreateWindowWithLibraries();
    // Presses Start on a target with a resume record, answers the record's prompt with 否
    // (continue the rest) and the completion report with OK; returns the report's texts.
    std::wstring StartAndContinueToTheReport();
    void TearDown() override { h_.reset(); }

    static testsupport::RegisteredServer* dorvex_;
    static testsupport::RegisteredServer* velmora_;
    std::unique_ptr<Harness> h_;
    salva::FrmCopy* f_ = nullptr;
};

// Handles window messages of this thread for `ms` milliseconds, or until `done` is true.
void Pump(int ms, const std::function<bool()>& done = nullptr);

std::wstring TextOf(HWND h);

// One item of an open popup menu as the menu holds it.
struct MenuItem {
    std::wstring caption;
    bool separator = false;
    bool enabled = false;
    bool checked = false;
    bool ownerDrawn = false;
    bool submenu = false;
};
std::vector<MenuItem> ReadMenu(HMENU menu);

// The first visible popup menu window, waited for up to `timeoutMs`; null when none opened.
HWND WaitForOpenMenu(int timeoutMs);

// Waits on another thread for a popup menu of this process to open, reads its items, then
// presses `keys` in it (VK_ESCAPE closes it). Join() waits for it.
class MenuWatcher {
public:
    explicit MenuWatcher(std::vector<WPARAM> keys = {VK_ESCAPE});
    void Join() { watcher_.Join(); }
    bool found() const { return watcher_.found(); }
    std::vector<MenuItem> items;

private:
    testsupport::Watcher watcher_;
};

// Panel 1 of a status bar.
std::wstring PanelText(HWND bar);
// "" when the list control holds the items the window reports, in their order, and the totals
// line gives their count and the lengths their files have now; otherwise what differs.
std::string ListAgainstDisk(salva::FrmCopy& f);

}  // namespace mainwintest
