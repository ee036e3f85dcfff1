// A recording window, a controllable environment and clock, prompts answered from a script,
// and a source reader and target writer that fail on chosen byte ranges, for driving the
// copy engine over real files.
#pragma once
#include "TestSupport.h"
#include "copier/CopyEngine.h"
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace copytest {

struct Shown {
    std::wstring text, title;
    unsigned style = 0;
};

class FakeHost : public salva::CopyHost {
public:
    void SetLabel(salva::CopyLabel l, const std::wstring& t) override { labels[l] = t; }
    void EnableControl(salva::CopyControl c, bool on) override { enabled[c] = on; }
    void SetPauseCaption(const std::wstring& c) override { pauseCaption = c; }
    void ClearProgress() override { ++clears; }
    void DrawProgress(double f, const std::wstring& text) override {
        lastFraction = f;
        lastPercent = text;
    }
    void EnableTimer(bool on) override { timer = on; }
    int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned style) override {
        shown.push_back({text, title, style});
        if (answers.empty()) return style == 48 || style == 16 ? IDOK : IDNO;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void PumpMessages() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    void AppendLog(const std::wstring& entry) override { log.push_back(entry); }

    std::wstring Label(salva::CopyLabel l) const {
        auto it = labels.find(l);
        return it == labels.end() ? std::wstring() : it->second;
    }
    bool Enabled(salva::CopyControl c) const {
        auto it = enabled.find(c);
        return it != enabled.end() && it->second;
    }
    std::wstring Titles() const {
        std::wstring all;
        for (auto& s : shown) all += s.title + L"|";
        return all;
    }

    std::map<salva::CopyLabel, std::wstring> labels;
    std::map<salva::CopyControl, bool> enabled;
    std::wstring pauseCaption;
    int clears = 0;
    double lastFraction = -1;
    std::wstring lastPercent;
    bool timer = false;
    std::vector<Shown> shown;
    std::deque<int> answers;
    int pumps = 0;
    std::function<void(int)> onPump;
    std::vector<std::wstring> log;
};

// The real file services, with drive facts and the clock under the test's control.
class FakeEnv : public salva::Win32CopyEnvironment {
public:
    unsigned DriveType(const std::wstring& p) override { return driveType ? *driveType : Win32CopyEnvironment::DriveType(p); }
    bool DriveIsReady(const std::wstring& p) override { return ready ? *ready : Win32CopyEnvironment::DriveIsReady(p); }
    int64_t FreeBytes(const std::wstring& p) override { return freeBytes ? *freeBytes : Win32CopyEnvironment::FreeBytes(p); }
    int OSPlatformCode() override { return platform ? *platform : Win32CopyEnvironment::OSPlatformCode(); }
    int64_t NowMs() override { return nowMs; }
    bool NameKept(const std::wstring& p) override { return nameKept ? *nameKept : Win32CopyEnvironment::NameKept(p); }

    std::optional<unsigned> driveType;
    std::optional<bool> nameKept;  // a file system that renames files behind the copy's back
    std::optional<bool> ready;
    std::optional<int64_t> freeBytes;
    std::optional<int> platform;
    int64_t nowMs = 1000000;
};

// Prompts answered from lists; records written and read as the library lays them out.
class FakePrompts : public salva::CopyPrompts {
public:
    long ReadResumeRecord(const std::wstring& target, int32_t* continueAt, int16_t* totalTime) override;
    bool WriteResumeRecord(const std::wstring& target, const salva::ResumeValues& v) override;
    long AskOverwriteOrContinue(const std::wstring& s, const std::wstring& t) override {
        asked.push_back(L"continue:" + s + L">" + t);
        return overwriteOrContinue;
    }
    long AskExistingTarget(const std::wstring& s, const std::wstring& t, std::wstring* newName) override {
        asked.push_back(L"existing:" + s + L">" + t);
        const long a = existingTargets.empty() ? existingTarget : existingTargets.front();
        if (!existingTargets.empty()) existingTargets.pop_front();
        if (a == 5) *newName = renameTo;
        return a;
    }
    long AskReplace(const std::wstring& s, const std::wstring& t) override {
        asked.push_back(L"replace:" + s + L">" + t);
        if (replace.empty()) return -1;
        const long a = replace.front();
        replace.pop_front();
        return a;
    }
    long overwriteOrContinue = -1;
    long existingTarget = -1;
    std::deque<long> existingTargets;  // answers in turn before `existingTarget`
    std::deque<long> replace;  // answers of the replace confirmation, in turn; -1 once used up
    std::wstring renameTo;
    std::vector<std::wstring> asked;
    std::vector<salva::ResumeValues> written;
    bool recordFails = false;  // the record reaches no file
};

// One failing range of the source, 0-based and inclusive.
struct BadRange {
    int64_t first, last;
    DWORD error;
};

class FaultyReader : public salva::BlockReader {
public:
    DWORD QueryLength(const std::wstring& p, int64_t* n) override {
        return lengthError ? lengthError : real.QueryLength(p, n);
    }
    DWORD Open(const std::wstring& p) override { return openError ? openError : real.Open(p); }
    DWORD ReadAt(int64_t offset, uint8_t* buffer, uint32_t size, uint32_t* got) override {
        reads.push_back({offset, size});
        for (const auto& b : bad)
            if (offset <= b.last && offset + size - 1 >= b.first) {
                *got = 0;
                return b.error;
            }
        return real.ReadAt(offset, buffer, size, got);
    }
    void Close() override { real.Close(); }

    salva::Win32BlockReader real;
    std::vector<BadRange> bad;
    DWORD lengthError = 0, openError = 0;
    std::vector<std::pair<int64_t, uint32_t>> reads;  // offset, size
};

class FaultyWriter : public salva::BlockWriter {
public:
    DWORD Open(const std::wstring& p) override { return openError ? openError : real.Open(p); }
    DWORD WriteAt(int64_t offset, const uint8_t* b, uint32_t size) override {
        writes.push_back({offset, size});
        if (writeError && offset >= failFrom && failCount != 0) {
            if (failCount > 0) --failCount;
            return writeError;
        }
        return real.WriteAt(offset, b, size);
    }
    DWORD SetLength(int64_t n) override { return real.SetLength(n); }
    void Close() override { real.Close(); }

    salva::Win32BlockWriter real;
    DWORD openError = 0, writeError = 0;
    int64_t failFrom = 0;
    int failCount = -1;  // -1: every write from failFrom on
    std::vector<std::pair<int64_t, uint32_t>> writes;
};

// The engine with all its fakes, working in a fresh temporary folder.
struct Rig {
    FakeHost host;
    FakeEnv env;
    FakePrompts prompts;
    FaultyReader reader;
    FaultyWriter writer;
    salva::CopyEngine engine{host, env, prompts, reader, writer};
    testsupport::TempDir dir;
    std::wstring src = dir / L"source.dat";
    std::wstring dst = dir / L"target.dat";

    std::vector<uint8_t> MakeSource(size_t n, uint32_t seed = 7) {
        auto bytes = testsupport::Pattern(n, seed);
        EXPECT_TRUE(testsupport::WriteBytes(src, bytes));
        return bytes;
    }
    bool Logged(const std::wstring& entry) const {
        for (auto& l : host.log)
            if (l == entry) return true;
        return false;
    }
    std::string LogText() const {
        std::wstring all;
        for (auto& l : host.log) all += l + L"\n";
        return testsupport::Narrow(all);
    }
};

// Index of the first byte where `a` and `b` differ within [from, to), or -1.
int64_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from, size_t to);

}  // namespace copytest
