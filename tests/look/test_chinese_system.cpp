// What the program meets on the system the test command makes: under a Chinese locale the code
// page, the language of the system's own texts and the date and time forms are Chinese; the
// faces the program's windows, prompts, captions, menus and tips are drawn in have Chinese
// glyphs, and Chinese file names reach the disk.
#include "TestSupport.h"
#include "dorvex/PromptFrame.h"
#include "services/mT3D.h"
#include <windows.h>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

// The Unix locale Wine took this process's settings from; Wine hands the Unix environment on.
std::wstring UnixLocale() {
    for (const wchar_t* name : {L"LC_ALL", L"LANG"}) {
        wchar_t value[64] = {};
        const DWORD n = ::GetEnvironmentVariableW(name, value, 64);
        if (n > 0 && n < 64) return value;
    }
    return L"";
}

bool ChineseLocale() { return UnixLocale().rfind(L"zh_CN", 0) == 0; }

#define SKIP_UNLESS_CHINESE_LOCALE()                                                                  \
    if (!ChineseLocale()) GTEST_SKIP() << "Wine runs under \"" << Narrow(UnixLocale()) << "\", not zh_CN"

// The characters of `text` that `font` has no glyph for.
std::wstring MissingGlyphs(HFONT font, const std::wstring& text) {
    auto dc = salva::unique_window_dc::client(nullptr);
    salva::select_scope chosen(dc.get(), font);
    std::vector<WORD> glyphs(text.size(), 0xFFFF);
    ::GetGlyphIndicesW(dc.get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS);
    std::wstring missing;
    for (size_t i = 0; i < text.size(); ++i)
        if (glyphs[i] == 0xFFFF) missing += text[i];
    return missing;
}

const SYSTEMTIME kAfternoon{2003, 12, 0, 14, 15, 4, 5, 0};

void SetModified(const std::wstring& path, const SYSTEMTIME& local) {
    FILETIME lft{}, utc{};
    ASSERT_TRUE(::SystemTimeToFileTime(&local, &lft));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&lft, &utc));
    salva::unique_hfile f(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(f);
    ASSERT_TRUE(::SetFileTime(f.get(), nullptr, nullptr, &utc));
}

}  // namespace

TEST(ChineseSystem, CodePageLanguageAndDateFormsAreSimplifiedChinese) {
    SKIP_UNLESS_CHINESE_LOCALE();
    EXPECT_EQ(936u, ::GetACP());
    EXPECT_EQ(936u, ::GetOEMCP());
    EXPECT_EQ(0x0804, ::GetUserDefaultUILanguage());
    EXPECT_EQ(0x0804, LANGIDFROMLCID(::GetUserDefaultLCID()));
    // ANSI text is GBK: "提醒！" in two bytes a character.
    char ansi[16] = {};
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, L"提醒！", 3, ansi, sizeof(ansi), nullptr, &lossy);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(std::string("\xCC\xE1\xD0\xD1\xA3\xA1"), std::string(ansi, n > 0 ? n : 0));

    wchar_t date[128] = {}, time[128] = {};
    ASSERT_GT(::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &kAfternoon, nullptr, date, 128), 0);
    ASSERT_GT(::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &kAfternoon, nullptr, time, 128), 0);
    // A Chinese Windows's long date carries no weekday (the prefix is set up that way).
    EXPECT_EQ(L"2003年12月14日", std::wstring(date)) << Narrow(date);
    EXPECT_EQ(L"15:04:05", std::wstring(time)) << Narrow(time);
}

TEST(ChineseSystem, PromptTimeLineIsChineseDateTimeAndSuffix) {
    SKIP_UNLESS_CHINESE_LOCALE();
    TempDir dir;
    const std::wstring path = dir / L"AVSEQ01.DAT";
    ASSERT_TRUE(WriteBytes(path, Pattern(10)));
    SetModified(path, kAfternoon);
    const std::wstring line = dorvex::FormatFileTime(path, 0);
    EXPECT_EQ(L"2003年12月14日15:04:05 PM", line) << Narrow(line);
}

TEST(ChineseSystem, CaptionMenuTipAndMessageFontsHaveChinese) {
    SKIP_UNLESS_CHINESE_LOCALE();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    const struct {
        const char* use;
        const LOGFONTW& font;
    } fonts[] = {{"caption", metrics.lfCaptionFont},
                 {"small caption", metrics.lfSmCaptionFont},
                 {"menu", metrics.lfMenuFont},
                 {"tip and status", metrics.lfStatusFont},
                 {"message", metrics.lfMessageFont}};
    for (const auto& f : fonts) {
        salva::unique_hfont font(::CreateFontIndirectW(&f.font));
        ASSERT_TRUE(font) << f.use;
        EXPECT_EQ(L"", MissingGlyphs(font.get(), L"提醒！文件复制完成！"))
            << f.use << " font " << Narrow(f.font.lfFaceName) << " misses these";
    }
}

// Holds under every locale: the prefix maps the Chinese face to the installed CJK font.
TEST(ChineseFonts, SongTiIsListedAndTheProgramsFontsDrawChinese) {
    EXPECT_TRUE(dorvex::FaceInstalled(L"宋体"));
    EXPECT_TRUE(mT3D::FontExists(L"宋体"));
    EXPECT_EQ(L"宋体", mT3D::WindowFontRule().face);
    const std::wstring sample = L"修改时间：2003年12月14日 目标文件 [字节]";
    EXPECT_EQ(L"", MissingGlyphs(dorvex::PromptFont(), sample)) << "the prompt font misses these";
    EXPECT_EQ(L"", MissingGlyphs(mT3D::WindowFont(), sample)) << "the window font misses these";
}

// Holds under every locale whose Unix side is generated and UTF-8: without it Wine cannot
// carry Chinese file names to the Unix file system.
TEST(ChineseFileNames, AFileIsMadeAndFoundByItsChineseName) {
    TempDir dir;
    const std::wstring name = L"提醒！新建.dat";
    ASSERT_TRUE(WriteBytes(dir / name, Pattern(3))) << "error " << ::GetLastError();
    WIN32_FIND_DATAW found{};
    salva::unique_hfind find(::FindFirstFileW((dir / L"*.dat").c_str(), &found));
    ASSERT_TRUE(find);
    EXPECT_EQ(name, std::wstring(found.cFileName)) << Narrow(found.cFileName);
    EXPECT_EQ(3, FileLength(dir / name));
}
