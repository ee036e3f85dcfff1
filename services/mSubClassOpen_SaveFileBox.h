// The program's open and save dialogs, owned by the main window (or by the modal window that
// holds it disabled): the source-file dialog with its hook (re-laid out, with the preview pane
// beside the file view), the target dialog, two plain dialogs that return one path, and the
// file-list information panel they refresh. Every dialog refuses, with a message, a typed name
// it would make a longer path of than it can build.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace salva::mSubClassOpen_SaveFileBox {

// Filters are description and pattern pairs, each part followed by a NUL, with one more NUL
// at the end (the text holds the NULs).

// Lets the user pick one or more files and appends each to the main window's file list, then
// refreshes the list information. Cancel changes nothing.
void AddFilesByOpenDialog(const std::wstring& title, const std::wstring& filter, bool withHook);
// Proposes the name part of the list's current text; the chosen path becomes the target box's
// text. Cancel changes nothing. Never asks before overwriting.
void AskSaveFileName(const std::wstring& title, const std::wstring& filter, bool withHook);
// The chosen path, or "" on cancel.
std::wstring AskOpenFileName(const std::wstring& title, const std::wstring& filter);
// The chosen path, or "" on cancel; asks before overwriting an existing file.
std::wstring AskSaveFileNamePlain(const std::wstring& title, const std::wstring& filter);

// True when the path, trimmed of blanks and without one trailing "\", opens for reading
// (a folder does not).
bool CanOpenFile(const std::wstring& path);

// Explorer-style hook of the source-file dialog: `window` is the hook's child dialog, its
// parent the dialog itself. Always 0, so the dialog goes on with its own handling.
UINT_PTR CALLBACK OpenSaveDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The path a CDM_GET... message answers, asked with a buffer of `size` characters; "" when the
// answer is empty or does not fit the buffer.
std::wstring GetDialogFilePath(HWND dialog, UINT message, uint32_t size);
// Makes `parent` the child's parent, shows it and moves it there.
void EmbedPreviewPane(HWND child, HWND parent, int x, int y, int width, int height);

// Brings the main window's list information up to date: makes the first item current, shows
// its pictures, size, type, attributes and times, and the count and total size of all items.
// An empty list changes nothing.
void UpdateFileListInfo();
// The same for the list's current text, the item chosen in the list, which stays current; the
// totals line names its 1-based `position`. Nothing changes unless the current file exists.
void ShowCurrentItemInfo(int position);

}  // namespace salva::mSubClassOpen_SaveFileBox
