// The three prompts as a user meets them: created by class identifier, shown modally, read
// and answered by a watcher thread the way a user would (button clicks, the close box).
#include "TestSupport.h"
#include "Dorvex.h"
#include "dorvex/PromptFrame.h"
#include "dorvex/PromptText.h"
#include <functional>

using namespace testsupport;
namespace ids = dorvex::ids;

namespace {

class Prompts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new RegisteredServer(L"Dorvex.dll"); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(S_OK, server_->result()) << "registering Dorvex.dll";
        sur_ = dir_ / L"AVSEQ01.DAT";
        dec_ = dir_ / L"target\\AVSEQ01.DAT";
        ::CreateDirectoryW((dir_ / L"target").c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(sur_, Pattern(2048)));
        ASSERT_TRUE(WriteBytes(dec_, Pattern(100)));
    }
    template <typename I>
    salva::com_ptr<I> Make(const CLSID& clsid) {
        salva::com_ptr<I> p;
        EXPECT_EQ(S_OK, ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(I), p.put_void()));
        return p;
    }
    // What a click leaves behind: a radio button checked among its group, then the parent
    // told BN_CLICKED.
    static void Click(HWND window, int id) {
        HWND b = FindControl(window, id);
        ASSERT_NE(nullptr, b) << "control " << id;
        if ((::GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
            for (HWND s = ::GetWindow(::GetParent(b), GW_CHILD); s; s = ::GetWindow(s, GW_HWNDNEXT))
                if ((::GetWindowLongW(s, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                    ::SendMessageW(s, BM_SETCHECK, s == b ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ::SendMessageW(::GetParent(b), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
    }
    static void CloseBox(HWND window) { ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }
    static RECT Rect(HWND window, int id) {  // in the window's client coordinates
        RECT r{};
        HWND c = FindControl(window, id);
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static std::wstring Text(HWND window, int id) { return WindowText(FindControl(window, id)); }

    long Switch(_Dorvex* d, const std::wstring& sur, const std::wstring& dec) {
        salva::unique_bstr s(::SysAllocString(sur.c_str())), t(::SysAllocString(dec.c_str()));
        long choice = 99;
        EXPECT_EQ(S_OK, d->SwitchDialogBox(s.get(), t.get(), &choice));
        return choice;
    }
    long SwitchA(_DorvexA* d, const std::wstring& sur, const std::wstring& dec) {
        salva::unique_bstr s(::SysAllocString(sur.c_str())), t(::SysAllocString(dec.c_str()));
        long choice = 99;
        EXPECT_EQ(S_OK, d->SwitchDialogBoxA(s.get(), t.get(), &choice));
        return choice;
    }
    long SwitchB(_DorvexB* d, const std::wstring& sur, const std::wstring& dec) {
        salva::unique_bstr s(::SysAllocString(sur.c_str())), t(::SysAllocString(dec.c_str()));
        long choice = 99;
        EXPECT_EQ(S_OK, d->SwitchDialogBoxB(s.get(), t.get(), &choice));
        return choice;
    }

    static RegisteredServer* server_;
    TempDir dir_;
    std::wstring sur_, dec_;
};
RegisteredServer* Prompts::server_ = nullptr;

const wchar_t kExists[] = L"文件已经存在";

// tools/screenshot-prompts.sh sets SALVA_SHOT_DIR: each prompt then waits, shown, until the
// script has photographed it (<name>.ready from here, <name>.done from the script).
void Photograph(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"SALVA_SHOT_DIR", dir, MAX_PATH)) return;
    const std::wstring base = std::wstring(dir) + L"\\" + name;
    WriteBytes(base + L".ready", {});
    testsupport::WaitUntil("the photograph of " + testsupport::Narrow(name), 10000, [&] {
        return ::GetFileAttributesW((base + L".done").c_str()) != INVALID_FILE_ATTRIBUTES;
    }, 50);
}

}  // namespace

TEST_F(Prompts, OverwriteOrContinueShowsBothFilesAndEachButtonAnswers) {
    auto d = Make<_Dorvex>(CLSID_Dorvex);
    ASSERT_TRUE(d);
    std::wstring surInfo, decName, caption;
    RECT surPanel{}, decLabel{}, style{}, yes{}, cancel{}, outer{};
    Watcher w(kExists, [&](HWND h) {
        caption = WindowText(h);
        surInfo = Text(h, ids::lblSurFileInformation);
        decName = Text(h, ids::lblDecFileName);
        surPanel = Rect(h, ids::picSurIcon);
        decLabel = Rect(h, ids::lblDecFileName);
        style = Rect(h, ids::picStyle);
        yes = Rect(h, ids::cmdYes);
        cancel = Rect(h, ids::cmdCancel);
        ::GetWindowRect(h, &outer);
        Photograph(L"prompt_overwrite");
        Click(h, ids::cmdNo);
    });
    EXPECT_EQ(2, Switch(d.get(), sur_, dec_));
    w.Join();
    ASSERT_TRUE(w.found());
    EXPECT_EQ(0u, surInfo.find(L"2 KB [2")) << Narrow(surInfo);
    EXPECT_EQ(dorvex::NameLines(dec_), decName);
    EXPECT_EQ(surPanel.bottom + 10, decLabel.top) << "target name 10 pixels below the source panel";
    EXPECT_EQ(style.bottom + 6, yes.top) << "buttons 6 pixels below the explanation panel";
    EXPECT_EQ(yes.top, cancel.top);
    EXPECT_EQ(cancel.bottom + 36, outer.bottom - outer.top) << "outer height = bottom of the buttons + 36";

    for (const auto& [button, expected] : {std::pair<int, long>{ids::cmdYes, 1}, {ids::cmdCancel, -1}}) {
        Watcher again(kExists, [button = button](HWND h) { Click(h, button); });
        EXPECT_EQ(expected, Switch(d.get(), sur_, dec_)) << "button " << button;
    }
    // Answered before, closed by the close box now: no choice.
    Watcher closer(kExists, [](HWND h) { CloseBox(h); });
    EXPECT_EQ(0, Switch(d.get(), sur_, dec_));
}

TEST_F(Prompts, LongTargetPathPushesRowsDownAndWidensTheWindow) {
    auto d = Make<_Dorvex>(CLSID_Dorvex);
    ASSERT_TRUE(d);
    auto measure = [&](const std::wstring& dec, RECT& decLabel, RECT& style, RECT& outer, int& client) {
        Watcher w(kExists, [&](HWND h) {
            decLabel = Rect(h, ids::lblDecFileName);
            style = Rect(h, ids::picStyle);
            ::GetWindowRect(h, &outer);
            RECT c{};
            ::GetClientRect(h, &c);
            client = c.right;
            CloseBox(h);
        });
        EXPECT_EQ(0, Switch(d.get(), sur_, dec));
    };
    RECT shortLabel{}, shortStyle{}, shortOuter{}, longLabel{}, longStyle{}, longOuter{};
    int shortClient = 0, longClient = 0;
    measure(L"C:\\x.dat", shortLabel, shortStyle, shortOuter, shortClient);
    const std::wstring longPath = L"C:\\" + std::wstring(117, L'w');  // 120 characters: three lines
    measure(longPath, longLabel, longStyle, longOuter, longClient);
    const int lines = 2;  // two more lines than the short name
    const int lineHeight = (shortLabel.bottom - shortLabel.top) / 2;  // one line plus its line break
    EXPECT_EQ(lines * lineHeight, (longLabel.bottom - longLabel.top) - (shortLabel.bottom - shortLabel.top));
    EXPECT_EQ(lines * lineHeight, longStyle.top - shortStyle.top);
    EXPECT_EQ(lines * lineHeight, (longOuter.bottom - longOuter.top) - (shortOuter.bottom - shortOuter.top));
    EXPECT_GT(longLabel.right, 443) << "the third line is wider than the design client area";
    EXPECT_EQ(longClient - 10, longLabel.right) << "the label ends 10 pixels inside the widened window";
    EXPECT_EQ(443, shortClient) << "a short name keeps the design width";
}

TEST_F(Prompts, LongTargetKeepsEachPromptItsNamesAndButtonsInsideTheWorkArea) {
    std::wstring dec = dir_.path() + L"\\";
    dec += std::wstring(326 - dec.size(), L'中') + L".dat";  // 330 characters
    RECT work{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    auto d = Make<_Dorvex>(CLSID_Dorvex);
    auto a = Make<_DorvexA>(CLSID_DorvexA);
    auto b = Make<_DorvexB>(CLSID_DorvexB);
    const struct { const wchar_t* caption; std::function<void()> ask; std::vector<int> controls; } cases[] = {
        {kExists, [&] { Switch(d.get(), sur_, dec); }, {ids::lblDecFileName, ids::cmdYes, ids::cmdNo, ids::cmdCancel}},
        {kExists, [&] { SwitchA(a.get(), sur_, dec); },
         {ids::lblDecFileName, ids::optCoverFile, ids::optAddFile, ids::optMergeFile, ids::optKillFile,
          ids::optRenameFile, ids::cmbSure, ids::cmdCancel}},
        {L"确认文件替换", [&] { SwitchB(b.get(), sur_, dec); }, {ids::lblFileName, ids::cmdYes, ids::cmdAll, ids::cmdCancel}},
    };
    auto inside = [](const RECT& o, const RECT& r) {
        return r.left >= o.left && r.top >= o.top && r.right <= o.right && r.bottom <= o.bottom;
    };
    for (const auto& c : cases) {
        std::string outside;
        std::wstring name;
        Watcher w(c.caption, [&](HWND h) {
            RECT outer{}, r{};
            ::GetWindowRect(h, &outer);
            if (!inside(work, outer)) outside += "window ";
            for (int id : c.controls) {
                ::GetWindowRect(FindControl(h, id), &r);
                if (!inside(outer, r)) outside += std::to_string(id) + " ";
            }
            name = Text(h, c.controls.front());
            CloseBox(h);
        });
        c.ask();
        w.Join();
        EXPECT_EQ("", outside) << Narrow(c.caption);
        EXPECT_TRUE(name.find(L"…") != std::wstring::npos && name.find(L"中.dat") != std::wstring::npos) << Narrow(name);
    }
}

TEST_F(Prompts, ExistingTargetOptionsRenameAndCancel) {
    auto a = Make<_DorvexA>(CLSID_DorvexA);
    ASSERT_TRUE(a);
    std::wstring proposed;
    bool enabledAtLoad = true, enabledAfterRename = false, enabledAfterOther = true;
    RECT surPanel{}, decLabel{}, operation{}, outer{};
    Watcher w(kExists, [&](HWND h) {
        proposed = Text(h, ids::txtNewFileName);
        surPanel = Rect(h, ids::picSurIcon);
        decLabel = Rect(h, ids::lblDecFileName);
        operation = Rect(h, ids::picOperation);
        ::GetWindowRect(h, &outer);
        HWND box = FindControl(h, ids::txtNewFileName);
        enabledAtLoad = ::IsWindowEnabled(box);
        Click(h, ids::optRenameFile);
        enabledAfterRename = ::IsWindowEnabled(box);
        Click(h, ids::optMergeFile);
        enabledAfterOther = ::IsWindowEnabled(box);
        Click(h, ids::optRenameFile);
        ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"新名字.dat"));
        Photograph(L"prompt_existing");
        Click(h, ids::cmbSure);
    });
    EXPECT_EQ(5, SwitchA(a.get(), sur_, dec_));
    w.Join();
    EXPECT_EQ(L"AVSEQ01.DAT[01]", proposed);
    EXPECT_FALSE(enabledAtLoad);
    EXPECT_TRUE(enabledAfterRename);
    EXPECT_FALSE(enabledAfterOther);
    EXPECT_EQ(surPanel.bottom + 6, decLabel.top);
    EXPECT_EQ(operation.bottom + 26, outer.bottom - outer.top);
    salva::unique_bstr name;
    ASSERT_EQ(S_OK, a->GetNewFileName(name.put()));
    EXPECT_STREQ(L"新名字.dat", name.get());

    // 确定 without touching anything: the option selected at load, overwrite.
    Watcher sure(kExists, [](HWND h) { Click(h, ids::cmbSure); });
    EXPECT_EQ(1, SwitchA(a.get(), sur_, dec_));
    for (const auto& [option, expected] : {std::pair<int, long>{ids::optAddFile, 2}, {ids::optMergeFile, 3},
                                          {ids::optKillFile, 4}}) {
        Watcher pick(kExists, [option = option](HWND h) {
            Click(h, ids::optRenameFile);
            Click(h, option);
            Click(h, ids::cmbSure);
        });
        EXPECT_EQ(expected, SwitchA(a.get(), sur_, dec_));
    }
    name.reset();
    a->GetNewFileName(name.put());
    EXPECT_STREQ(L"新名字.dat", name.get()) << "another option leaves the stored name alone";

    // A name that would leave the target's folder keeps the window open; 取消 then gives 0.
    bool stillOpen = false;
    Watcher bad(kExists, [&](HWND h) {
        Click(h, ids::optRenameFile);
        ::SendMessageW(FindControl(h, ids::txtNewFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"..\\evil.dat"));
        Click(h, ids::cmbSure);
        stillOpen = ::IsWindow(h) && ::IsWindowVisible(h);
        ::SendMessageW(FindControl(h, ids::txtNewFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        Click(h, ids::cmbSure);
        stillOpen = stillOpen && ::IsWindow(h);
        Click(h, ids::cmdCancel);
    });
    EXPECT_EQ(0, SwitchA(a.get(), sur_, dec_));
    bad.Join();
    EXPECT_TRUE(stillOpen);
    Watcher closer(kExists, [](HWND h) { CloseBox(h); });
    EXPECT_EQ(0, SwitchA(a.get(), sur_, L"noslash"));
}

TEST_F(Prompts, ProposedNameOfAPathWithoutBackslash) {
    auto a = Make<_DorvexA>(CLSID_DorvexA);
    ASSERT_TRUE(a);
    std::wstring proposed;
    Watcher w(kExists, [&](HWND h) {
        proposed = Text(h, ids::txtNewFileName);
        Click(h, ids::cmdCancel);
    });
    EXPECT_EQ(0, SwitchA(a.get(), sur_, L"AVSEQ02.DAT"));
    w.Join();
    EXPECT_EQ(L"AVSEQ02.DAT[01]", proposed);
}

TEST_F(Prompts, ReplaceConfirmationNamesTheFileAndShowsBothInOrder) {
    auto b = Make<_DorvexB>(CLSID_DorvexB);
    ASSERT_TRUE(b);
    std::wstring first, decInfo, surInfo;
    Watcher w(L"确认文件替换", [&](HWND h) {
        first = Text(h, ids::lblFileName);
        decInfo = Text(h, ids::lblDecFileInformation);
        surInfo = Text(h, ids::lblSurFileInformation);
        Photograph(L"prompt_replace");
        Click(h, ids::cmdAll);
    });
    EXPECT_EQ(2, SwitchB(b.get(), sur_, dec_));
    w.Join();
    EXPECT_EQ(L"此文件夹已包含一个名为“AVSEQ01.DAT”的文件", first);
    EXPECT_EQ(0u, decInfo.find(L"100 字节")) << "existing target under 是否将现有文件: " << Narrow(decInfo);
    EXPECT_EQ(0u, surInfo.find(L"2 KB")) << "source under 替换为: " << Narrow(surInfo);
    for (const auto& [button, expected] :
         {std::pair<int, long>{ids::cmdYes, 1}, {ids::cmdNo, 3}, {ids::cmdCancel, -1}}) {
        Watcher again(L"确认文件替换", [button = button](HWND h) { Click(h, button); });
        EXPECT_EQ(expected, SwitchB(b.get(), sur_, dec_));
    }
    Watcher closer(L"确认文件替换", [](HWND h) { CloseBox(h); });
    EXPECT_EQ(0, SwitchB(b.get(), sur_, dec_));
}

TEST_F(Prompts, CallerWindowIsDisabledWhileThePromptIsUp) {
    auto d = Make<_Dorvex>(CLSID_Dorvex);
    ASSERT_TRUE(d);
    salva::unique_hwnd caller(::CreateWindowExW(0, L"STATIC", L"caller", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                                200, 100, nullptr, nullptr, nullptr, nullptr));
    ::SetActiveWindow(caller.get());
    bool disabledMeanwhile = false;
    HWND owner = nullptr;
    Watcher w(kExists, [&](HWND h) {
        disabledMeanwhile = !::IsWindowEnabled(caller.get());
        owner = ::GetWindow(h, GW_OWNER);
        Click(h, ids::cmdYes);
    });
    EXPECT_EQ(1, Switch(d.get(), sur_, dec_));
    w.Join();
    if (::GetActiveWindow() == nullptr && owner != caller.get())
        GTEST_SKIP() << "the caller window never became active under this display";
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_EQ(caller.get(), owner);
    EXPECT_TRUE(::IsWindowEnabled(caller.get())) << "enabled again after the prompt";
}
