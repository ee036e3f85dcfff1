// The properties window filled for files in the test prefix: the General page's texts and
// boxes, Apply, the tabs and the Summary tab's supplied pages, and the modal road.
#include "FakeMainWindow.h"
#include "PropertyTest.h"
#include "inspect/DocketPage.h"
#include "inspect/DocketSummaryPage.h"
#include "inspect/ResourceBrowserPage.h"
#include "inspect/ResourceSummaryPage.h"
#include "services/MainWindow.h"
#include "services/SystemErrorText.h"
#include "services/Text.h"
#include "ZipBytes.h"

using namespace proptest;
using testsupport::FakeMainWindow;
using testsupport::Narrow;
using testsupport::TempDir;

namespace {

TEST(FileProperty, GeneralPageTextsAndSizes) {
    TempDir dir;
    const std::wstring exact = dir / L"exact.dat", over = dir / L"over.dat";
    ASSERT_TRUE(MakeFile(exact, 1024000));
    ASSERT_TRUE(MakeFile(over, 1024001));

    Window w;
    ASSERT_TRUE(w.GetInfor(exact));
    EXPECT_EQ(w.CurrentFileName(), exact);
    EXPECT_EQ(testsupport::WindowText(w.Window()), L"exact.dat 属性");
    EXPECT_EQ(Text(w, Window::IDC_TXTFULLFILENAME), L"exact.dat");
    EXPECT_EQ(Text(w, Window::IDC_TXTFILEPOSITION), dir.path() + L"\\");
    EXPECT_EQ(Text(w, Window::IDC_LBLFILELENGTH), L"1,024,000字节") << Narrow(Text(w, Window::IDC_LBLFILELENGTH));
    EXPECT_FALSE(Text(w, Window::IDC_LBLFILETYPE).empty());
    for (int id : {Window::IDC_LBLFILECREATED, Window::IDC_LBLFILEMODIFIED, Window::IDC_LBLFILEACCESSED}) {
        EXPECT_FALSE(Text(w, id).empty()) << id;
        EXPECT_NE(Text(w, id), L"未知") << id;
    }
    EXPECT_EQ(Text(w, Window::IDC_LABEL1 + 2), L"大小：");
    EXPECT_EQ(Text(w, Window::IDC_CMDSURE), L"确定[&S]");
    EXPECT_FALSE(Enabled(w, Window::IDC_CMDAPPLY));
    EXPECT_FALSE(Enabled(w, Window::IDC_CHKSYSTEM));
    // The name and folder boxes carry their whole text as a tip.
    const auto tips = testsupport::TipWindowsOf(w.Control(Window::IDC_TXTFILEPOSITION));
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(testsupport::TipText(tips[0], w.Control(Window::IDC_TXTFILEPOSITION)), dir.path() + L"\\");
    w.Unload();

    ASSERT_TRUE(w.GetInfor(over));
    EXPECT_EQ(Text(w, Window::IDC_LBLFILELENGTH), L"1,000KB [1,024,001字节]")
        << Narrow(Text(w, Window::IDC_LBLFILELENGTH));
    EXPECT_EQ(testsupport::WindowText(w.Window()), L"over.dat 属性");
}

TEST(FileProperty, AttributeBoxesFromTheBits) {
    TempDir dir;
    const std::wstring a = dir / L"a.txt", b = dir / L"b.txt";
    ASSERT_TRUE(MakeFile(a, 10));
    ASSERT_TRUE(MakeFile(b, 10));
    ASSERT_TRUE(::SetFileAttributesW(a.c_str(), 33));
    ASSERT_TRUE(::SetFileAttributesW(b.c_str(), 36));
    ASSERT_EQ(::GetFileAttributesW(b.c_str()), 36u) << "the prefix keeps the system bit";

    Window w;
    ASSERT_TRUE(w.GetInfor(a));
    EXPECT_TRUE(Checked(w, Window::IDC_CHKREADONLY));
    EXPECT_FALSE(Checked(w, Window::IDC_CHKHIDE));
    EXPECT_FALSE(Checked(w, Window::IDC_CHKSYSTEM));
    EXPECT_TRUE(Checked(w, Window::IDC_CHKDOCUMENT));
    w.Unload();

    // A fresh opening starts with every box clear, so nothing is left from the first file.
    ASSERT_TRUE(w.GetInfor(b));
    EXPECT_FALSE(Checked(w, Window::IDC_CHKREADONLY));
    EXPECT_FALSE(Checked(w, Window::IDC_CHKHIDE));
    EXPECT_TRUE(Checked(w, Window::IDC_CHKSYSTEM));
    EXPECT_TRUE(Checked(w, Window::IDC_CHKDOCUMENT));
    w.Unload();
    Plain(a);
    Plain(b);
}

TEST(FileProperty, ApplyChangesOneBoxAndKeepsTheSystemBit) {
    TempDir dir;
    const std::wstring f = dir / L"system.dat";
    ASSERT_TRUE(MakeFile(f, 100));
    ASSERT_TRUE(::SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));

    Window w;
    ASSERT_TRUE(w.GetInfor(f));
    // The right button changes nothing and leaves Apply off.
    Press(w.Control(Window::IDC_CHKHIDE), WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_FALSE(Checked(w, Window::IDC_CHKHIDE));
    EXPECT_FALSE(Enabled(w, Window::IDC_CMDAPPLY));
    // The system box shows the bit and takes no presses.
    EXPECT_TRUE(Checked(w, Window::IDC_CHKSYSTEM));
    EXPECT_FALSE(Enabled(w, Window::IDC_CHKSYSTEM));

    Press(w.Control(Window::IDC_CHKHIDE));
    EXPECT_TRUE(Checked(w, Window::IDC_CHKHIDE));
    ASSERT_TRUE(Enabled(w, Window::IDC_CMDAPPLY));
    Press(w.Control(Window::IDC_CMDAPPLY));
    EXPECT_EQ(::GetFileAttributesW(f.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                                                  FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Text(w, Window::IDC_CMDSURE), L"关闭[&E]");
    EXPECT_TRUE(Enabled(w, Window::IDC_CMDAPPLY));

    // Hidden off, read-only on: both written, system still kept.
    Press(w.Control(Window::IDC_CHKHIDE));
    Press(w.Control(Window::IDC_CHKREADONLY));
    Press(w.Control(Window::IDC_CMDAPPLY));
    EXPECT_EQ(::GetFileAttributesW(f.c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));

    // The close button then closes without writing again.
    Plain(f);
    const DWORD plain = ::GetFileAttributesW(f.c_str());
    Press(w.Control(Window::IDC_CMDSURE));
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_EQ(::GetFileAttributesW(f.c_str()), plain);
}

// Apply on a file deleted while the window is open: told why, and the boxes show what the file
// has when the message is answered: none and no longer taking changes while it is gone, its
// own (read-only, not hidden) when it was made again meanwhile.
TEST(FileProperty, ApplyThatCannotWriteIsToldAndShowsTheFileAsItIs) {
    TempDir dir;
    for (bool back : {false, true}) {
        const std::wstring f = dir / (back ? L"back.dat" : L"gone.dat");
        ASSERT_TRUE(MakeFile(f, 10));
        Window w;
        ASSERT_TRUE(w.GetInfor(f));
        ASSERT_TRUE(::DeleteFileW(f.c_str()));
        Press(w.Control(Window::IDC_CHKHIDE));
        ASSERT_TRUE(Checked(w, Window::IDC_CHKHIDE));
        std::wstring told;
        testsupport::Watcher box(L"提醒！", [&](HWND h) {
            told = testsupport::ChildTexts(h);
            if (back) MakeFile(f, 10), ::SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY);
            ::PostMessageW(h, WM_COMMAND, IDOK, 0);
        });
        Press(w.Control(Window::IDC_CMDAPPLY));
        box.Join();
        const std::wstring reason = salva::SystemErrorText(ERROR_FILE_NOT_FOUND) + L"（错误代码 2）";
        EXPECT_NE(told.find(L"“" + f + L"”"), std::wstring::npos) << Narrow(told);
        EXPECT_NE(told.find(reason), std::wstring::npos) << Narrow(told);
        EXPECT_FALSE(Checked(w, Window::IDC_CHKHIDE)) << Narrow(f);
        EXPECT_EQ(Checked(w, Window::IDC_CHKREADONLY), back) << Narrow(f);
        for (int id : {Window::IDC_CHKREADONLY, Window::IDC_CHKHIDE, Window::IDC_CHKDOCUMENT})
            EXPECT_EQ(Enabled(w, id), back) << Narrow(f) << " " << id;
        EXPECT_EQ(Text(w, Window::IDC_CMDSURE), L"确定[&S]");
    }
    ::SetFileAttributesW((dir / L"back.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A supplied Summary page that records what the window asks of it.
struct FakeCalls {
    std::vector<std::wstring> filled;
    int unloads = 0;
    bool reentryRefused = false;
    salva::frmFileProperty* nested = nullptr;
    HWND page = nullptr;
    HWND nameBox = nullptr;
    HWND mainWindow = nullptr;
    bool mainEnabledWhileFilling = true;
};
FakeCalls g_calls;

class FakeZipPage : public salva::SummaryPage {
public:
    HWND Create(HWND parent, const RECT& r) override {
        page_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, parent, nullptr, nullptr, nullptr);
        name_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, page_, nullptr, nullptr,
                                  nullptr);
        g_calls.page = page_;
        g_calls.nameBox = name_;
        return page_;
    }
    void ShowSummaryInfo(const std::wstring& path) override {
        g_calls.filled.push_back(path);
        if (g_calls.mainWindow) g_calls.mainEnabledWhileFilling = ::IsWindowEnabled(g_calls.mainWindow) != FALSE;
        ::SetWindowTextW(name_, (L"zip:" + path).c_str());
        if (g_calls.nested)
            g_calls.reentryRefused = !g_calls.nested->GetInfor(path) && !salva::frmFileProperty::ShowFor(path) &&
                                     salva::frmFileProperty::Filling();
    }
    bool ShowsFor(const std::wstring& path) const override { return salva::UpperTail(path, 3) == L"ZIP"; }
    std::vector<HWND> TipBoxes() const override { return {name_}; }
    void Unload() override { ++g_calls.unloads; }

private:
    HWND page_ = nullptr;
    HWND name_ = nullptr;
};

std::unique_ptr<salva::SummaryPage> MakeFakeZipPage() { return std::make_unique<FakeZipPage>(); }

class SuppliedPage : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls = FakeCalls{};
        salva::RegisterSummaryPage(MakeFakeZipPage);
    }
    void TearDown() override { salva::UnregisterSummaryPage(MakeFakeZipPage); }
};

TEST_F(SuppliedPage, TabsShowOnePageEach) {
    TempDir dir;
    const std::wstring zip = dir / L"archive.Zip", txt = dir / L"a.txt";
    ASSERT_TRUE(MakeFile(zip, 22));
    ASSERT_TRUE(MakeFile(txt, 5));

    Window w;
    ASSERT_TRUE(w.GetInfor(zip));
    ASSERT_EQ(w.SummaryPages().size(), 1u);
    ASSERT_EQ(g_calls.filled, std::vector<std::wstring>{zip});
    HWND general = w.Control(Window::IDC_PIC_NORMAL), docket = w.Control(Window::IDC_PIC_DOCKET),
         drive = w.Control(Window::IDC_PIC_DRIVEPROP);
    EXPECT_EQ(TabCaption(w, 0), L"常规[&N]");
    EXPECT_EQ(TabCaption(w, 1), L"摘要[&D]");

    ClickTab(w, 1);
    EXPECT_EQ(::SendMessageW(w.Control(Window::IDC_TABSTRIP1), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(Shown(general));
    EXPECT_FALSE(Shown(docket));
    EXPECT_FALSE(Shown(drive));
    EXPECT_TRUE(Shown(g_calls.page));
    // The supplied page's box got its tip with the text the page filled in.
    const auto tips = testsupport::TipWindowsOf(g_calls.nameBox);
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(testsupport::TipText(tips[0], g_calls.nameBox), L"zip:" + zip);
    ClickTab(w, 2);
    EXPECT_FALSE(Shown(g_calls.page));
    EXPECT_TRUE(Shown(drive));
    EXPECT_FALSE(Shown(general));
    ClickTab(w, 0);
    EXPECT_TRUE(Shown(general));
    EXPECT_FALSE(Shown(drive));
    Press(w.Control(Window::IDC_CMDCANCEL));
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_EQ(g_calls.unloads, 1);

    // Another file: the supplied page does not take it, the empty Summary page shows.
    ASSERT_TRUE(w.GetInfor(txt));
    ClickTab(w, 1);
    EXPECT_TRUE(Shown(w.Control(Window::IDC_PIC_DOCKET)));
    EXPECT_FALSE(Shown(w.Control(Window::IDC_PIC_NORMAL)));
    EXPECT_FALSE(Shown(g_calls.page));
    ::SendMessageW(w.Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_EQ(g_calls.unloads, 2);
}

TEST_F(SuppliedPage, AFillCannotBeEnteredAgainAndTheMainWindowWaits) {
    TempDir dir;
    const std::wstring zip = dir / L"x.zip";
    ASSERT_TRUE(MakeFile(zip, 22));
    FakeMainWindow main;
    g_calls.mainWindow = main.Handle();
    Window inner;
    g_calls.nested = &inner;
    Window w;
    ASSERT_TRUE(w.GetInfor(zip));
    g_calls.nested = nullptr;
    EXPECT_TRUE(g_calls.reentryRefused);
    EXPECT_FALSE(inner.IsLoaded());
    EXPECT_FALSE(Window::Filling());
    EXPECT_EQ(g_calls.filled.size(), 1u);
    EXPECT_FALSE(g_calls.mainEnabledWhileFilling) << "the main window took input during the fill";
    EXPECT_TRUE(::IsWindowEnabled(main.Handle())) << "the main window takes input again";
    EXPECT_EQ(::GetWindow(w.Window(), GW_OWNER), main.Handle()) << "owned by the main window: no task-bar button";
}

// The program's own Summary pages: the summary text or ZIP list, and the resource browser.
class ProgramPages : public ::testing::Test {
protected:
    void SetUp() override {
        salva::RegisterSummaryPage(salva::MakeDocketSummaryPage);
        salva::RegisterSummaryPage(salva::MakeResourceSummaryPage);
    }
    void TearDown() override {
        salva::UnregisterSummaryPage(salva::MakeResourceSummaryPage);
        salva::UnregisterSummaryPage(salva::MakeDocketSummaryPage);
    }
    // The first window of the class inside the properties window.
    static HWND Page(Window& w, const wchar_t* cls) {
        struct Search {
            const wchar_t* cls;
            HWND found;
        } search{cls, nullptr};
        ::EnumChildWindows(
            w.Window(),
            [](HWND h, LPARAM p) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                wchar_t name[64] = {};
                ::GetClassNameW(h, name, 64);
                if (lstrcmpW(name, s->cls) != 0) return TRUE;
                s->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    static std::wstring TipOf(HWND box) {
        const auto tips = testsupport::TipWindowsOf(box);
        return tips.size() == 1 ? testsupport::TipText(tips[0], box) : L"<" + std::to_wstring(tips.size()) + L" tips>";
    }
};

TEST_F(ProgramPages, ExecutablesShowTheResourceBrowser) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    Window w;
    ASSERT_TRUE(w.GetInfor(self));
    ASSERT_EQ(w.SummaryPages().size(), 2u);
    const std::wstring name = Text(w, Window::IDC_TXTFULLFILENAME);
    HWND page = Page(w, salva::ResourceBrowserPage::ClassName());
    ASSERT_NE(page, nullptr);
    HWND tree = ::GetDlgItem(page, salva::ResourceBrowserPage::kTreeView1);
    EXPECT_GT(::SendMessageW(tree, TVM_GETCOUNT, 0, 0), 0) << "the tree is filled with the file's resources";
    EXPECT_EQ(TipOf(::GetDlgItem(page, salva::ResourceBrowserPage::kTxtShortFileNameB)), name);
    ClickTab(w, 1);
    EXPECT_TRUE(Shown(page));
    EXPECT_FALSE(Shown(::GetParent(Page(w, L"SalvadiskDocketPage"))));
    // The page's Exit closes the properties window.
    Press(::GetDlgItem(page, salva::ResourceBrowserPage::kCmdExit));
    Pump();
    EXPECT_FALSE(w.IsLoaded());
}

// The test library with one field of its resource directory damaged: the window opens on each
// copy and its tree lists the types that are still sound.
TEST_F(ProgramPages, DamagedResourceDirectoriesShowTheirSoundPart) {
    const std::vector<uint8_t> library = testsupport::ReadBytes(testsupport::BinDir() + L"\\..\\testbin\\restest.dll");
    ASSERT_GT(library.size(), 0x40u);
    auto le32 = [&](size_t at) { return *reinterpret_cast<const uint32_t*>(&library[at]); };
    // The root lies at the start of the library's resource section.
    const size_t nt = le32(0x3C), sections = nt + 24 + *reinterpret_cast<const uint16_t*>(&library[nt + 20]);
    size_t root = 0;
    for (size_t s = sections; s + 40 <= library.size() && library[s]; s += 40)
        if (std::string(reinterpret_cast<const char*>(&library[s]), 5) == ".rsrc") root = le32(s + 20);
    ASSERT_NE(root, 0u);
    // The first entry is the named type AVI.
    const size_t avi = root + (le32(root + 16) & 0x7FFFFFFF);
    const struct {
        size_t at;
        std::vector<uint8_t> bytes;
        bool aviShown;
    } damages[] = {
        {root + 19, {static_cast<uint8_t>(library[root + 19] ^ 0x40)}, false},  // its name far outside
        {avi, {0x00, 0x80}, false},                                              // name length 0x8000
        {avi, {0xFF, 0xFF}, false},                                              // name length 0xFFFF
        {root + 14, {0xFF, 0xFF}, true},                                         // 0xFFFF numbered types
        {root + 12, {0xFF, 0xFF}, true},                                         // 0xFFFF named types
        {root + 20, {0x00, 0x00, 0x00, 0x80}, false},                            // its types are the root
    };
    TempDir dir;
    for (const auto& d : damages) {
        std::vector<uint8_t> damaged = library;
        std::copy(d.bytes.begin(), d.bytes.end(), damaged.begin() + d.at);
        const std::wstring path = dir / (L"damaged" + std::to_wstring(&d - damages) + L".dll");
        ASSERT_TRUE(testsupport::WriteBytes(path, damaged));
        Window w;
        ASSERT_TRUE(w.GetInfor(path));
        HWND tree = ::GetDlgItem(Page(w, salva::ResourceBrowserPage::ClassName()), salva::ResourceBrowserPage::kTreeView1);
        auto child = [&](HTREEITEM parent, const std::wstring& text) {
            for (HTREEITEM t = TreeView_GetChild(tree, parent); t; t = TreeView_GetNextSibling(tree, t)) {
                wchar_t buffer[128] = {};
                TVITEMW item{TVIF_TEXT, t};
                item.pszText = buffer;
                item.cchTextMax = 128;
                TreeView_GetItem(tree, &item);
                if (text == buffer) return t;
            }
            return HTREEITEM{};
        };
        HTREEITEM rootNode = TreeView_GetRoot(tree);
        EXPECT_TRUE(child(rootNode, L"Menu resource") && child(rootNode, L"SAMPLES")) << d.at;
        EXPECT_EQ(child(rootNode, L"AVI") != nullptr, d.aviShown) << d.at;
        // A sound resource of the damaged file still shows.
        HTREEITEM strings = child(rootNode, L"String-table entry");
        TreeView_SelectItem(tree, strings);
        ::SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
        TreeView_SelectItem(tree, child(strings, L"1"));
        HWND text = ::GetDlgItem(::GetParent(tree), salva::ResourceBrowserPage::kText1);
        EXPECT_NE(testsupport::WindowText(text).find(L"\r\n0: zero\r\n"), std::wstring::npos) << d.at;
        w.Unload();
    }
}

TEST_F(ProgramPages, OtherFilesShowTheSummaryTextOrTheZipList) {
    TempDir dir;
    const std::wstring txt = dir / L"a.txt", zip = dir / L"b.zip";
    ASSERT_TRUE(MakeFile(txt, 5));
    ASSERT_TRUE(MakeFile(zip, 5));
    Window w;
    ASSERT_TRUE(w.GetInfor(txt));
    HWND page = Page(w, L"SalvadiskDocketPage");
    ASSERT_NE(page, nullptr);
    HWND nameBox = ::GetDlgItem(page, salva::DocketPage::IDC_TXTSHORTFILENAMEA);
    EXPECT_EQ(testsupport::WindowText(nameBox), L"a.txt");
    EXPECT_EQ(TipOf(nameBox), L"a.txt");
    ClickTab(w, 1);
    EXPECT_TRUE(Shown(::GetParent(page)));
    EXPECT_TRUE(Shown(::GetDlgItem(page, salva::DocketPage::IDC_TXTDOCKET)));
    EXPECT_FALSE(Shown(::GetDlgItem(page, salva::DocketPage::IDC_LVZIPVIEW)));
    EXPECT_FALSE(Shown(Page(w, salva::ResourceBrowserPage::ClassName())));
    w.Unload();

    ASSERT_TRUE(w.GetInfor(zip));
    page = Page(w, L"SalvadiskDocketPage");
    ClickTab(w, 1);
    EXPECT_TRUE(Shown(::GetDlgItem(page, salva::DocketPage::IDC_LVZIPVIEW)));
    EXPECT_FALSE(Shown(::GetDlgItem(page, salva::DocketPage::IDC_TXTDOCKET)));
    w.Unload();
}

TEST_F(ProgramPages, TheOwnersCloseDuringTheZipWalkEndsTheFill) {
    TempDir dir;
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"many.zip", zipbytes::ManyEntries(50000)));
    FakeMainWindow main;
    // Handled by the walk's pump: the owner goes, and the properties window with it.
    ::PostMessageW(main.Handle(), WM_CLOSE, 0, 0);
    Window w;
    EXPECT_FALSE(w.GetInfor(dir / L"many.zip"));
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_TRUE(w.SummaryPages().empty()) << "let go once the fill returned";
}

TEST(FileProperty, ShownModallyUntilClosed) {
    TempDir dir;
    const std::wstring f = dir / L"modal.txt";
    ASSERT_TRUE(MakeFile(f, 3));
    testsupport::Watcher watcher(L"modal.txt 属性", [](HWND window) {
        HWND cancel = ::GetDlgItem(window, Window::IDC_CMDCANCEL);
        ::PostMessageW(cancel, BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(Window::ShowFor(f));
    watcher.Join();
    EXPECT_TRUE(watcher.found());
    EXPECT_EQ(::FindWindowW(Window::ClassName(), nullptr), nullptr);
}

}  // namespace
