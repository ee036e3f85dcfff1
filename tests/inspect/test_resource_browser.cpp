// The resource browser page over a library of sample resources, driven as a user drives it:
// nodes selected and expanded by key, Save pressed, and the texts, pictures and files checked.
#include "inspect/ResourceBrowserPage.h"
#include "inspect/mResGetResource.h"
#include "inspect/mResMain.h"
#include "inspect/mResShowResource.h"
#include "HostileLibrary.h"
#include "TemplateBytes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <map>

using namespace salva;
using namespace testsupport;

namespace {

class ResourceBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 360,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(page_.Create(host_, 0, 0, 400, 320));
        page_.SetFileAskers(nullptr, [this](const std::wstring&, const std::wstring& filter) {
            lastFilter_ = filter;
            return savePath_;
        });
        wchar_t full[MAX_PATH] = {};
        ::GetFullPathNameW((BinDir() + L"\\..\\testbin\\restest.dll").c_str(), MAX_PATH, full, nullptr);
        library_ = full;
        page_.ShowFile(library_);
    }
    void TearDown() override {
        SetResourceMciSender(nullptr);
        ::DestroyWindow(host_);
    }

    HWND Tree() { return page_.Tree(); }
    HTREEITEM Next(HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(::SendMessageW(Tree(), TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
    std::wstring Text(HTREEITEM item) {
        wchar_t buffer[512] = {};
        TVITEMW tv{TVIF_TEXT, item};
        tv.pszText = buffer;
        tv.cchTextMax = 512;
        ::SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        return buffer;
    }
    std::vector<std::wstring> Children(HTREEITEM item) {
        std::vector<std::wstring> texts;
        for (HTREEITEM c = Next(item, TVGN_CHILD); c; c = Next(c, TVGN_NEXT)) texts.push_back(Text(c));
        return texts;
    }
    HTREEITEM Child(HTREEITEM item, const std::wstring& text) {
        for (HTREEITEM c = Next(item, TVGN_CHILD); c; c = Next(c, TVGN_NEXT))
            if (Text(c) == text) return c;
        return nullptr;
    }
    void Select(HTREEITEM item) { ::SendMessageW(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)); }
    void Key(UINT vk) { ::SendMessageW(Tree(), WM_KEYDOWN, vk, 0); }
    // Selects the type node, opens it by key and selects the named child.
    HTREEITEM Open(const std::wstring& type, const std::wstring& name) {
        HTREEITEM typeNode = Child(Next(nullptr, TVGN_ROOT), type);
        EXPECT_NE(typeNode, nullptr) << Narrow(type);
        Select(typeNode);
        Key(VK_RIGHT);
        HTREEITEM node = Child(typeNode, name);
        EXPECT_NE(node, nullptr) << Narrow(type) << " / " << Narrow(name);
        Select(node);
        return node;
    }
    std::wstring Body() {
        const std::wstring all = WindowText(page_.TextBox());
        const size_t rule = all.find(std::wstring(77, L'-') + L"\r\n");
        return rule == std::wstring::npos ? all : all.substr(rule + 79);
    }
    bool TextShown() { return ::IsWindowVisible(page_.TextBox()) != FALSE; }

    HWND host_ = nullptr;
    ResourceBrowserPage page_;
    std::wstring library_;
    std::wstring savePath_;
    std::wstring lastFilter_;
};

}  // namespace

TEST_F(ResourceBrowserTest, TreeListsTypesOnceAndNamesOnFirstExpansion) {
    HTREEITEM root = Next(nullptr, TVGN_ROOT);
    EXPECT_EQ(Text(root), L"restest.dll");
    // The file's icon is kept in the box's own image, so a repaint does not lose it.
    PictureBox* icon = PictureBox::FromWindow(::GetDlgItem(page_.Window(), ResourceBrowserPage::kPicIcon_16B));
    ASSERT_NE(icon, nullptr);
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) drawn += ::GetPixel(icon->dc(), x, y) != icon->BackColor();
    EXPECT_GT(drawn, 0);
    std::vector<std::wstring> types = Children(root);
    for (const wchar_t* t : {L"Hardware-independent icon resource", L"Hardware-dependent cursor resource",
                             L"Bitmap resource", L"Menu resource", L"Dialog box", L"String-table entry",
                             L"Accelerator table", L"Version resource", L"Message-table entry", L"HTML document",
                             L"Header file that contains menu and dialog box #define statements", L"AVI", L"JPEG",
                             L"SAMPLES"})
        EXPECT_NE(std::find(types.begin(), types.end(), t), types.end()) << Narrow(t);

    HTREEITEM menus = Child(root, L"Menu resource");
    EXPECT_EQ(Children(menus), std::vector<std::wstring>{L"Dummy"});
    Select(menus);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    Key(VK_RIGHT);
    EXPECT_EQ(Children(menus), std::vector<std::wstring>{L"4"});
    HTREEITEM samples = Child(root, L"SAMPLES");
    Select(samples);
    Key(VK_RIGHT);
    EXPECT_EQ(Children(samples), std::vector<std::wstring>{L"101"});
    EXPECT_EQ(page_.CurrentResourceType(), L"SAMPLES");
    EXPECT_EQ(page_.CurrentResourceName(), L"");
    EXPECT_FALSE(TextShown());
}

// Deeper than the system's loader reaches: the resources come by the file's short form; where
// that is as long (names already in 8.3 form), a line under the file says why none are shown.
TEST_F(ResourceBrowserTest, LibraryInAFolderOfOver300Characters) {
    TempDir dir;
    for (const std::wstring part : {L"a long folder name", L"abcdefgh.ijk"}) {
        std::wstring folder = dir.path();
        while (folder.size() < 318) ::CreateDirectoryW((folder += L"\\" + part).c_str(), nullptr);
        const std::wstring copy = folder + L"\\restest.dll";
        ASSERT_TRUE(::CopyFileW(library_.c_str(), copy.c_str(), FALSE)) << Narrow(copy);
        page_.ShowFile(copy);
        const std::vector<std::wstring> types = Children(Next(nullptr, TVGN_ROOT));
        if (part.find(L' ') == std::wstring::npos) {
            EXPECT_EQ(JoinTexts({L"文件路径太长（" + std::to_wstring(copy.size()) + L" 个字符），无法载入其中的资源"}),
                      JoinTexts(types));
            continue;
        }
        Open(L"Menu resource", L"4");
        EXPECT_EQ(L"&File (cmdID = ", Body().substr(0, 15));
        Open(L"Version resource", L"1");
        EXPECT_NE(std::wstring::npos, Body().find(L"FileVersion")) << Narrow(Body());
    }
    CloseResourceModule();
}

TEST_F(ResourceBrowserTest, TextRenderersShowTablesMenusAndVersion) {
    Open(L"Menu resource", L"4");
    ASSERT_TRUE(TextShown());
    const std::wstring head = WindowText(page_.TextBox());
    EXPECT_EQ(head.substr(0, head.find(L"\r\n---")),
              L"ResourceType: Menu resource\r\nResourseName: #4\r\nResourceSize: " +
                  std::to_wstring(GetResourceSize(L"4", L"#4")) + L" bytes");
    const std::wstring menu = Body();
    EXPECT_EQ(menu.substr(0, 15), L"&File (cmdID = ") << Narrow(menu);
    EXPECT_NE(menu.find(L"\r\n.....&Open\tCtrl+O (checked) (cmdID = 100)\r\n.....[MENU SEPARATOR]\r\n"
                        L".....E&xit (cmdID = 101)\r\n"),
              std::wstring::npos)
        << Narrow(menu);

    Open(L"String-table entry", L"1");
    EXPECT_EQ(Body(), L"0: zero\r\n15: a\r\nb\r\n");
    Open(L"String-table entry", L"7");
    EXPECT_EQ(Body(), L"96: ninety-six\r\n");
    Open(L"Accelerator table", L"7");
    EXPECT_EQ(Body(), L"Shift+Ctrl+F1 (cmdID = -25535)\r\nAlt+A (cmdID = 200)\r\n");
    Open(L"Message-table entry", L"1");
    EXPECT_EQ(Body(), L"16: First message.\r\n17: Second line one\r\nline two.\r\n");
    Open(L"Version resource", L"1");
    EXPECT_NE(Body().find(L"FileDescription:\r\n\tResource samples"), std::wstring::npos) << Narrow(Body());
    EXPECT_EQ(Body().find(L"LegalCopyright"), std::wstring::npos);
    Open(L"HTML document", L"8");
    EXPECT_EQ(Body(), L"<html>page</html>");
    // The include-file names are bytes, never a dialog.
    Open(L"Header file that contains menu and dialog box #define statements", L"12");
    EXPECT_EQ(Body().substr(0, 14), L"00000000 | 72 ");
    EXPECT_EQ(ResourceBrowser().PreviewDialogHandle, nullptr);
    Open(L"Application-defined resource (raw data)", L"11");
    EXPECT_EQ(Body().size(), 829u * 79u);
}

TEST_F(ResourceBrowserTest, PicturesArePaintedCentredWithTheirCaptions) {
    Open(L"Hardware-independent icon resource", L"1");
    ASSERT_FALSE(TextShown());
    const auto& lines = page_.Panel().PrintedLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], L"ImageType: Icon/cursor (*.ico/*.cur)");
    EXPECT_EQ(lines[1], L"ImageSize[Width*Height]: 16\u00D716 pixels");
    EXPECT_EQ(lines[3], L"ResourceType: Hardware-independent icon resource");
    EXPECT_EQ(lines[4], L"ResourceName: #1");
    const int cx = page_.Panel().InnerWidth() / 2, cy = page_.Panel().InnerHeight() / 2;
    EXPECT_EQ(::GetPixel(page_.Panel().Box().dc(), cx, cy), RGB(255, 128, 0));

    Open(L"Bitmap resource", L"3");
    EXPECT_EQ(page_.Panel().PrintedLines()[1], L"ImageSize[Width*Height]: 4\u00D73 pixels");
    Open(L"Hardware-independent cursor resource", L"2");
    EXPECT_EQ(page_.Panel().PrintedLines()[1], L"ImageSize[Width*Height]: 32\u00D732 pixels");
    // A single cursor image, made from its bytes rather than loaded by name.
    HTREEITEM images = Child(Next(nullptr, TVGN_ROOT), L"Hardware-dependent cursor resource");
    Select(images);
    Key(VK_RIGHT);
    ASSERT_NE(Next(images, TVGN_CHILD), nullptr);
    Select(Next(images, TVGN_CHILD));
    EXPECT_EQ(page_.Panel().PrintedLines()[0], L"ImageType: Icon/cursor (*.ico/*.cur)");
    Open(L"JPEG", L"10");
    EXPECT_EQ(page_.Panel().PrintedLines()[1], L"ImageSize[Width*Height]: 1\u00D71 pixels");
}

TEST(ResourcePicturePlace, BelowTheCaptionsLastLineShrunkIntoTheRoomLeft) {
    const struct {
        SIZE picture, panel;
        int captionBottom;
        RECT place;
    } cases[] = {
        {{16, 16}, {200, 248}, 78, {92, 116, 108, 132}},    // centred, below the caption
        {{48, 48}, {200, 180}, 91, {76, 111, 124, 159}},    // centred in the room under 7 lines
        {{256, 256}, {200, 248}, 117, {34, 117, 165, 248}}, // 9 lines: shrunk to 131 x 131
        {{400, 100}, {200, 248}, 78, {0, 138, 200, 188}},   // too wide: shrunk to the width
        {{16, 16}, {200, 248}, 260, {0, 0, 0, 0}},          // no room under the caption
    };
    for (const auto& c : cases) {
        const RECT r = PicturePlace(c.picture, c.panel, c.captionBottom);
        EXPECT_TRUE(::EqualRect(&r, &c.place)) << c.picture.cx << " at " << c.captionBottom << ": " << r.left << ","
                                               << r.top << "," << r.right << "," << r.bottom;
    }
}

// A 256-pixel icon image of grey rows, dark at the bottom and light at the top, drawn shrunk
// as the panel draws a large icon: every row drawn is one of the icon's, so going down the
// greys only darken. Merged rows (127 AND 128 is 0) would show as dark lines across it.
TEST(ResourcePicture, ShrunkIconKeepsItsRows) {
    constexpr int kSize = 256, kRow = kSize * 3;
    BITMAPINFOHEADER head{sizeof(head), kSize, kSize * 2, 1, 24};
    std::vector<BYTE> bytes(sizeof(head) + kRow * kSize + kSize / 8 * kSize);  // colour rows, then mask rows
    std::memcpy(bytes.data(), &head, sizeof(head));
    for (int y = 0; y < kSize; ++y)  // bottom-up rows
        std::memset(bytes.data() + sizeof(head) + y * kRow, y, kRow);
    com_ptr<IPicture> picture = IconToPicture(::CreateIconFromResourceEx(
        bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x30000, 0, 0, LR_LOADMAP3DCOLORS));
    ASSERT_TRUE(picture);
    HDC screen = ::GetDC(nullptr);
    unique_hdc dc(::CreateCompatibleDC(screen));
    unique_hbitmap canvas(::CreateCompatibleBitmap(screen, 140, 140));
    ::ReleaseDC(nullptr, screen);
    select_scope keep(dc.get(), canvas.get());
    RenderPictureIn(picture.get(), dc.get(), 0, 0, 131, 131);
    std::string seen;
    for (int y = 1; y < 131; ++y) {
        const int above = GetRValue(::GetPixel(dc.get(), 65, y - 1)), here = GetRValue(::GetPixel(dc.get(), 65, y));
        if (here > above) seen += " row " + std::to_string(y) + ": " + std::to_string(above) + " then " +
                                  std::to_string(here);
    }
    EXPECT_EQ("", seen) << "a row darker than the rows below it";
    const int top = GetRValue(::GetPixel(dc.get(), 65, 0)), bottom = GetRValue(::GetPixel(dc.get(), 65, 130));
    EXPECT_GT(top - bottom, 200) << "drawn from " << top << " down to " << bottom;
}

TEST_F(ResourceBrowserTest, AClickOnTheSelectedNodeShowsItAgain) {
    HTREEITEM icon = Open(L"Hardware-independent icon resource", L"1");
    page_.TreeView1_Collapse(icon);  // a collapse blanks the panel
    ASSERT_TRUE(page_.Panel().PrintedLines().empty());
    RECT r{};
    std::memcpy(&r, &icon, sizeof(icon));  // the item goes in where its rectangle comes out
    ASSERT_TRUE(::SendMessageW(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // Posted first: the tree waits for the release inside its handling of the press.
    ::PostMessageW(Tree(), WM_LBUTTONUP, 0, at);
    ::SendMessageW(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(page_.Panel().PrintedLines().size(), 6u);
}

TEST_F(ResourceBrowserTest, DialogsAreShownInsideOrOverThePanel) {
    Open(L"Dialog box", L"5");
    HWND child = ResourceBrowser().PreviewDialogHandle;
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::GetParent(child), page_.Panel().Window());
    RECT dialog{}, panel{};
    ::GetWindowRect(child, &dialog);
    ::GetWindowRect(page_.Panel().Window(), &panel);
    EXPECT_EQ(panel.bottom - panel.top, dialog.bottom - dialog.top + 24);

    Open(L"Dialog box", L"6");
    EXPECT_FALSE(::IsWindow(child));
    HWND popup = ResourceBrowser().PreviewDialogHandle;
    ASSERT_NE(popup, nullptr);
    POINT corner{0, 0};
    ::ClientToScreen(page_.Panel().Window(), &corner);
    ::GetWindowRect(popup, &dialog);
    EXPECT_EQ(dialog.left, corner.x);
    EXPECT_EQ(dialog.top, corner.y);
    Select(Next(nullptr, TVGN_ROOT));
    EXPECT_EQ(ResourceBrowser().PreviewDialogHandle, nullptr);
    EXPECT_FALSE(::IsWindow(popup));
}

// Libraries whose only template ends with the file, its last text unended: the system's reader
// would go on past the file. Selected, each says it can not be loaded and the process goes on;
// the same files with the text ended show normally.
TEST_F(ResourceBrowserTest, TemplatesRunningOffTheEndOfTheFileAreRefused) {
    TempDir dir;
    for (bool ended : {false, true}) {
        templatebytes::Bytes dialog, menu;
        dialog.D(0x80C00000).D(0).W(0).W(0).W(0).W(120).W(40).W(0).W(0).S(u"Caption", ended);
        menu.W(0).W(0).W(0).W(100).S(u"One").W(0x80).W(101).S(u"Two", ended);
        const std::wstring name = ended ? L"ended" : L"unended";
        ASSERT_TRUE(WriteBytes(dir / (name + L"-dialog.dll"), hostilelib::Library({{5, u"", 1, dialog.b}}, true)));
        ASSERT_TRUE(WriteBytes(dir / (name + L"-menu.dll"), hostilelib::Library({{4, u"", 1, menu.b}}, true)));
        page_.ShowFile(dir / (name + L"-dialog.dll"));
        Open(L"Dialog box", L"1");
        const HWND shown = ResourceBrowser().PreviewDialogHandle;
        const auto& lines = page_.Panel().PrintedLines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2] == L"Error: Can not load resourse.", !ended);
        EXPECT_EQ(shown ? WindowText(shown) : L"", ended ? L"Caption" : L"");
        page_.ShowFile(dir / (name + L"-menu.dll"));
        Open(L"Menu resource", L"1");
        EXPECT_EQ(Body(), ended ? L"One (cmdID = 100)\r\nTwo (cmdID = 101)\r\n" : L"\r\nError: Can not load resourse.");
    }
    CloseResourceModule();
}

TEST_F(ResourceBrowserTest, VideoPlaysFromATemporaryFileThatTheNextClickRemoves) {
    std::vector<std::wstring> sent;
    bool refuse = false;
    SetResourceMciSender([&](const std::wstring& command, wchar_t* reply, UINT chars) -> DWORD {
        sent.push_back(command);
        if (command.rfind(L"open ", 0) == 0 && refuse) return 263;
        if (reply && chars > 12) wcscpy(reply, L"0 0 160 120");
        return 0;
    });
    Open(L"AVI", L"9");
    const std::wstring temp = ResourceBrowser().ResourceTempFile;
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], L"open \"" + temp + L"\" Type avivideo Alias video parent " +
                           std::to_wstring(reinterpret_cast<ULONG_PTR>(page_.Panel().Window())) + L" Style child");
    const int x = (page_.Panel().InnerWidth() - 160) / 2, y = (page_.Panel().InnerHeight() - 120) / 2;
    EXPECT_EQ(sent[2], L"put video window at " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" 160 120");
    EXPECT_EQ(sent[3], L"play video repeat");
    EXPECT_EQ(ReadBytes(temp).size(), 12u);
    EXPECT_EQ(page_.Panel().PrintedLines()[0], L"VideoSize[Width*Height]: 160\u00D7120 pixels");

    sent.clear();
    Open(L"HTML document", L"8");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], L"close video");
    EXPECT_EQ(::GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);

    refuse = true;
    Open(L"AVI", L"9");
    EXPECT_EQ(page_.Panel().PrintedLines().back(), L"");
    EXPECT_EQ(page_.Panel().PrintedLines()[page_.Panel().PrintedLines().size() - 2], L"Error: Can not load resourse.");
    EXPECT_EQ(::GetFileAttributesW(temp.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ResourceBrowserTest, SaveWritesExactlyWhatTheResourceHolds) {
    TempDir dir;
    Select(Next(nullptr, TVGN_ROOT));
    std::wstring said;
    Watcher box(L"Error!", [&](HWND w) {
        said = ChildTexts(w);
        ::PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
    ::SendMessageW(page_.Window(), WM_COMMAND, MAKEWPARAM(ResourceBrowserPage::kCmdSave, BN_CLICKED), 0);
    box.Join();
    EXPECT_NE(said.find(L"No resource selected!"), std::wstring::npos) << Narrow(said);

    // Every block of the string table from its type node.
    savePath_ = dir / L"strings.txt";
    Select(Child(Next(nullptr, TVGN_ROOT), L"String-table entry"));
    page_.cmdSave_Click();
    const auto strings = ReadBytes(savePath_);
    EXPECT_EQ(std::string(strings.begin(), strings.end()), "0: zero\r\n15: a\r\nb\r\n\r\n96: ninety-six\r\n\r\n");

    savePath_ = dir / L"raw.bin";
    Open(L"Application-defined resource (raw data)", L"11");
    page_.cmdSave_Click();
    EXPECT_EQ(ReadBytes(savePath_).size(), 20000u);
    EXPECT_EQ(lastFilter_, std::wstring(L"Save as data (*.*)\0*.*\0", 23));

    savePath_ = dir / L"menu.dat";  // text is written under any name
    Open(L"Menu resource", L"4");
    page_.cmdSave_Click();
    const auto menu = ReadBytes(savePath_);
    EXPECT_EQ(std::string(menu.begin(), menu.begin() + 27), "ResourceType: Menu resource");

    savePath_ = dir / L"icon.ico";
    Open(L"Hardware-independent icon resource", L"1");
    page_.cmdSave_Click();
    const auto ico = ReadBytes(savePath_);
    ASSERT_EQ(ico.size(), 22u + 40u + 16u * 16u * 4u + 16u * 4u);
    EXPECT_EQ(ico[2], 1);
    EXPECT_EQ(ico[6], 16);
    // The pixel colour comes back as the library stored it (blue, green, red, alpha).
    EXPECT_EQ(std::vector<uint8_t>(ico.begin() + 62, ico.begin() + 66), (std::vector<uint8_t>{0, 128, 255, 255}));
    savePath_ = dir / L"icon.bmp";
    page_.cmdSave_Click();
    const auto bmp = ReadBytes(savePath_);
    ASSERT_GE(bmp.size(), 26u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(&bmp[18]), page_.Panel().InnerWidth());
    EXPECT_EQ(lastFilter_, std::wstring(L"Icon files(*.ico)\0*.ico\0Bitmap files (*.bmp)\0*.bmp\0", 51));
}

// A library whose images, pictures, clip and version block claim more than they hold: each is
// refused with the error line, the sound ones beside them are shown, and the process goes on.
TEST_F(ResourceBrowserTest, DamagedResourcesAreRefusedAndSoundOnesShown) {
    using namespace hostilelib;
    const Bytes version = VersionResource({VersionText(u"FileDescription", u"Hostile samples")});
    Bytes lyingVersion = version;
    lyingVersion[1] = 0x7F;
    TempDir dir;
    const std::wstring path = dir / L"hostile.dll";
    ASSERT_TRUE(WriteBytes(path, Library({
                                     {3, u"", 1, IconImage(16, 8)},
                                     {3, u"", 2, IconImage(16)},
                                     {14, u"", 20, IconGroup(1, 1, 1)},
                                     {14, u"", 21, IconGroup(1, 1, 2)},
                                     {14, u"", 22, IconGroup(5, 1, 2)},
                                     {2, u"", 30, Cat({DibHeader(4, 3, 8, 0, 256), Bytes(52, 0)})},
                                     {16, u"", 1, lyingVersion},
                                     {16, u"", 2, version},
                                     {0, u"AVI", 40, {'R', 'I', 'F', 'F', 0, 0x10, 0, 0, 'A', 'V', 'I', ' ', 'L', 'I', 'S', 'T', 0, 1}},
                                     {0, u"JPEG", 50, BitmapFile(DibHeader(4, 3, 24), 5000)},
                                 })));
    std::vector<std::wstring> sent;
    SetResourceMciSender([&](const std::wstring& command, wchar_t*, UINT) -> DWORD {
        sent.push_back(command);
        return 0;
    });
    page_.ShowFile(path);
    const std::wstring error = L"Error: Can not load resourse.";
    const struct {
        const wchar_t* type;
        const wchar_t* name;
        bool refused;
    } cases[] = {
        {L"Hardware-dependent icon resource", L"1", true},
        {L"Hardware-independent icon resource", L"20", true},  // its image is damaged
        {L"Hardware-independent icon resource", L"22", true},  // it counts more entries than it holds
        {L"Bitmap resource", L"30", true},
        {L"Version resource", L"1", true},
        {L"AVI", L"40", true},
        {L"JPEG", L"50", true},
        {L"Hardware-independent icon resource", L"21", false},
        {L"Version resource", L"2", false},
    };
    for (const auto& c : cases) {
        Open(c.type, c.name);
        const auto& lines = page_.Panel().PrintedLines();
        const std::wstring shown = TextShown() ? Body() : lines.empty() ? L"" : lines.back();
        const bool refused = TextShown() ? shown.size() >= error.size() &&
                                               shown.compare(shown.size() - error.size(), error.size(), error) == 0
                                         : std::find(lines.begin(), lines.end(), error) != lines.end();
        EXPECT_EQ(refused, c.refused) << Narrow(c.type) << " / " << Narrow(c.name) << ": " << Narrow(shown);
    }
    EXPECT_TRUE(sent.empty()) << Narrow(sent.front());
    Open(L"Hardware-independent icon resource", L"21");
    EXPECT_EQ(page_.Panel().PrintedLines()[1], L"ImageSize[Width*Height]: 16\u00D716 pixels");
    Open(L"Version resource", L"2");
    EXPECT_EQ(Body(), L"FileDescription:\r\n\tHostile samples\r\n");
    CloseResourceModule();
}

TEST(ResourceText, TextBoxLimitRaisedForLargeTextsAndRefusedPastTheCeiling) {
    HWND box = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    // Lines of 78 characters and a CRLF, as the hex dump writes them.
    auto lines = [](size_t chars) {
        std::wstring t;
        while (t.size() + 80 <= chars) t += std::wstring(78, L'a') + L"\r\n";
        return t + std::wstring(chars - t.size(), L'b');
    };
    const LRESULT initial = ::SendMessageW(box, EM_GETLIMITTEXT, 0, 0);
    EXPECT_TRUE(ShowTextResource(lines(65534), box));
    EXPECT_EQ(::SendMessageW(box, EM_GETLIMITTEXT, 0, 0), initial);
    EXPECT_EQ(::GetWindowTextLengthW(box), 65534);
    ::SetWindowTextW(box, L"");
    EXPECT_TRUE(ShowTextResource(lines(65535), box));
    EXPECT_EQ(::SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 1024000);
    ::SetWindowTextW(box, L"");
    EXPECT_FALSE(ShowTextResource(lines(1024001), box));
    EXPECT_EQ(WindowText(box), L"Length of current text is:1024001\r\nThis text is too long\r\n"
                               L"Save it as file and view with notepad \r\n");
    EXPECT_FALSE(ShowTextResource(L"", box));
    ::DestroyWindow(box);
}
