// The handler of the shell's change notification message: the two item identifier lists
// become paths and one log line in the operation log window.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <optional>
#include <string>

namespace salva {
namespace mRecShellChangeNotifiDef {

// The part of `text` before its first NUL; all of it when it holds none.
std::wstring TrimAtNull(const std::wstring& text);
// The file-system path of an item identifier list; empty when it has none.
std::wstring GetPathFromIDList(LPCITEMIDLIST pidl);
std::wstring GetNotifyPath(LPCITEMIDLIST pidl);

// True when `wParam` points to readable memory holding two item identifier lists (each
// null or readable up to its terminator), as the shell sends them.
bool IsNotifyParameter(WPARAM wParam);

// The event text plus CRLF for a notification, or nothing when the parameter is not the
// shell's or the text repeats the previous logged one.
std::optional<std::wstring> NotifyText(WPARAM wParam, LPARAM lParam);
// Forgets the previous logged text.
void ResetLastNotifyText();

// Writes the notification's log line into the operation log window `hwnd`.
void OnShellNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);

}  // namespace mRecShellChangeNotifiDef
}  // namespace salva
