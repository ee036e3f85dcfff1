// Throughput of the copy engine on a healthy file, for tools/bench-copy.sh.
// Usage: bench_copy <source> <target> [read-blocks]; prints the read size, the seconds and MB/s.
#include "BenchProbe.h"
#include "copier/CopyEngine.h"
#include <cstdio>

namespace {

class ConsoleHost : public salva::CopyHost {
public:
    void SetLabel(salva::CopyLabel, const std::wstring&) override {}
    void EnableControl(salva::CopyControl, bool) override {}
    void SetPauseCaption(const std::wstring&) override {}
    void ClearProgress() override {}
    void DrawProgress(double, const std::wstring&) override {}
    void EnableTimer(bool) override {}
    int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned) override {
        finished = title == L"文件复制完成！";
        if (!finished) std::fwprintf(stderr, L"message: %ls\n", text.c_str());
        return IDYES;
    }
    // No window: nothing waits to be handled.
    void PumpMessages() override {}
    void AppendLog(const std::wstring&) override {}
    bool finished = false;
};

class NoPrompts : public salva::CopyPrompts {
public:
    long ReadResumeRecord(const std::wstring&, int32_t*, int16_t*) override { return 0; }
    bool WriteResumeRecord(const std::wstring&, const salva::ResumeValues&) override { return true; }
    long AskOverwriteOrContinue(const std::wstring&, const std::wstring&) override { return 1; }
    long AskExistingTarget(const std::wstring&, const std::wstring&, std::wstring*) override { return 1; }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) {
        std::fwprintf(stderr, L"usage: bench_copy <source> <target> [read-blocks]\n");
        return 2;
    }
    ConsoleHost host;
    salva::Win32CopyEnvironment env;
    NoPrompts prompts;
    salva::Win32BlockReader reader;
    salva::Win32BlockWriter writer;
    salva::CopyEngine engine(host, env, prompts, reader, writer);
    ::DeleteFileW(argv[2]);
    if (argc == 4) engine.ReadBlocksReleased(_wtoi(argv[3]), argv[1], argv[2]);
    const int64_t t0 = benchsupport::Ticks();
    engine.BeginCopy(argv[1], argv[2]);
    const double seconds = benchsupport::Ms(benchsupport::Ticks() - t0) / 1000.0;
    const double mb = static_cast<double>(engine.State().TotalBytes) / (1024.0 * 1024.0);
    std::printf("block=%lld seconds=%.3f mbps=%.1f\n", static_cast<long long>(engine.State().BlockBytes), seconds,
                seconds > 0 ? mb / seconds : 0.0);
    return host.finished ? 0 : 1;
}
