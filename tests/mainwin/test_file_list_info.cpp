// The list information panel on the real window: totals in exact 64-bit figures, a sparse
// file past 2 GiB, a first item that is gone, an empty list, totals that follow the list's
// changes, and the pictures of the current item read back from the screen.
#include "MainWinTest.h"
#include "copier/frmDialog.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include <commctrl.h>
#include <ocidl.h>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;
using salva::mSubClassOpen_SaveFileBox::UpdateFileListInfo;

namespace {

std::wstring PanelText(FrmCopy& f, int id) { return mainwintest::PanelText(f.Control(id)); }

void SetPanels(FrmCopy& f, const wchar_t* text) {
    for (int id : {FrmCopy::IDC_stbFileInfoShowsArea_A, FrmCopy::IDC_stbFileInfoShowsArea_B})
        ::SendMessageW(f.Control(id), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text));
}

std::string Totals(FrmCopy& f) { return Narrow(TextOf(f.Control(FrmCopy::IDC_lblFilesInfo))); }

bool StartsWith(const std::wstring& s, const std::wstring& head) { return s.compare(0, head.size(), head) == 0; }

// A 24-bit bitmap file, bottom-up rows; the top-left 4 x 4 pixels red, the rest blue.
std::vector<uint8_t> BitmapFile(int w, int h) {
    const int row = (w * 3 + 3) & ~3;
    const uint32_t bits = static_cast<uint32_t>(row * h), size = 54 + bits;
    std::vector<uint8_t> b(size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = 24;
    put32(34, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool red = x < 4 && y >= h - 4;
            uint8_t* p = &b[54 + static_cast<size_t>(y * row + x * 3)];
            p[0] = red ? 0 : 255;  // blue, green, red
            p[1] = 0;
            p[2] = red ? 255 : 0;
        }
    return b;
}

std::vector<COLORREF> ScreenPixels(HWND box) {
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    auto dc = salva::unique_window_dc::client(box);
    std::vector<COLORREF> px;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) px.push_back(::GetPixel(dc.get(), x, y));
    return px;
}

salva::PictureBox& Box(FrmCopy& f, int id) { return *salva::PictureBox::FromWindow(f.Control(id)); }

}  // namespace

TEST(FileListInfo, ExactTotalsAndTheCurrentFilesFacts) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring before = TextOf(f.Control(FrmCopy::IDC_lblFilesInfo));
    f.SetFileListText(L"kept");
    UpdateFileListInfo();  // an empty list changes nothing
    EXPECT_EQ(Narrow(before), Totals(f));
    EXPECT_EQ("kept", Narrow(f.FileListText()));

    for (const wchar_t* n : {L"1.dat", L"2.dat", L"3.dat"}) {
        ASSERT_TRUE(WriteBytes(h.dir / n, Pattern(1 << 20)));
        f.AddFileListItem(h.dir / n);
    }
    f.SetFileListText(h.dir / L"3.dat");
    UpdateFileListInfo();
    EXPECT_EQ(Narrow(h.dir / L"1.dat"), Narrow(f.FileListText()));
    EXPECT_EQ(Narrow(L"文件总数:3个  总计大小:3MB [3,145,728字节]"), Totals(f));
    const std::wstring facts = PanelText(f, FrmCopy::IDC_stbFileInfoShowsArea_B);
    EXPECT_TRUE(StartsWith(facts, L"  大小：1,024KB [1,048,576字节]  类型：")) << Narrow(facts);
    EXPECT_NE(std::wstring::npos, facts.find(L"  属性：存档")) << Narrow(facts);
    const std::wstring times = PanelText(f, FrmCopy::IDC_stbFileInfoShowsArea_A);
    EXPECT_TRUE(StartsWith(times, L"  修改时间：")) << Narrow(times);
    EXPECT_NE(std::wstring::npos, times.find(L"  访问时间：")) << Narrow(times);
}

TEST(FileListInfo, SparseFilePastTwoGigabytes) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring big = h.dir / L"big.vob";
    {
        salva::unique_hfile file(::CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER at{};
        at.QuadPart = 3LL << 30;
        if (!::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !::SetEndOfFile(file.get()))
            GTEST_SKIP() << "no 3 GiB file here";
    }
    ASSERT_TRUE(WriteBytes(h.dir / L"small.dat", Pattern(1024)));
    f.AddFileListItem(big);
    f.AddFileListItem(h.dir / L"small.dat");
    UpdateFileListInfo();
    const std::wstring facts = PanelText(f, FrmCopy::IDC_stbFileInfoShowsArea_B);
    EXPECT_TRUE(StartsWith(facts, L"  大小：3,145,728KB [3,221,225,472字节]")) << Narrow(facts);
    EXPECT_EQ(Narrow(L"文件总数:2个  总计大小:3,072MB [3,221,226,496字节]"), Totals(f));
}

TEST(FileListInfo, DeletedFirstItemKeepsItsFactsButTheTotalsAreRecomputed) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    ASSERT_TRUE(WriteBytes(h.dir / L"here.dat", Pattern(1 << 20)));
    f.AddFileListItem(h.dir / L"gone.dat");
    f.AddFileListItem(h.dir / L"here.dat");
    SetPanels(f, L"earlier");
    UpdateFileListInfo();
    EXPECT_EQ(Narrow(h.dir / L"gone.dat"), Narrow(f.FileListText()));
    EXPECT_EQ("earlier", Narrow(PanelText(f, FrmCopy::IDC_stbFileInfoShowsArea_A)));
    EXPECT_EQ("earlier", Narrow(PanelText(f, FrmCopy::IDC_stbFileInfoShowsArea_B)));
    EXPECT_EQ(Narrow(L"文件总数:2个  总计大小:1MB [1,048,576字节]"), Totals(f));
}

TEST(FileListInfo, PictureFilesShowThemselvesOtherFilesTheirShellIcon) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring bmp = h.dir / L"red.bmp", dat = h.dir / L"clip.dat", bad = h.dir / L"bad.bmp";
    ASSERT_TRUE(WriteBytes(bmp, BitmapFile(32, 32)));
    ASSERT_TRUE(WriteBytes(dat, Pattern(100)));
    ASSERT_TRUE(WriteBytes(bad, Pattern(100)));
    HWND a = f.Control(FrmCopy::IDC_PicSmallIcon_16A), b = f.Control(FrmCopy::IDC_PicSmallIcon_16B);

    f.AddFileListItem(bmp);
    UpdateFileListInfo();
    std::vector<COLORREF> px = ScreenPixels(a);
    EXPECT_EQ(RGB(255, 0, 0), px[0]) << "top-left of the picture";
    EXPECT_EQ(RGB(0, 0, 255), px[5 * 16 + 5]) << "the picture is not scaled down";
    EXPECT_NE(nullptr, Box(f, FrmCopy::IDC_Image1_4).LoadedPicture());
    EXPECT_TRUE(ScreenPixels(b) != px) << "the second picture shows the shell icon, not the bitmap";

    // A file of another kind: both small pictures show the same shell icon, the holder empties.
    f.RefreshWindow();
    f.AddFileListItem(dat);
    UpdateFileListInfo();
    EXPECT_EQ(nullptr, Box(f, FrmCopy::IDC_Image1_4).LoadedPicture());
    EXPECT_TRUE(ScreenPixels(a) == ScreenPixels(b));

    // A picture that does not decode gets the shell icon too.
    f.RefreshWindow();
    f.AddFileListItem(bad);
    UpdateFileListInfo();
    EXPECT_EQ(nullptr, Box(f, FrmCopy::IDC_Image1_4).LoadedPicture());
    EXPECT_TRUE(ScreenPixels(a) == ScreenPixels(b));
}

TEST(FileListInfo, TotalsFollowRemovesARenameAndTheRefreshOfChangedFiles) {
    Harness h;
    h.Create();
    FrmCopy& f = *h.frm;
    const std::wstring a = h.dir / L"a.dat", b = h.dir / L"b.dat", c = h.dir / L"c.dat";
    ASSERT_TRUE(WriteBytes(a, Pattern(1000)));
    ASSERT_TRUE(WriteBytes(b, Pattern(20000)));
    ASSERT_TRUE(WriteBytes(c, Pattern(300000)));
    for (const std::wstring& p : {a, b, c, h.dir / L"gone.dat"}) f.AddFileListItem(p);
    UpdateFileListInfo();
    EXPECT_EQ("", ListAgainstDisk(f));

    f.SetFileListText(b);
    ::SendMessageW(f.Window(), WM_COMMAND, FrmCopy::IDM_mnuClearSelectedItem, 0);
    EXPECT_EQ("", ListAgainstDisk(f));

    f.SetFileListText(c);
    salva::frmDialog popup(f, [](const std::wstring& from, const std::wstring& to) {
        return ::MoveFileW(from.c_str(), to.c_str()) != FALSE;
    });
    ASSERT_TRUE(popup.Load(f.FileListCombo()));
    HWND box = popup.Control(salva::frmDialog::IDC_txtNewFileName);
    ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed.dat"));
    ::SendMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_EQ(300000, FileLength(h.dir / L"renamed.dat"));

    // Files changed since they were listed count as they are once the window is refreshed.
    ASSERT_TRUE(WriteBytes(a, Pattern(4096)));
    HWND refresh = f.Control(FrmCopy::IDC_picRefresh);
    ::SendMessageW(refresh, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(refresh, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(Narrow(L"文件总数:3个  总计大小:0MB [304,096字节]"), Totals(f));
    EXPECT_EQ("", ListAgainstDisk(f));
}
