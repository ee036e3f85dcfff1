// The engine with the registered Dorvex.dll: the record a cancel leaves, byte for byte, and the
// real overwrite-or-continue prompt that a later start shows for it.
#include "CopyFakes.h"
#include "copier/DorvexCopyPrompts.h"
#include "dorvex/PromptFrame.h"
#include <cstring>

using namespace copytest;
using namespace testsupport;

namespace {

class RegisteredDorvex : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new RegisteredServer(L"Dorvex.dll"); }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(S_OK, server_->result()) << "registering Dorvex.dll"; }
    static RegisteredServer* server_;
};
RegisteredServer* RegisteredDorvex::server_ = nullptr;

template <typename T>
T LittleEndian(const std::vector<uint8_t>& b, size_t at) {
    T v{};
    std::memcpy(&v, b.data() + at, sizeof(T));
    return v;
}

}  // namespace

TEST_F(RegisteredDorvex, CancelLeavesTheRecordAndTheRealPromptContinuesFromIt) {
    FakeHost host;
    FakeEnv env;
    salva::DorvexCopyPrompts prompts;
    FaultyReader reader;
    FaultyWriter writer;
    salva::CopyEngine engine(host, env, prompts, reader, writer);
    TempDir dir;
    const std::wstring src = dir / L"source.dat", dst = dir / L"target.dat";
    const auto bytes = Pattern(100000, 11);
    ASSERT_TRUE(WriteBytes(src, bytes));

    host.onPump = [&](int n) {
        if (n == 3) {
            env.nowMs += 2000;
            engine.TimerTick();
            engine.Cancel();
        }
    };
    host.answers = {IDNO};
    engine.CopyFileByBlocks(src, dst, 4096);
    const int32_t pos = 1 + 3 * 4096;
    const auto target = ReadBytes(dst);
    ASSERT_EQ(static_cast<size_t>(pos + 16), target.size());
    EXPECT_EQ(-1, FirstDifference(bytes, target, 0, pos - 1)) << "data before the record";
    EXPECT_EQ(0, std::memcmp(target.data() + pos - 1, "PDV", 3));
    EXPECT_EQ(pos, LittleEndian<int32_t>(target, pos - 1 + 3)) << "lFileLength";
    EXPECT_EQ(pos, LittleEndian<int32_t>(target, pos - 1 + 7)) << "lHaveCopied";
    EXPECT_EQ(static_cast<int16_t>(100000.0 / (pos / 2.0)), LittleEndian<int16_t>(target, pos - 1 + 11)) << "iConsumeTime";
    EXPECT_EQ(2, LittleEndian<int16_t>(target, pos - 1 + 13)) << "iTotalTime";
    EXPECT_EQ(pos / 1024 / 2, LittleEndian<int16_t>(target, pos - 1 + 15)) << "iCopySpeed";

    // The next start reads the record and asks; "否" continues the rest.
    host.onPump = nullptr;
    host.shown.clear();
    host.log.clear();
    reader.reads.clear();
    bool clicked = false;
    Watcher watcher(L"文件已经存在", [&](HWND prompt) {
        HWND no = FindControl(prompt, dorvex::ids::cmdNo);
        clicked = no != nullptr;
        if (no) ::PostMessageW(no, BM_CLICK, 0, 0);
    });
    engine.ReadBlocksReleased(1, src, dst);
    engine.BeginCopy(src, dst);
    watcher.Join();
    ASSERT_TRUE(clicked) << "prompt or its 否 button not found";
    ASSERT_FALSE(reader.reads.empty());
    EXPECT_EQ(pos - 16, reader.reads[0].first + 1) << "continued 16 bytes before the stored length";
    EXPECT_EQ(bytes, ReadBytes(dst));
    ASSERT_FALSE(host.log.empty());
    EXPECT_EQ(L"续拷文件：" + src + L"\r\n" + std::wstring(22, L' ') + L"到：" + dst, host.log[0]);
    EXPECT_EQ(L"文件复制完成！", host.shown.back().title);
}
