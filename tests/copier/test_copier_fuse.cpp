// End to end on a damaged medium: a FUSE file system (tests/fuse) serves a file whose chosen
// ranges fail with EIO; the engine copies it from the mounted folder with the real file
// services, and the target equals the source everywhere outside the skipped stretches.
#include "CopyFakes.h"
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

std::wstring Env(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return {};
    wchar_t buf[1024] = {};
    ::MultiByteToWideChar(CP_UTF8, 0, v, -1, buf, 1024);
    return buf;
}

}  // namespace

TEST(DamagedMedium, CopyFromFuseSkipsTheFailingStretchesOnly) {
    const std::wstring source = Env("SALVA_FUSE_SOURCE");
    SKIP_WITHOUT_FUSE(source);
    const auto original = ReadBytes(Env("SALVA_FUSE_BACKING"));
    ASSERT_GT(original.size(), 0u);
    std::vector<std::pair<int64_t, int64_t>> bad;
    std::istringstream in(std::getenv("SALVA_FUSE_BAD"));
    for (std::string r; std::getline(in, r, ',');) {
        const size_t dash = r.find('-');
        bad.emplace_back(std::stoll(r.substr(0, dash)), std::stoll(r.substr(dash + 1)));
    }

    RealFiles f;
    FakeHost& host = f.host;
    salva::CopyEngine engine(host, f.env, f.prompts, f.reader, f.writer);
    TempDir dir;
    const std::wstring target = dir / L"rescued.dat";
    engine.ReadBlocksReleased(1, source, target);
    engine.SkipBlocksReleased(1);
    const int64_t step = engine.State().BlockBytes;
    engine.BeginCopy(source, target);

    ASSERT_FALSE(host.shown.empty());
    EXPECT_EQ(L"文件复制完成！", host.shown.back().title) << Narrow(host.shown.back().text);
    // Each skip logs the position it went on from; the stretch before it was not read.
    std::vector<std::pair<int64_t, int64_t>> skipped;  // 0-based, inclusive
    for (const auto& l : host.log) {
        if (l.rfind(L"文件跳过：", 0) != 0) continue;
        std::wstring digits;
        for (wchar_t c : l) if (c >= L'0' && c <= L'9') digits += c;
        const int64_t resumedAt = std::stoll(digits);  // 1-based
        skipped.emplace_back(resumedAt - 1 - step * 8 + 1, resumedAt - 2);
    }
    EXPECT_EQ(bad.size(), skipped.size()) << host.log.size() << " log entries";
    for (const auto& b : bad) {
        bool covered = false;
        for (const auto& s : skipped) covered |= b.first >= s.first - 1 && b.second <= s.second;
        EXPECT_TRUE(covered) << "bad range " << b.first << "-" << b.second << " not inside a skipped stretch";
    }
    const auto copied = ReadBytes(target);
    ASSERT_EQ(original.size(), copied.size());
    size_t compared = 0, mismatched = 0;
    for (size_t i = 0; i < original.size(); ++i) {
        bool inside = false;
        for (const auto& s : skipped) inside |= static_cast<int64_t>(i) >= s.first && static_cast<int64_t>(i) <= s.second;
        if (inside) {
            ASSERT_EQ(0, copied[i]) << "skipped byte " << i << " was written";
            continue;
        }
        ++compared;
        if (copied[i] != original[i] && ++mismatched < 5) ADD_FAILURE() << "byte " << i << " differs";
    }
    EXPECT_EQ(0u, mismatched);
    EXPECT_GT(compared, original.size() / 2);
}

// The damaged file as one of the listed files of a batch: the same bytes as a single copy with
// the start settings (ten blocks per read, ten skip blocks), which read and skip alike.
TEST(DamagedMedium, BatchCopyGivesTheSameBytesAsTheSingleCopy) {
    const std::wstring source = Env("SALVA_FUSE_SOURCE");
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
    EXPECT_TRUE(log.empty());
}
