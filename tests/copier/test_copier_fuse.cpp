// End to end on a damaged medium: a FUSE file system (tests/fuse) serves one file under three
// names, with chosen ranges failing with EIO, with every read failing after the first MB, and
// vanishing after the first MB. The engine copies them from the mounted folder with the real
// file services. The served bytes hold no 0, so the 0 bytes of a new target are exactly the
// bytes the copy never wrote.
#include "CopyFakes.h"
#include "copier/BatchCopyRules.h"
#include "copier/CopyTiming.h"
#include "copier/frmCopyAllFiles.h"
#include <cstdlib>
#include <sstream>

using namespace copytest;
using namespace testsupport;

namespace {

#define SKIP_WITHOUT_FUSE(source)                                                                               \
    if ((source).empty()) {                                                                                    \
        const char* why = std::getenv("SALVA_FUSE_SKIP");                                                      \
        GTEST_SKIP() << (why ? why : "run by tests/fuse/run-fuse-test.sh, which mounts the damaged file system"); \
    }

// The real file services, a recording window and prompts from a script.
struct RealFiles {
    FakeHost host;
    salva::Win32CopyEnvironment env;
    FakePrompts prompts;
    salva::Win32BlockReader reader;
    salva::Win32BlockWriter writer;
};

// The served file `name` beside disc.dat.
std::wstring Served(const std::wstring& disc, const wchar_t* name) {
    return disc.substr(0, disc.find_last_of(L'\\') + 1) + name;
}

// Copies `source` into `target` with the smallest read and skip settings (one block each).
void CopyInSmallSteps(RealFiles& f, const std::wstring& source, const std::wstring& target) {
    salva::CopyEngine engine(f.host, f.env, f.prompts, f.reader, f.writer);
    engine.ReadBlocksReleased(1, source, target);
    engine.SkipBlocksReleased(1);
    engine.BeginCopy(source, target);
}

std::vector<int64_t> SkipPositions(const std::vector<std::wstring>& log) {
    std::vector<int64_t> positions;
    for (const auto& l : log) {
        if (l.rfind(L"文件跳过：", 0) != 0) continue;
        std::wstring digits;
        for (wchar_t c : l)
            if (c >= L'0' && c <= L'9') digits += c;
        positions.push_back(std::stoll(digits));
    }
    return positions;
}

int64_t Zeros(const std::vector<uint8_t>& bytes) {
    int64_t n = 0;
    for (uint8_t b : bytes) n += b == 0;
    return n;
}

// The report line a copy with skips ends its message with: the count of skip lines, and the
// bytes never written.
std::wstring Counted(size_t skips, int64_t zeros) {
    return L"\r\n其中有 " + salva::GroupedNumber(static_cast<int64_t>(skips)) + L" 处无法读取，共跳过 " +
           salva::GroupedNumber(zeros) + L" 字节没有复制。";
}

std::wstring Tail(const std::wstring& text) { return text.substr(std::min(text.size(), text.rfind(L"\r\n"))); }

}  // namespace

TEST(DamagedMedium, CopyFromFuseSkipsTheFailingStretchesOnlyAndCountsThem) {
    const std::wstring source = EnvText("SALVA_FUSE_SOURCE");
    SKIP_WITHOUT_FUSE(source);
    const auto original = ReadBytes(EnvText("SALVA_FUSE_BACKING"));
    ASSERT_GT(original.size(), 0u);
    std::vector<std::pair<int64_t, int64_t>> bad;
    std::istringstream in(std::getenv("SALVA_FUSE_BAD"));
    for (std::string r; std::getline(in, r, ',');) {
        const size_t dash = r.find('-');
        bad.emplace_back(std::stoll(r.substr(0, dash)), std::stoll(r.substr(dash + 1)));
    }

    RealFiles f;
    TempDir dir;
    const std::wstring target = dir / L"rescued.dat";
    CopyInSmallSteps(f, source, target);

    const auto copied = ReadBytes(target);
    ASSERT_EQ(original.size(), copied.size());
    for (size_t i = 0; i < original.size(); ++i)
        ASSERT_TRUE(copied[i] == 0 || copied[i] == original[i]) << "byte " << i;
    for (const auto& b : bad)
        for (int64_t i = b.first; i <= b.second; ++i) ASSERT_EQ(0, copied[i]) << "unreadable byte " << i << " written";
    // One skip per damaged stretch; the last one passes the end.
    const auto positions = SkipPositions(f.host.log);
    ASSERT_EQ(bad.size(), positions.size()) << f.host.log.size() << " log entries";
    EXPECT_EQ(static_cast<int64_t>(original.size()) + 1, positions.back());
    ASSERT_FALSE(f.host.shown.empty());
    EXPECT_EQ(L"文件复制完成！", f.host.shown.back().title) << Narrow(f.host.shown.back().text);
    EXPECT_EQ(Counted(bad.size(), Zeros(copied)), Tail(f.host.shown.back().text));
}

// A drive that stops reading part way: every later read fails and is skipped up to the end,
// and the message counts all of it.
TEST(DamagedMedium, DriveThatStopsReadingEndsWithTheRestCounted) {
    const std::wstring disc = EnvText("SALVA_FUSE_SOURCE");
    SKIP_WITHOUT_FUSE(disc);
    const auto original = ReadBytes(EnvText("SALVA_FUSE_BACKING"));
    RealFiles f;
    TempDir dir;
    const std::wstring target = dir / L"rescued.dat";
    CopyInSmallSteps(f, Served(disc, L"dying.dat"), target);

    const auto copied = ReadBytes(target);
    ASSERT_EQ(original.size(), copied.size());
    const int64_t zeros = Zeros(copied);
    EXPECT_EQ(-1, FirstDifference(original, copied, 0, original.size() - zeros)) << "the part before the failure";
    const auto positions = SkipPositions(f.host.log);
    EXPECT_GT(positions.size(), 10u);
    ASSERT_FALSE(f.host.shown.empty());
    EXPECT_EQ(Counted(positions.size(), zeros), Tail(f.host.shown.back().text));
}

TEST(DamagedMedium, SourceThatVanishesIsFileNotFoundWithoutASkip) {
    const std::wstring disc = EnvText("SALVA_FUSE_SOURCE");
    SKIP_WITHOUT_FUSE(disc);
    RealFiles f;
    TempDir dir;
    const std::wstring source = Served(disc, L"vanishing.dat");
    CopyInSmallSteps(f, source, dir / L"rescued.dat");
    EXPECT_TRUE(SkipPositions(f.host.log).empty()) << Narrow(f.host.log.front());
    ASSERT_EQ(1u, f.host.shown.size());
    EXPECT_EQ(L"[53].文件未找到\r\n" + source, f.host.shown[0].text);
    EXPECT_EQ(L"复制文件时出错！", f.host.shown[0].title);
}

// The served files share one inode number on a volume whose serial Wine reports as 0.
TEST(DamagedMedium, DistinctFilesOnAVolumeWithoutSerialAreNotTheSameFile) {
    const std::wstring disc = EnvText("SALVA_FUSE_SOURCE");
    SKIP_WITHOUT_FUSE(disc);
    salva::Win32CopyEnvironment env;
    EXPECT_FALSE(env.SameFile(disc, Served(disc, L"dying.dat")));
    EXPECT_TRUE(env.SameFile(disc, Served(disc, L".\\DISC.DAT")));
}

// The damaged file as one of the listed files of a batch: the same bytes as a single copy with
// the start settings (ten blocks per read, ten skip blocks), which read and skip alike, and
// the same count in the batch's log entry for it.
TEST(DamagedMedium, BatchCopyGivesTheSameBytesAsTheSingleCopy) {
    const std::wstring source = EnvText("SALVA_FUSE_SOURCE");
    SKIP_WITHOUT_FUSE(source);
    TempDir dir;
    RealFiles f;
    FakeHost& host = f.host;
    {
        salva::CopyEngine engine(host, f.env, f.prompts, f.reader, f.writer);
        engine.BeginCopy(source, dir / L"single.dat");
    }
    ASSERT_FALSE(host.shown.empty());
    ASSERT_EQ(L"文件复制完成！", host.shown.back().title) << Narrow(host.shown.back().text);

    const std::wstring healthy = dir / L"healthy.dat";
    ASSERT_TRUE(WriteBytes(healthy, Pattern(123457, 3)));
    const std::wstring out = dir / L"out";
    ASSERT_TRUE(::CreateDirectoryW(out.c_str(), nullptr));
    std::vector<std::wstring> log;
    salva::frmCopyAllFiles::Options o;
    o.listedFiles = [&] { return std::vector<std::wstring>{source, healthy}; };
    o.chooseFolder = [&](HWND, bool* same) {
        *same = true;
        return out;
    };
    o.log = [&](const std::wstring& e) { log.push_back(e); };
    o.message = [](HWND, const std::wstring&, const std::wstring&, unsigned) { return IDOK; };
    o.environment = &f.env;
    o.prompts = &f.prompts;
    o.reader = &f.reader;
    o.writer = &f.writer;
    salva::frmCopyAllFiles batch(std::move(o));
    batch.CopyingFiles();

    const auto single = ReadBytes(dir / L"single.dat");
    ASSERT_GT(single.size(), 0u);
    EXPECT_TRUE(single == ReadBytes(out + L"\\disc.dat")) << "batch and single copy differ";
    EXPECT_EQ(ReadBytes(healthy), ReadBytes(out + L"\\healthy.dat")) << "the file after the damaged one";
    const std::wstring counted = Tail(host.shown.back().text).substr(2);
    EXPECT_EQ(std::vector<std::wstring>{salva::batch_copy_rules::ErrorEntry(source, counted)}, log);
}
