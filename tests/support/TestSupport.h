// Helpers the tests share: temporary folders, file bytes, the build's folders, and a
// watcher that answers a modal window from another thread.
#pragma once
#include "services/Holders.h"
#include "TestTime.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// The folder that holds Salvadisk.exe and the two libraries.
std::wstring BinDir();

// A fresh folder under %TEMP%, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::wstring& path);
std::vector<uint8_t> Pattern(size_t size, uint32_t seed = 1);
int64_t FileLength(const std::wstring& path);

// An environment variable's UTF-8 value as text, "" when it is not set.
std::wstring EnvText(const char* name);
std::string Narrow(const std::wstring& s);  // UTF-8, for assertion messages
// The texts in UTF-8, each followed by "; " (for comparing lists in assertion messages).
std::string JoinTexts(const std::vector<std::wstring>& texts);
std::vector<std::wstring> SortedTexts(std::vector<std::wstring> texts);
std::wstring WindowText(HWND hwnd);

// The text of the one tool a tip window keeps for `owner`'s client area.
std::wstring TipText(HWND tip, HWND owner);
// The tool-tip windows of this thread whose tool is `control`.
std::vector<HWND> TipWindowsOf(HWND control);
// The texts of a window's controls, joined by "|" (for finding a message box's text).
std::wstring ChildTexts(HWND box);

// A visible top-level window of this process with the given caption (any, when null) and
// class (when given), as things stand now; null when there is none.
HWND FindShownWindow(const wchar_t* caption, const wchar_t* className = nullptr);
// Finds a visible top-level window of this process with the given caption (and class, when
// given), waiting up to `timeoutMs` (scaled by the suite's time factor, as every wait here).
HWND WaitForWindow(const wchar_t* caption, const wchar_t* className = nullptr, int timeoutMs = 10000);
// Finds a visible top-level window of this process with the given caption one of whose
// controls' texts holds `part`, waiting up to `timeoutMs`.
HWND WaitForBoxSaying(const wchar_t* caption, const std::wstring& part, int timeoutMs = 10000);
// Finds a visible top-level window of this process of the class owned by `owner`, waiting up
// to `timeoutMs`.
HWND WaitForOwnedWindow(HWND owner, const wchar_t* className = L"#32770", int timeoutMs = 10000);
// Finds a descendant control by its identifier.
HWND FindControl(HWND root, int id);
// A press and release of the left button at the middle of `control`, as the mouse makes it (a
// disabled window, or one under another, does not take it); the count of inputs sent.
UINT MouseClick(HWND control);
// Selects `folder` ("X:\\a\\b") in a folder picker's tree as a user would: expands the drive
// under the computer item, then each folder by name, and selects the last. The picker's own
// selection message fails silently now and then under Wine; this walk does not.
bool SelectFolderInPicker(HWND picker, const std::wstring& folder);

// A COM library of the build registered with its own DllRegisterServer for the object's life
// (COM initialised on this thread meanwhile); DllUnregisterServer when it goes.
class RegisteredServer {
public:
    explicit RegisteredServer(const wchar_t* dllName);
    ~RegisteredServer();
    RegisteredServer(const RegisteredServer&) = delete;
    RegisteredServer& operator=(const RegisteredServer&) = delete;
    HRESULT result() const { return result_; }  // of DllRegisterServer, or of loading the library
    HRESULT Unregister();

private:
    salva::co_init_scope com_;
    salva::unique_hmodule dll_;
    HRESULT result_ = E_FAIL;
    bool registered_ = false;
};

// A late-bound call by name, as a script caller makes it. A member's own error comes back as
// its code rather than as DISP_E_EXCEPTION.
HRESULT InvokeByName(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT argc, VARIANT* result);

// Runs `answer` on another thread once a window with `caption` shows up within `timeoutMs`;
// the test's own thread meanwhile sits in the modal call. Join() waits for it. A window that
// comes at the end of long work needs a watcher that lasts as long as that work may take:
// one that gives up first leaves the modal window unanswered and the test waiting in it.
class Watcher {
public:
    Watcher(const wchar_t* caption, std::function<void(HWND)> answer, const wchar_t* className = nullptr,
            int timeoutMs = 10000);
    // The window comes from `find` (null: none turned up).
    Watcher(std::function<HWND()> find, std::function<void(HWND)> answer);
    ~Watcher();
    void Join();
    bool found() const { return found_; }

private:
    std::thread thread_;
    std::atomic<bool> found_{false};
};

}  // namespace testsupport
