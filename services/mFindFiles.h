// Folder walk that adds the matching files of a folder, and optionally of its subfolders, to the
// main window's file list.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace salva::mFindFiles {

using AddItem = std::function<void(const std::wstring& path)>;

// Calls `add` with folder + name for every matching file, in the order the system lists them;
// a subfolder's files come at the place of the subfolder's entry when `recurse` is set. Folders
// that are reparse points (links, junctions, mount points) are not entered.
void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, const AddItem& add);

// The same, appending each path as a text-only item to an image combo (ComboBoxEx32).
void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, HWND imageCombo);

// A file matches when the pattern trimmed of blanks is "*.*", or when the last three characters
// of its name and of the pattern agree without regard to case ("*.vob" takes VTS_01_1.VOB).
bool PatternMatches(const std::wstring& name, const std::wstring& pattern);

}  // namespace salva::mFindFiles
