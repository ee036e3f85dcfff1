// The prompt window classes across loads of the library: a class of the same name left behind
// by an earlier load of the library at the same address is replaced, and a prompt that cannot
// be shown at all fails its call instead of reading as a cancel.
#include "TestSupport.h"
#include "Dorvex.h"
#include "dorvex/PromptFrame.h"

using namespace testsupport;

namespace {

const wchar_t kPromptClass[] = L"DorvexPromptWindow";

struct Library {
    Library() : dll(::LoadLibraryW((BinDir() + L"\\Dorvex.dll").c_str())) {}
    ~Library() {
        if (dll) ::FreeLibrary(dll);
    }
    // The overwrite-or-continue prompt, its class object taken straight from this load.
    // `waitMs`: how long a watcher waits for the prompt to come up and answers it.
    long Ask(const std::wstring& sur, const std::wstring& dec, HRESULT* hr, int waitMs = 30000) {
        using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        auto get = reinterpret_cast<GetClassObject>(::GetProcAddress(dll, "DllGetClassObject"));
        salva::com_ptr<IClassFactory> factory;
        salva::com_ptr<_Dorvex> prompt;
        if (!get || FAILED(get(CLSID_Dorvex, IID_IClassFactory, factory.put_void())) ||
            FAILED(factory->CreateInstance(nullptr, IID__Dorvex, prompt.put_void())))
            return -99;
        Watcher no(L"文件已经存在", [](HWND box) {
            HWND b = FindControl(box, dorvex::ids::cmdNo);
            if (b) ::PostMessageW(b, BM_CLICK, 0, 0);
        }, nullptr, waitMs);
        salva::unique_bstr s(::SysAllocString(sur.c_str())), d(::SysAllocString(dec.c_str()));
        long choice = -99;
        *hr = prompt->SwitchDialogBox(s.get(), d.get(), &choice);
        return choice;
    }
    HMODULE dll;
};

// What an earlier load that was not unregistered leaves: the class under the library's
// instance, its procedure pointing somewhere else.
bool LeaveStaleClass(HMODULE dll) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = dll;
    wc.lpszClassName = kPromptClass;
    return ::RegisterClassExW(&wc) != 0;
}

class PromptClasses : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteBytes(sur_, Pattern(100)));
        ASSERT_TRUE(WriteBytes(dec_, Pattern(50)));
    }
    salva::co_init_scope com_;
    TempDir dir_;
    std::wstring sur_ = dir_ / L"a.dat", dec_ = dir_ / L"b.dat";
};

}  // namespace

TEST_F(PromptClasses, StaleClassOfAnEarlierLoadIsReplaced) {
    Library lib;
    ASSERT_NE(nullptr, lib.dll);
    ::UnregisterClassW(kPromptClass, lib.dll);  // a prompt of this run may have registered it
    ASSERT_TRUE(LeaveStaleClass(lib.dll)) << ::GetLastError();
    HRESULT hr = E_UNEXPECTED;
    EXPECT_EQ(2, lib.Ask(sur_, dec_, &hr)) << "the prompt did not come up: 否 continues";
    EXPECT_EQ(S_OK, hr);
    // And again with the class this load registered.
    EXPECT_EQ(2, lib.Ask(sur_, dec_, &hr));
}

TEST_F(PromptClasses, PromptThatCannotBeShownFailsTheCall) {
    Library lib;
    ASSERT_NE(nullptr, lib.dll);
    ::UnregisterClassW(kPromptClass, lib.dll);
    ASSERT_TRUE(LeaveStaleClass(lib.dll));
    // A window of the stale class keeps it from being taken away.
    salva::unique_hwnd pinned(::CreateWindowExW(0, kPromptClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, lib.dll,
                                                nullptr));
    ASSERT_TRUE(pinned);
    HRESULT hr = S_OK;
    const long choice = lib.Ask(sur_, dec_, &hr, 500);
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_EQ(0, choice) << "a caller that reads only the answer sees no choice";
    pinned.reset();
    ::UnregisterClassW(kPromptClass, lib.dll);
}
