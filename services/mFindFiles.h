// Folder walk over the system's find functions: the walk itself, which hands every entry to a
// visitor, and the add-folder walk that puts the matching files of a folder, and optionally of
// its subfolders, into the main window's file list.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>

namespace salva {
class MainWindow;
}

namespace salva::mFindFiles {

// What the walk does after the visitor has looked at an entry.
enum class EntryStep {
    Next,         // go on with the folder's next entry
    EnterFolder,  // walk this subfolder in full first, then go on
    EndFolder,    // stop listing this folder; the folder above goes on
};

class FolderVisitor {
public:
    // One entry of a listed folder, "." and ".." left out; `path` is the folder (ending in
    // "\") followed by the entry's name. The record is valid during the call only.
    virtual EntryStep Entry(const std::wstring& path, const WIN32_FIND_DATAW& entry) = 0;
    // After every entry, once waiting input has been let through.
    virtual void AfterEntry() {}

protected:
    ~FolderVisitor() = default;
};

// Lists `folder` (a "\" is added when it has none) and hands its entries to the visitor in
// the order the system lists them, the first one included. After each entry, waiting messages
// run when they are due (mDoEvents::PumpWhenDue). A subfolder the visitor asks to enter is walked
// before the next entry, unless it is a reparse point (link, junction, mount point), which is
// never entered. A folder that cannot be listed yields nothing; an exception thrown while one
// folder's entries are handled ends that folder only.
void WalkFolder(std::wstring folder, FolderVisitor& visitor);

// A found file's path and its length as the listing gives it.
using AddItem = std::function<void(const std::wstring& path, uint64_t size)>;

// Calls `add` with folder + name for every matching file, in the order the system lists them;
// a subfolder's files come at the place of the subfolder's entry when `recurse` is set.
void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, const AddItem& add);

// The same, appending each file to the main window's list, whose redrawing waits for the end.
void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, MainWindow& list);

// A file matches when the pattern trimmed of blanks is "*.*", or when the last three characters
// of its name and of the pattern agree without regard to case ("*.vob" takes VTS_01_1.VOB).
bool PatternMatches(const std::wstring& name, const std::wstring& pattern);

}  // namespace salva::mFindFiles
