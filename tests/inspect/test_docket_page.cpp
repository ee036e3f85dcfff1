// The Summary tab's page made in a window under Wine for real files: the exact summary texts
// of MP3 and Flash files, the ZIP list's rows, and the ends of hostile archives.
#include "TestSupport.h"
#include "inspect/DocketPage.h"
#include "inspect/MP3Information.h"
#include "inspect/MpegHeader.h"
#include "services/mDoEvents.h"
#include "inspect/ZipInformation.h"
#include "services/PictureBox.h"
#include "ZipBytes.h"
#include <commctrl.h>
#include <gtest/gtest.h>

using namespace salva;
using testsupport::Narrow;

namespace {

std::wstring Sample(const wchar_t* name) { return std::wstring(SALVA_SAMPLES_DIR) + L"\\" + name; }

class DocketPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        host_.reset(::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 360, 320, nullptr,
                                      nullptr, ::GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(host_);
    }

    HWND Open(const std::wstring& path) {
        page_ = DocketPage::ShowSummaryInfo(host_.get(), path);
        return page_;
    }
    HWND Item(int id) const { return ::GetDlgItem(page_, id); }
    std::wstring Docket() const { return testsupport::WindowText(Item(DocketPage::IDC_TXTDOCKET)); }
    bool Visible(int id) const { return ::IsWindowVisible(Item(id)) != FALSE; }

    std::vector<std::vector<std::wstring>> Rows() const {
        HWND list = Item(DocketPage::IDC_LVZIPVIEW);
        std::vector<std::vector<std::wstring>> rows;
        const int n = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int r = 0; r < n; ++r) {
            std::vector<std::wstring> row;
            for (int c = 0; c < 6; ++c) {
                wchar_t buf[512] = {};
                LVITEMW item{};
                item.iSubItem = c;
                item.pszText = buf;
                item.cchTextMax = 512;
                ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
                row.push_back(buf);
            }
            rows.push_back(row);
        }
        return rows;
    }
    LPARAM RowKind(int row) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ::SendMessageW(Item(DocketPage::IDC_LVZIPVIEW), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }
    std::wstring TipOf(int row) const {
        wchar_t buf[256] = L"untouched";
        NMLVGETINFOTIPW tip{};
        tip.hdr.hwndFrom = Item(DocketPage::IDC_LVZIPVIEW);
        tip.hdr.idFrom = DocketPage::IDC_LVZIPVIEW;
        tip.hdr.code = LVN_GETINFOTIPW;
        tip.pszText = buf;
        tip.cchTextMax = 256;
        tip.iItem = row;
        ::SendMessageW(page_, WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return buf;
    }

    salva::unique_hwnd host_;
    HWND page_ = nullptr;
};

const std::wstring kMpegBlock =
    L"\r\n"
    L"\r\n[MPEG信息]---------------------------------"
    L"\r\n长度：3秒"
    L"\r\n标头创建于：0字节"
    L"\r\n128kbit/s  126帧"
    L"\r\n48000Hz  单声道"
    L"\r\nMPEG 1.0 Layer 3"
    L"\r\nCRCs：No"
    L"\r\n版权作品：No"
    L"\r\n正本原件：Yes"
    L"\r\n信号加重：None"
    L"\r\n-------------------------------------------";

}  // namespace

TEST_F(DocketPageTest, TaggedMp3ShowsTagThenHeader) {
    ASSERT_TRUE(Open(Sample(L"tagged.mp3")));
    EXPECT_EQ(Narrow(Docket()), Narrow(L"\r\n[ID3v1信息]--------------------------------"
                                       L"\r\n曲名：Test Tone"
                                       L"\r\n艺人：Salvadisk"
                                       L"\r\n专集：Samples"
                                       L"\r\n年份：2024"
                                       L"\r\n流派：Rock"
                                       L"\r\n音轨序号：7"
                                       L"\r\n备注：made by ffmpeg" +
                                       kMpegBlock));
    EXPECT_EQ(testsupport::WindowText(Item(DocketPage::IDC_TXTSHORTFILENAMEA)), L"tagged.mp3");
    // The shell icon stays in the picture's own image.
    PictureBox* icon = PictureBox::FromWindow(Item(DocketPage::IDC_PICICON_16A));
    ASSERT_NE(icon, nullptr);
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) drawn += ::GetPixel(icon->dc(), x, y) != icon->BackColor();
    EXPECT_GT(drawn, 20);
    EXPECT_TRUE(Visible(DocketPage::IDC_TXTDOCKET));
    EXPECT_FALSE(Visible(DocketPage::IDC_LVZIPVIEW));
}

TEST_F(DocketPageTest, UntaggedLowerCaseAndHostileMp3) {
    testsupport::TempDir dir;
    const std::wstring song = dir / L"song.mp3";
    auto bytes = testsupport::ReadBytes(Sample(L"untagged.mp3"));
    bytes.insert(bytes.end(), 128, 0);  // the tagged file's length, without its tag
    ASSERT_TRUE(testsupport::WriteBytes(song, bytes));
    ASSERT_TRUE(Open(song));
    EXPECT_EQ(Narrow(Docket()), Narrow(kMpegBlock)) << "no tag: the text starts with two line breaks";
    ::DestroyWindow(page_);

    // A piece and 127 bytes ending in 0xFF: no tag, no header; only the header's offset is
    // shown, after one search through the file that let the windows answer after the piece.
    std::vector<uint8_t> small(readers::kMpegScanChunk + 127, 0x20);
    small.back() = 0xFF;
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"SHORT.MP3", small));
    int pumps = 0;
    MP3Information::SetScanPump([&pumps] { ++pumps; });
    ASSERT_TRUE(Open(dir / L"SHORT.MP3"));
    MP3Information::SetScanPump([] { mDoEvents::AnswerWhenDue(); });
    EXPECT_EQ(Narrow(Docket()), Narrow(L"\r\n\r\n[MPEG信息]" + std::wstring(33, L'-') + L"\r\n标头创建于：0字节\r\n" +
                                       std::wstring(43, L'-')));
    EXPECT_EQ(pumps, 1) << "the file is searched once";
}

TEST_F(DocketPageTest, FlashFactsAndRefusedMovies) {
    ASSERT_TRUE(Open(Sample(L"movie.swf")));
    EXPECT_EQ(Narrow(Docket()), Narrow(L"\r\n帧    数：120帧"
                                       L"\r\n速    度：12帧/秒"
                                       L"\r\n版    本：Flash 6"
                                       L"\r\n长    度：10秒"
                                       L"\r\n宽 × 高：550×400像素"));
    ::DestroyWindow(page_);
    ASSERT_TRUE(Open(Sample(L"short.swf")));
    EXPECT_NE(Docket().find(L"\r\n长    度：8.33秒\r\n宽 × 高：100×100像素"), std::wstring::npos) << Narrow(Docket());
    ::DestroyWindow(page_);
    ASSERT_TRUE(Open(Sample(L"compressed.swf")));
    EXPECT_EQ(Docket(), L"");

    testsupport::TempDir dir;
    auto ten = testsupport::ReadBytes(Sample(L"movie.swf"));
    ten.resize(10);
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"ten.swf", ten));
    ::DestroyWindow(page_);
    ASSERT_TRUE(Open(dir / L"ten.swf"));
    EXPECT_EQ(Docket(), L"");
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"notes.txt", {'h', 'i'}));
    ::DestroyWindow(page_);
    ASSERT_TRUE(Open(dir / L"notes.txt"));
    EXPECT_EQ(Docket(), L"");
    EXPECT_EQ(testsupport::WindowText(Item(DocketPage::IDC_TXTSHORTFILENAMEA)), L"notes.txt");
}

TEST_F(DocketPageTest, StoredArchiveRowsAndSummary) {
    ASSERT_TRUE(Open(Sample(L"stored.zip")));
    EXPECT_TRUE(Visible(DocketPage::IDC_LVZIPVIEW));
    EXPECT_FALSE(Visible(DocketPage::IDC_TXTDOCKET));
    const std::wstring when = L"2001-01-01 13:34:16";
    const std::vector<std::vector<std::wstring>> expected = {
        {L"[01][文件夹]docs/", L"", when, L"", L"", L""},
        {L"[01]docs/readme.txt", L"6,892", when, L"0.00%", L"6,892", L"A568261D"},
        {L"[02]docs/pattern.txt", L"3,000", when, L"0.00%", L"3,000", L"98EE17E7"},
        {L"[02][文件夹]empty/", L"", when, L"", L"", L""},
        {L"[03]small.txt", L"3", when, L"0.00%", L"3", L"352441C2"},
        {L"", L"", L"", L"", L"", L""},
        {L"文件夹数：2 个", L"", L"", L"", L"", L""},
        {L"文 件 数：3 个", L"", L"", L"", L"", L""},
        {L"总计大小：9 KB", L"", L"", L"", L"", L""},
    };
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < 6; ++c) EXPECT_EQ(Narrow(rows[r][c]), Narrow(expected[r][c])) << r << "," << c;
    EXPECT_EQ(RowKind(0), ZipInformation::FolderRow);
    EXPECT_EQ(RowKind(1), ZipInformation::FileRow);
    EXPECT_EQ(RowKind(6), ZipInformation::SummaryRow);
    EXPECT_EQ(Narrow(TipOf(4)), "[03]small.txt");
    // Titles and CRCs are not cut.
    HWND list = Item(DocketPage::IDC_LVZIPVIEW);
    for (int c = 0; c < 6; ++c) {
        const LPARAM widest = reinterpret_cast<LPARAM>(c == 5 ? L"DDDDDDDD" : ZipInformation::kColumns[c]);
        EXPECT_GE(ListView_GetColumnWidth(list, c), ::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, widest) + 12) << c;
    }
    EXPECT_EQ(TipOf(6), L"untouched");
    EXPECT_EQ(Docket(), L"");
}

TEST_F(DocketPageTest, DeflatedDescriptorAndZip64Archives) {
    ASSERT_TRUE(Open(Sample(L"deflated.zip")));
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(Narrow(rows[1][3]), "92.79%");
    EXPECT_EQ(Narrow(rows[1][4]), "497");
    EXPECT_EQ(Narrow(rows[2][3]), "99.33%");
    ::DestroyWindow(page_);

    // Sizes after the data: the entry shows 0 and the walk ends on its data.
    ASSERT_TRUE(Open(Sample(L"descriptors.zip")));
    rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(Narrow(rows[1][0]), "[01]docs/readme.txt");
    EXPECT_EQ(Narrow(rows[1][4]), "0");
    EXPECT_EQ(Narrow(rows[3][0]), "文件夹数：1 个");
    ::DestroyWindow(page_);

    // Sizes kept in the Zip64 field are read there, and the walk goes on.
    ASSERT_TRUE(Open(Sample(L"zip64.zip")));
    rows = Rows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(Narrow(rows[0][0]), "[01][文件夹]docs/");
    EXPECT_EQ(Narrow(rows[0][2]), "2001-01-01 13:34:16");
    EXPECT_EQ(Narrow(rows[8][0]), "总计大小：9 KB");
}

TEST_F(DocketPageTest, HostileArchivesEndWithTheirSoundRows) {
    testsupport::TempDir dir;
    // A compressed size that wraps a 32-bit position back onto the first header.
    std::vector<uint8_t> wrap;
    zipbytes::AddEntry(wrap, "loop.bin", 0xFFFFFFFFu - 37, 20000000);
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"wrap.zip", wrap));
    ASSERT_TRUE(Open(dir / L"wrap.zip"));
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(Narrow(rows[0][1]), "20,000,000");
    EXPECT_EQ(Narrow(rows[3][0]), "文 件 数：1 个");
    EXPECT_EQ(Narrow(rows[4][0]), "总计大小：19,531 KB");
    ::DestroyWindow(page_);

    // Sizes whose sum passes 2^64: the total says so instead of wrapping to a small number.
    std::vector<uint8_t> huge;
    for (int i = 0; i < 2; ++i)
        zipbytes::AddEntry(huge, "claims" + std::to_string(i), 0, 0xFFFFFFFFu, 0, 0, zipbytes::Zip64Block({1ull << 63}));
    zipbytes::AddEntry(huge, "mebibyte", 0, 1u << 20);
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"huge.zip", huge));
    ASSERT_TRUE(Open(dir / L"huge.zip"));
    rows = Rows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(Narrow(rows[0][1]), "9,223,372,036,854,775,808");
    EXPECT_EQ(Narrow(rows[6][0]), Narrow(L"总计大小：条目所记的大小之和超过 16 EB，不可信"));
    ::DestroyWindow(page_);

    // 40,000 entries, a file named without a dot before its "zip": the most listed rows, one for
    // the rest, totals of all.
    ASSERT_TRUE(testsupport::WriteBytes(dir / L"rezip", zipbytes::ManyEntries(40000)));
    ASSERT_TRUE(Open(dir / L"rezip"));
    rows = Rows();
    ASSERT_EQ(rows.size(), 10005u);
    EXPECT_EQ(Narrow(rows[10000][0]), "……另有 30,000 个条目未列出");
    EXPECT_EQ(Narrow(rows[10003][0]), "文 件 数：40000 个");
    EXPECT_EQ(Narrow(rows[10004][0]), "总计大小：39 KB");

    // The walk ends at its next pump once its list is gone.
    HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, host_.get(), nullptr,
                                  nullptr, nullptr);
    ::PostMessageW(list, WM_CLOSE, 0, 0);
    ZipInformation zip;
    zip.ReadZip(dir / L"rezip", list);
    EXPECT_LT(zip.Totals().files, 40000u) << "the walk went on past the close";
}

TEST_F(DocketPageTest, PageFollowsItsSize) {
    ASSERT_TRUE(Open(Sample(L"movie.swf")));
    RECT host{}, page{};
    ::GetClientRect(host_.get(), &host);
    ::GetClientRect(page_, &page);
    EXPECT_EQ(page.right, host.right);
    EXPECT_EQ(page.bottom, host.bottom);
    ::MoveWindow(page_, 10, 10, 300, 200, TRUE);
    RECT box{};
    ::GetWindowRect(Item(DocketPage::IDC_TXTDOCKET), &box);
    ::MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_LE(box.right, 300);
    EXPECT_LE(box.bottom, 200);
    EXPECT_GT(box.right - box.left, 250);
}
