// File and folder operations of the file service on temporary files under Wine.
#include "services/FileSystem.h"
#include "TestSupport.h"
#include "WineHost.h"
#include <cstring>
#include <cwchar>

using salva::FileSystem;
using testsupport::Narrow;
using testsupport::TempDir;

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<uint8_t> Bytes(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

// Sets an environment variable for the scope's life.
class env_scope {
public:
    env_scope(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[32768];
        const DWORD n = ::GetEnvironmentVariableW(name, old, 32768);
        had_ = n > 0 && n < 32768;
        if (had_) old_ = old;
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~env_scope() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

private:
    const wchar_t* name_;
    bool had_ = false;
    std::wstring old_;
};

class cwd_scope {
public:
    explicit cwd_scope(const std::wstring& folder) {
        wchar_t old[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, old);
        old_ = old;
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~cwd_scope() { ::SetCurrentDirectoryW(old_.c_str()); }

private:
    std::wstring old_;
};

}  // namespace

TEST(FileSystemFiles, ExistenceWithAndWithoutTrailingBackslash) {
    TempDir dir;
    FileSystem fs;
    const std::wstring file = dir / L"a.dat";
    const std::wstring folder = dir / L"sub";
    ASSERT_TRUE(testsupport::WriteBytes(file, Bytes("x")));
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));

    EXPECT_TRUE(fs.FileExists(file));
    EXPECT_TRUE(fs.FileExists(file + L"\\")) << "one trailing backslash is dropped";
    EXPECT_TRUE(fs.FileExists(L"  " + file + L"  ")) << "blanks are trimmed";
    EXPECT_TRUE(fs.FileExists(folder)) << "a folder counts as an entry";
    EXPECT_TRUE(fs.FileExists(folder + L"\\"));
    EXPECT_TRUE(fs.FolderExists(folder));
    EXPECT_TRUE(fs.FolderExists(folder + L"\\"));
    EXPECT_FALSE(fs.FolderExists(file)) << "a file is no folder";
    EXPECT_FALSE(fs.FileExists(dir / L"missing.dat"));
    EXPECT_FALSE(fs.FolderExists(dir / L"missing"));
    EXPECT_FALSE(fs.FileExists(L""));
    EXPECT_FALSE(fs.FileExists(L"   "));
    // Wildcards would match any file of the folder.
    EXPECT_FALSE(fs.FileExists(dir / L"*.dat"));
    EXPECT_FALSE(fs.FileExists(dir / L"?.dat"));
    EXPECT_FALSE(fs.FolderExists(dir / L"s*"));
}

TEST(FileSystemFiles, AttributeTextsFollowSetFileAttributes) {
    TempDir dir;
    FileSystem fs;
    const std::wstring file = dir / L"attr.txt";
    ASSERT_TRUE(testsupport::WriteBytes(file, Bytes("attr")));
    struct Case { DWORD set; const wchar_t* text; };
    // Wine keeps the archive bit on every file, so each case carries it.
    const Case cases[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, L"只读,存档"},
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, L"隐藏,存档"},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, L"只读,隐藏,存档"},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE,
         L"只读,隐藏,系统,存档"},
        {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, L"隐藏,系统,存档"},
        {FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, L"未知(36)"},
        {FILE_ATTRIBUTE_ARCHIVE, L"存档"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(::SetFileAttributesW(file.c_str(), c.set));
        const int32_t number = fs.GetFileAttributesNumber(file);
        EXPECT_EQ(number, static_cast<int32_t>(c.set)) << "set " << c.set << ", read " << number;
        EXPECT_EQ(fs.GetFileAttributesStr(file), c.text)
            << "set " << c.set << ", read " << number << ": " << Narrow(fs.GetFileAttributesStr(file));
    }
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fs.GetFileAttributesNumber(dir / L"missing"), -1);
    EXPECT_EQ(fs.GetFileAttributesStr(dir / L"missing"), L"");
}

TEST(FileSystemFiles, RenameRefusesAnExistingTarget) {
    TempDir dir;
    FileSystem fs;
    const std::wstring a = dir / L"a.dat";
    const std::wstring b = dir / L"b.dat";
    ASSERT_TRUE(testsupport::WriteBytes(a, Bytes("first")));
    ASSERT_TRUE(testsupport::WriteBytes(b, Bytes("second")));

    EXPECT_FALSE(fs.ReName(a, b));
    EXPECT_EQ(testsupport::ReadBytes(a), Bytes("first"));
    EXPECT_EQ(testsupport::ReadBytes(b), Bytes("second"));

    const std::wstring c = dir / L"c.dat";
    EXPECT_TRUE(fs.ReName(a, c));
    EXPECT_FALSE(Exists(a));
    EXPECT_EQ(testsupport::ReadBytes(c), Bytes("first"));

    // Relative and wildcard names are refused, nothing is touched.
    {
        cwd_scope cwd(dir.path());
        EXPECT_FALSE(fs.ReName(L"b.dat", dir / L"d.dat"));
        EXPECT_FALSE(fs.ReName(b, L"d.dat"));
    }
    EXPECT_FALSE(fs.ReName(dir / L"*.dat", dir / L"e.dat"));
    EXPECT_EQ(testsupport::ReadBytes(b), Bytes("second"));
    EXPECT_FALSE(Exists(dir / L"d.dat"));
    EXPECT_FALSE(Exists(dir / L"e.dat"));
    EXPECT_FALSE(fs.ReName(dir / L"missing.dat", dir / L"f.dat"));
}

TEST(FileSystemFiles, PlainDeleteAndRefusedPaths) {
    TempDir dir;
    FileSystem fs;
    const std::wstring keepA = dir / L"keep1.txt";
    const std::wstring keepB = dir / L"keep2.txt";
    const std::wstring gone = dir / L"gone.txt";
    for (const auto& p : {keepA, keepB, gone}) ASSERT_TRUE(testsupport::WriteBytes(p, Bytes("data")));
    const std::wstring folder = dir / L"folder";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteBytes(folder + L"\\inner.txt", Bytes("inner")));

    fs.FileDeleted(dir / L"*.txt");
    fs.FileDeleted(dir / L"keep?.txt");
    {
        cwd_scope cwd(dir.path());
        fs.FileDeleted(L"keep1.txt");
        fs.FileDelToRecycle(L"keep2.txt");
    }
    fs.FileDeleted(L"");
    EXPECT_TRUE(Exists(keepA));
    EXPECT_TRUE(Exists(keepB));
    EXPECT_TRUE(Exists(gone));

    fs.FileDeleted(gone);
    EXPECT_FALSE(Exists(gone));
    EXPECT_TRUE(Exists(keepA));
    fs.FileDeleted(folder);
    EXPECT_FALSE(Exists(folder)) << "a folder goes with what it holds";
}

TEST(FileSystemFiles, DeleteToRecycleBin) {
    TempDir dir;
    FileSystem fs;
    // Wine's recycle bin is the host's trash folder below the home folder named by this
    // variable, read once per process when the bin is first used: keep it inside the test's folder.
    if (wine_host::UnixPath(dir.path()).empty()) GTEST_SKIP() << "not running under Wine";
    wine_host::SetRuntimeVariable(L"WINEHOMEDIR", L"\\??\\" + dir.path());
    ASSERT_TRUE(::CreateDirectoryW((dir / L".local").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((dir / L".local\\share").c_str(), nullptr));

    const std::wstring file = dir / L"recycle_me.txt";
    ASSERT_TRUE(testsupport::WriteBytes(file, Bytes("recycle")));
    fs.FileDelToRecycle(file);
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(testsupport::ReadBytes(dir / L".local\\share\\Trash\\files\\recycle_me.txt"), Bytes("recycle"))
        << "the file went to the bin, not away";
}

TEST(FileSystemFiles, TemporaryFiles) {
    TempDir dir;
    FileSystem fs;
    // The system takes its temporary folder from TMP; point it at this test's folder.
    env_scope tmp(L"TMP", dir.path());
    env_scope temp(L"TEMP", dir.path());
    const std::wstring tempPath = fs.GetTempPath();
    EXPECT_EQ(tempPath, dir.path() + L"\\") << Narrow(tempPath);

    const std::wstring named = fs.GetTempFileName(dir.path(), L"pdv");
    EXPECT_EQ(fs.GetFilePath(named), dir.path() + L"\\") << Narrow(named);
    EXPECT_EQ(fs.GetFileName(named).substr(0, 3), L"pdv") << Narrow(named);
    EXPECT_EQ(testsupport::FileLength(named), 0) << "the system creates the empty file";

    const std::wstring unnamed = fs.GetTempFileName(L"", L"pdv");
    EXPECT_EQ(fs.GetFilePath(unnamed), tempPath) << Narrow(unnamed);
    // The executable's name gives the prefix, whatever prefix was asked for.
    EXPECT_EQ(fs.GetFileName(unnamed).substr(0, 3), L"tes") << Narrow(unnamed);
    EXPECT_TRUE(Exists(unnamed));
    EXPECT_NE(named, unnamed);

    EXPECT_EQ(fs.GetTempFileName(dir / L"missing", L"pdv"), L"");
}

TEST(FileSystemFiles, TypeNames) {
    TempDir dir;
    FileSystem fs;
    EXPECT_EQ(fs.GetFileTypeName(dir / L"readme.txt"), L"TXT 文件") << Narrow(fs.GetFileTypeName(dir / L"readme.txt"));
    EXPECT_EQ(fs.GetFileTypeName(dir / L"a.b\\file"), L"文件") << Narrow(fs.GetFileTypeName(dir / L"a.b\\file"));
    // An existing file of a registered type gets the shell's name for the type.
    const std::wstring existing = dir / L"notes.txt";
    ASSERT_TRUE(testsupport::WriteBytes(existing, Bytes("x")));
    const std::wstring shellName = fs.GetFileTypeName(existing);
    EXPECT_FALSE(shellName.empty());
    EXPECT_EQ(shellName.find(L'\0'), std::wstring::npos) << Narrow(shellName);
    EXPECT_NE(shellName, L"TXT 文件") << Narrow(shellName);
}

TEST(FileSystemFiles, SizesIncludingTwoGigabytesAndMore) {
    TempDir dir;
    FileSystem fs;
    const std::wstring small = dir / L"small.bin";
    ASSERT_TRUE(testsupport::WriteBytes(small, testsupport::Pattern(1234)));
    EXPECT_EQ(fs.GetFileSize(small), 1234);
    EXPECT_EQ(fs.GetFileSizeA(small), 1234);

    // Read-only files and files another handle holds exclusively are measured all the same.
    ASSERT_TRUE(::SetFileAttributesW(small.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(fs.GetFileSize(small), 1234);
    ::SetFileAttributesW(small.c_str(), FILE_ATTRIBUTE_NORMAL);
    {
        salva::unique_hfile locked(
            ::CreateFileW(small.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(locked);
        EXPECT_EQ(fs.GetFileSize(small), 1234);
    }
    EXPECT_EQ(testsupport::ReadBytes(small), testsupport::Pattern(1234)) << "measuring never writes";

    auto sparse = [&](const std::wstring& path, int64_t length) {
        salva::unique_hfile f(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER at;
        at.QuadPart = length;
        return f && ::SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN) && ::SetEndOfFile(f.get());
    };
    const std::wstring largest = dir / L"largest.bin";
    const std::wstring huge = dir / L"huge.bin";
    ASSERT_TRUE(sparse(largest, INT32_MAX));
    ASSERT_TRUE(sparse(huge, 0x80000000LL + 0x10000000LL));
    EXPECT_EQ(fs.GetFileSize(largest), INT32_MAX);
    EXPECT_EQ(fs.GetFileSizeA(largest), INT32_MAX);
    EXPECT_EQ(fs.GetFileSize(huge), -1) << "no wrapped value for 2.25 GiB";
    EXPECT_EQ(fs.GetFileSizeA(huge), -1);

    EXPECT_EQ(fs.GetFileSize(dir / L"missing.bin"), -1);
    EXPECT_EQ(fs.GetFileSizeA(dir / L"missing.bin"), -1);
    EXPECT_EQ(fs.GetFileSizeA(dir.path()), -1) << "a folder has no length";
}

TEST(FileSystemFiles, FileTimesAndMidnight) {
    TempDir dir;
    FileSystem fs;
    const std::wstring file = dir / L"times.dat";
    ASSERT_TRUE(testsupport::WriteBytes(file, Bytes("t")));
    auto fileTime = [](WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
        SYSTEMTIME local{y, mo, 0, d, h, mi, s, 0};
        FILETIME lft{}, utc{};
        ::SystemTimeToFileTime(&local, &lft);
        ::LocalFileTimeToFileTime(&lft, &utc);
        return utc;
    };
    auto expected = [](WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
        SYSTEMTIME st{y, mo, 0, d, h, mi, s, 0};
        wchar_t date[128] = {}, time[128] = {};
        ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, date, 128);
        ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128);
        return std::wstring(date) + L" " + time;
    };
    const FILETIME written = fileTime(2010, 5, 6, 0, 0, 0);
    const FILETIME accessed = fileTime(2011, 7, 8, 9, 10, 11);
    {
        salva::unique_hfile f(::CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(f);
        ASSERT_TRUE(::SetFileTime(f.get(), nullptr, &accessed, &written));
    }
    const std::wstring modified = fs.GetFileDateTime(file, 1);
    EXPECT_EQ(modified, expected(2010, 5, 6, 0, 0, 0)) << "midnight stays midnight: " << Narrow(modified);
    const std::wstring access = fs.GetFileDateTime(file, 2);
    EXPECT_EQ(access, expected(2011, 7, 8, 9, 10, 11)) << Narrow(access);
    EXPECT_NE(fs.GetFileDateTime(file, 0), L"未知");
    // Any other selector picks no time: the calendar's zero date at midnight.
    EXPECT_EQ(fs.GetFileDateTime(file, 3), expected(1899, 12, 30, 0, 0, 0)) << Narrow(fs.GetFileDateTime(file, 3));
    EXPECT_EQ(fs.GetFileDateTime(dir / L"missing.dat", 1), L"未知");
}

TEST(FileSystemFiles, ShortPaths) {
    TempDir dir;
    FileSystem fs;
    const std::wstring file = dir / L"a rather long file name.data";
    ASSERT_TRUE(testsupport::WriteBytes(file, Bytes("s")));
    const std::wstring shortPath = fs.GetShortPathName(file);
    EXPECT_FALSE(shortPath.empty());
    EXPECT_EQ(shortPath.find(L' '), std::wstring::npos) << Narrow(shortPath);
    EXPECT_EQ(testsupport::ReadBytes(shortPath), Bytes("s")) << Narrow(shortPath);
    EXPECT_EQ(fs.GetShortPathName(dir / L"missing.dat"), L"");
}
