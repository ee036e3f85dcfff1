// Log line text, the log view of a file's text, and the log file codec.
#include "TestSupport.h"
#include "inspect/FileByteSource.h"
#include "services/Text.h"
#include "windows/LogFile.h"
#include "windows/LogText.h"

using namespace salva;
using testsupport::Narrow;
using testsupport::TempDir;

namespace {

SYSTEMTIME At(WORD h, WORD m, WORD s) {
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 9;
    t.wHour = h;
    t.wMinute = m;
    t.wSecond = s;
    return t;
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
std::string Str(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
std::string Utf8(const std::wstring& s) { return Narrow(s); }
const std::string kBom = "\xEF\xBB\xBF";

}  // namespace

TEST(LogText, TwelveHourClock) {
    struct Case { WORD h, m, s; const wchar_t* want; } cases[] = {
        {14, 5, 9, L"02:05:09 PM"}, {0, 30, 0, L"12:30:00 AM"}, {12, 0, 0, L"12:00:00 PM"},
        {11, 59, 59, L"11:59:59 AM"}, {23, 0, 1, L"11:00:01 PM"}, {1, 2, 3, L"01:02:03 AM"},
    };
    for (const auto& c : cases) {
        const std::wstring got = FormatLogTime(At(c.h, c.m, c.s));
        EXPECT_EQ(got, c.want) << c.h << ":" << c.m << ":" << c.s << " gave " << Narrow(got);
    }
}

TEST(LogText, LineKeepsMessageAndContinuationLines) {
    const std::wstring message = L"文件复制完成！\r\n" + std::wstring(22, L' ') + L"源文件：D:\\a.dat";
    const std::wstring line = OperationLogLine(L"2026/12/9", At(14, 5, 9), message);
    EXPECT_EQ(line, L"[2026/12/9 02:05:09 PM] " + message + L"\r\n") << Narrow(line);

    const std::wstring date = FormatShortDate(At(0, 0, 0));
    EXPECT_NE(date.find(L"2026"), std::wstring::npos) << Narrow(date);
    const std::wstring withDate = OperationLogLine(At(0, 30, 0), L"x");
    EXPECT_EQ(withDate, L"[" + date + L" 12:30:00 AM] x\r\n") << Narrow(withDate);
}

TEST(LogFileText, ViewOfFileText) {
    struct Case { const wchar_t* file; const wchar_t* view; } cases[] = {
        {L"", L""},                                   // empty file
        {L"\r\n", L"\r\n"},                           // cleared file
        {L"A\r\nB\r\n\r\n", L"\r\nA\r\nB\r\n"},       // one block: its closing empty line dropped
        {L"L1\r\n\r\nL2\r\n\r\n", L"\r\nL1\r\n\r\nL2\r\n"},  // two runs keep the line between
        {L"A\r\nB", L"\r\nA\r\nB\r\n"},               // a last line without CRLF is kept
        {L"A\r\nB\r\n", L"\r\nA\r\nB\r\n"},
        {L"A\nB\n\n", L"\r\nA\r\nB\r\n"},
    };
    for (const auto& c : cases) {
        const std::wstring got = LogViewText(c.file);
        EXPECT_EQ(got, c.view) << "file \"" << Narrow(c.file) << "\" gave \"" << Narrow(got) << "\"";
    }
}

TEST(LogFileText, CodecUtf8AndAnsi) {
    const std::wstring chinese = L"[2026/12/9 02:05:09 PM] 创建文件：“C:\\新建.txt”\r\n";
    const std::string bytes = EncodeTextFile(chinese);
    EXPECT_EQ(bytes, kBom + Utf8(chinese));
    EXPECT_EQ(DecodeTextFile(bytes), chinese) << Narrow(DecodeTextFile(bytes));

    // Without the mark the bytes are the ANSI code page's.
    const std::wstring sample = L"caf\u00e9 log";
    char ansi[64] = {};
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, sample.c_str(), -1, ansi, 64, nullptr, &lossy);
    if (n <= 0 || lossy) GTEST_SKIP() << "code page " << ::GetACP() << " has no e-acute";
    const std::wstring decoded = DecodeTextFile(ansi);
    EXPECT_EQ(decoded, sample) << "code page " << ::GetACP() << " gave " << Narrow(decoded);
}

TEST(LogFileText, AppendWriteRead) {
    TempDir dir;
    const std::wstring log = dir / L"OperationNotes.log";
    EXPECT_EQ(ReadLogFile(log), L"") << "missing file";

    const std::wstring run1 = L"[d 01:00:00 AM] 第一行\r\n[d 01:00:01 AM] second\r\n";
    ASSERT_TRUE(AppendLogFile(log, run1));
    EXPECT_EQ(Str(testsupport::ReadBytes(log)), kBom + Utf8(run1) + "\r\n");
    const std::wstring run2 = L"[d 02:00:00 PM] 删除文件：“x”\r\n";
    ASSERT_TRUE(AppendLogFile(log, run2));
    EXPECT_EQ(Str(testsupport::ReadBytes(log)), kBom + Utf8(run1) + "\r\n" + Utf8(run2) + "\r\n");

    const std::wstring view = ReadLogFile(log);
    EXPECT_EQ(view, L"\r\n" + run1 + L"\r\n" + run2) << Narrow(view);

    ASSERT_TRUE(WriteLogFile(log, L""));
    EXPECT_EQ(Str(testsupport::ReadBytes(log)), kBom + "\r\n");
    EXPECT_EQ(ReadLogFile(log), L"\r\n");
    EXPECT_EQ(testsupport::FileLength(log + L".new"), -1) << "no temporary file is left";

    // A file without the mark keeps its bytes and is read and appended to as UTF-8 when all of
    // it is UTF-8 and not plain ASCII, else in the ANSI code page (a damaged one too).
    const std::string ansi = ToCodePage(CP_ACP, run2 + L"\r\n"), utf8 = Utf8(run2 + L"\r\n");
    struct Case {
        const char* what;
        std::string before, added;
        std::wstring view;
    } cases[] = {
        {"ASCII", "A\r\n\r\n", ansi, L""},
        {"UTF-8 without the mark", Utf8(L"第一集\r\n\r\n"), utf8, L"\r\n第一集\r\n\r\n" + run2},
        {"damaged", std::string("\xFF\xFE\0\x81\r\0junk", 10), ansi, L""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(testsupport::WriteBytes(log, Bytes(c.before)));
        ASSERT_TRUE(AppendLogFile(log, run2)) << c.what;
        EXPECT_EQ(Str(testsupport::ReadBytes(log)), c.before + c.added) << c.what;
        if (c.view.empty()) continue;
        const std::wstring got = ReadLogFile(log);
        EXPECT_EQ(got, c.view) << c.what << ": " << Narrow(got);
    }
}

// A 700 MB sparse log: appended to without reading it; the view shows its end after a notice.
TEST(LogFileText, LargeLogIsAppendedToAndShownInPart) {
    TempDir dir;
    const std::wstring log = dir / L"OperationNotes.log";
    const std::string tail = "x\r\n" + Utf8(L"最后\r\n\r\n");
    ASSERT_TRUE(testsupport::WriteBytes(log, Bytes(kBom)));
    ASSERT_TRUE(FileByteSource(log, true).WriteAt(700u << 20, reinterpret_cast<const uint8_t*>(tail.data()), tail.size()));
    const int64_t before = testsupport::FileLength(log);
    ASSERT_TRUE(AppendLogFile(log, L"新\r\n"));
    EXPECT_EQ(testsupport::FileLength(log), before + int64_t(Utf8(L"新\r\n\r\n").size()));
    const std::wstring view = ReadLogFile(log, 1 << 20), end = L"最后\r\n\r\n新\r\n";
    EXPECT_EQ(view.substr(0, 10), L"\r\n（日志文件共约 ") << Narrow(view.substr(0, 40));
    EXPECT_EQ(view.substr(view.size() - end.size()), end) << Narrow(view.substr(view.size() - 40));
}

TEST(LogFileText, FailedWritesLeaveTheFile) {
    TempDir dir;
    EXPECT_FALSE(AppendLogFile(dir / L"no such folder\\OperationNotes.log", L"x"));
    EXPECT_FALSE(WriteLogFile(dir / L"no such folder\\OperationNotes.log", L""));
    EXPECT_EQ(testsupport::FileLength(dir / L"no such folder\\OperationNotes.log"), -1);

    const std::wstring log = dir / L"OperationNotes.log";
    const std::string before = kBom + "old\r\n\r\n";
    ASSERT_TRUE(testsupport::WriteBytes(log, Bytes(before)));
    {
        // Another program holds the file open without sharing it.
        salva::unique_hfile lock(::CreateFileW(log.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_FALSE(AppendLogFile(log, L"new"));
        EXPECT_FALSE(WriteLogFile(log, L""));
        EXPECT_EQ(ReadLogFile(log), L"") << "unreadable file";
    }
    EXPECT_EQ(Str(testsupport::ReadBytes(log)), before);
    EXPECT_EQ(testsupport::FileLength(log + L".new"), -1) << "no temporary file is left";
}
