// Folder pickers and the shell's copy and move, answered from another thread like a user would.
#include "services/FileSystem.h"
#include "TestSupport.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <thread>
#include <cstring>

using salva::FileSystem;
using testsupport::Narrow;
using testsupport::TempDir;

namespace {

std::vector<uint8_t> Bytes(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }
bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A visible dialog of this process other than `other`, waiting up to `timeoutMs` (scaled) or
// until `stop` is set; `what` names it when the wait gives up.
HWND WaitForDialog(HWND other, int timeoutMs, const std::atomic<bool>& stop, const char* what) {
    struct Query { HWND other; HWND found; } q{other, nullptr};
    testsupport::WaitUntil(what, timeoutMs, [&] {
        ::EnumWindows(
            [](HWND h, LPARAM p) CALLBACK -> BOOL {
                auto* q = reinterpret_cast<Query*>(p);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(h, &pid);
                wchar_t cls[32] = {};
                ::GetClassNameW(h, cls, 32);
                if (pid != ::GetCurrentProcessId() || h == q->other || !::IsWindowVisible(h) ||
                    lstrcmpW(cls, L"#32770") != 0)
                    return TRUE;
                q->found = h;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&q));
        return q.found || stop;
    }, 50);
    return q.found;
}

// Answers the folder picker with `folder` (or cancels it when empty), then gives any dialog
// that follows the command `followUp`. Runs beside the test's thread, which sits in the call.
// That call returns only once its windows are answered, so each watch lasts until its window
// shows or the call has returned (Join): a watch that gave up first would leave the test
// waiting in the picker for ever, and the first picker of a process can take longer than any
// fixed watch on a slow, busy machine.
class PickerAnswer {
public:
    explicit PickerAnswer(std::wstring folder, int followUp = 0)
        : thread_([this, folder, followUp] {
              while (!(picker_ = WaitForDialog(nullptr, 10000, returned_,
                                               "the folder picker (still waiting while its call runs)")) &&
                     !returned_) {
              }
              if (!picker_) return;
              if (folder.empty()) {
                  ::PostMessageW(picker_, WM_COMMAND, IDCANCEL, 0);
                  return;
              }
              // OK only once the tree shows the folder: a picker left on its default folder
              // would send the file outside the test's folder.
              if (!Select(picker_, folder)) {
                  ::PostMessageW(picker_, WM_COMMAND, IDCANCEL, 0);
                  return;
              }
              selected_ = true;
              ::PostMessageW(picker_, WM_COMMAND, IDOK, 0);
              if (followUp == 0) return;
              HWND next = nullptr;
              while (!(next = WaitForDialog(picker_, 5000, returned_,
                                            "the dialog after the folder picker (still waiting while the call runs)")) &&
                     !returned_) {
              }
              if (next) {
                  followUpCaption_ = testsupport::WindowText(next);
                  ::PostMessageW(next, WM_COMMAND, followUp, 0);
              }
          }) {}
    ~PickerAnswer() { Join(); }
    void Join() {
        returned_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool pickerShown() const { return picker_ != nullptr; }
    bool selected() const { return selected_; }
    const std::wstring& followUpCaption() const { return followUpCaption_; }

private:
    static bool Select(HWND picker, const std::wstring& folder) {
        return testsupport::SelectFolderInPicker(picker, folder);
    }

    HWND picker_ = nullptr;
    bool selected_ = false;
    std::wstring followUpCaption_;
    std::atomic<bool> returned_{false};
    std::thread thread_;
};

}  // namespace

// Each picker costs Wine about two seconds after it closes, so the cases share them: the
// new-style picker is answered through FileCopyTo below, the classic one here.
TEST(FileSystemShell, ClassicFolderPickerReturnsTheChosenFolder) {
    TempDir dir;
    FileSystem fs;
    PickerAnswer answer(dir.path());
    const std::wstring chosen = fs.GetBrowseDirectoryWin9X(nullptr, L"选择文件夹");
    answer.Join();
    ASSERT_TRUE(answer.pickerShown());
    EXPECT_TRUE(answer.selected());
    EXPECT_EQ(chosen, dir.path() + L"\\") << Narrow(chosen);
}

TEST(FileSystemShell, CopyAndMoveToAPickedFolder) {
    TempDir dir;
    FileSystem fs;
    const std::wstring source = dir / L"movie.dat";
    const std::wstring target = dir / L"target";
    ASSERT_TRUE(testsupport::WriteBytes(source, testsupport::Pattern(70000)));
    ASSERT_TRUE(::CreateDirectoryW(target.c_str(), nullptr));
    {
        PickerAnswer answer(target);
        EXPECT_TRUE(fs.FileCopyTo(nullptr, source));
        answer.Join();
        ASSERT_TRUE(answer.selected());
    }
    EXPECT_EQ(testsupport::ReadBytes(target + L"\\movie.dat"), testsupport::Pattern(70000));
    EXPECT_TRUE(Exists(source));

    const std::wstring moved = dir / L"moved";
    ASSERT_TRUE(::CreateDirectoryW(moved.c_str(), nullptr));
    {
        PickerAnswer answer(moved);
        EXPECT_TRUE(fs.FileMoveTo(nullptr, source));
        answer.Join();
        ASSERT_TRUE(answer.selected());
    }
    EXPECT_EQ(testsupport::ReadBytes(moved + L"\\movie.dat"), testsupport::Pattern(70000));
    EXPECT_FALSE(Exists(source));

    // Cancelling the picker copies nothing.
    {
        PickerAnswer answer(L"");
        EXPECT_FALSE(fs.FileCopyTo(nullptr, moved + L"\\movie.dat"));
        answer.Join();
        EXPECT_TRUE(answer.pickerShown());
    }
    // Without a usable source the picker is not even shown.
    EXPECT_FALSE(fs.FileCopyTo(nullptr, L"movie.dat"));
    EXPECT_FALSE(fs.FileMoveTo(nullptr, dir / L"*.dat"));
}

TEST(FileSystemShell, CopyIsFalseWhenTheShellIsAborted) {
    TempDir dir;
    FileSystem fs;
    const std::wstring target = dir / L"target";
    ASSERT_TRUE(::CreateDirectoryW(target.c_str(), nullptr));
    // Replacing an existing file, answered No: the operation is aborted.
    const std::wstring source = dir / L"a.dat";
    ASSERT_TRUE(testsupport::WriteBytes(source, Bytes("new content")));
    ASSERT_TRUE(testsupport::WriteBytes(target + L"\\a.dat", Bytes("old")));
    {
        PickerAnswer answer(target, IDNO);
        EXPECT_FALSE(fs.FileCopyTo(nullptr, source));
        answer.Join();
        ASSERT_TRUE(answer.selected());
        EXPECT_FALSE(answer.followUpCaption().empty()) << "no question about the existing file";
    }
    EXPECT_EQ(testsupport::ReadBytes(target + L"\\a.dat"), Bytes("old"));
}

namespace {

// Programs this process starts while `action` runs (its direct children that were not there
// before), by identifier and executable name; they are ended again when the object goes.
class StartedChildren {
public:
    explicit StartedChildren(const std::function<void()>& action, int waitMs) {
        const auto before = Children();
        action();
        testsupport::WaitUntil("a program started by the call", waitMs, [&] {
            for (const auto& child : Children())
                if (!before.count(child.first) && !started_.count(child.first)) started_.insert(child);
            return !started_.empty();
        }, 50);
    }
    ~StartedChildren() {
        for (const auto& child : started_) {
            salva::unique_handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child.first));
            if (!process) continue;
            ::TerminateProcess(process.get(), 0);
            ::WaitForSingleObject(process.get(), static_cast<DWORD>(testsupport::ScaledMs(5000)));
        }
    }
    StartedChildren(const StartedChildren&) = delete;
    StartedChildren& operator=(const StartedChildren&) = delete;
    std::string Names() const {
        std::string names;
        for (const auto& child : started_) names += Narrow(child.second) + " ";
        return names;
    }
    bool Started(const wchar_t* exe) const {
        for (const auto& child : started_)
            if (lstrcmpiW(child.second.c_str(), exe) == 0) return true;
        return false;
    }
    size_t count() const { return started_.size(); }

private:
    static std::map<DWORD, std::wstring> Children() {
        std::map<DWORD, std::wstring> children;
        salva::unique_hfile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return children;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
            if (entry.th32ParentProcessID == ::GetCurrentProcessId()) children[entry.th32ProcessID] = entry.szExeFile;
        return children;
    }
    std::map<DWORD, std::wstring> started_;
};

}  // namespace

TEST(FileSystemShell, OpenWithTheAssociatedProgramOrTheChooser) {
    TempDir dir;
    FileSystem fs;
    // Wine's prefix registers a program for .ini files (its notepad), not for .txt.
    const std::wstring text = dir / L"notes.ini";
    const std::wstring unknown = dir / L"rescued.zzq";
    ASSERT_TRUE(testsupport::WriteBytes(text, Bytes("notes")));
    ASSERT_TRUE(testsupport::WriteBytes(unknown, Bytes("data")));
    wchar_t program[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (FAILED(::AssocQueryStringW(0, ASSOCSTR_EXECUTABLE, L".ini", L"open", program, &length)))
        GTEST_SKIP() << "no program registered for .ini files";
    const std::wstring programName = std::wstring(program).substr(std::wstring(program).rfind(L'\\') + 1);
    {
        StartedChildren started([&] { fs.OpenFile(text, nullptr); }, 5000);
        EXPECT_TRUE(started.Started(programName.c_str())) << Narrow(programName) << " not in " << started.Names();
        EXPECT_FALSE(started.Started(L"rundll32.exe"));
    }
    {
        // No program is registered for the type: the system's open-with chooser comes instead.
        StartedChildren started([&] { fs.OpenFile(unknown, nullptr); }, 5000);
        EXPECT_TRUE(started.Started(L"rundll32.exe")) << started.Names();
    }
    {
        StartedChildren started([&] { fs.FileOpenStyle(text); }, 5000);
        EXPECT_TRUE(started.Started(L"rundll32.exe")) << started.Names();
    }
    {
        StartedChildren started([&] {
            fs.OpenFile(dir / L"missing.ini", nullptr);
            fs.FileOpenStyle(dir / L"missing.ini");
        }, 1000);
        EXPECT_EQ(started.count(), 0u) << started.Names();
    }
}
