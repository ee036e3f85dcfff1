#include "mFindFiles.h"
#include "Holders.h"
#include "MainWindow.h"
#include "TrimAtNul.h"
#include "mDoEvents.h"
#include "Text.h"
#include "WaitCursor.h"
#include <exception>

namespace salva::mFindFiles {
namespace {

// The add-folder walk: matching files to `add`, subfolders entered when asked to.
class AddMatchingFiles : public FolderVisitor {
public:
    AddMatchingFiles(const std::wstring& pattern, bool recurse, const AddItem& add)
        : pattern_(pattern), recurse_(recurse), add_(add) {}

    EntryStep Entry(const std::wstring& path, const WIN32_FIND_DATAW& entry) override {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return recurse_ ? EntryStep::EnterFolder : EntryStep::Next;
        if (PatternMatches(TrimAtNul(entry.cFileName, MAX_PATH), pattern_))
            add_(path, (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
        return EntryStep::Next;
    }
    void AfterEntry() override { wait_cursor_scope::Show(IDC_APPSTARTING); }

private:
    const std::wstring& pattern_;
    bool recurse_;
    const AddItem& add_;
};

}  // namespace

void WalkFolder(std::wstring folder, FolderVisitor& visitor) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    WIN32_FIND_DATAW entry{};
    // Each level owns its search handle and record, so a walk into a subfolder cannot disturb
    // this one.
    unique_hfind search(::FindFirstFileW((folder + L"*.*").c_str(), &entry));
    if (!search) return;
    try {
        do {
            const std::wstring name = TrimAtNul(entry.cFileName, MAX_PATH);
            EntryStep step = EntryStep::Next;
            if (name != L"." && name != L"..") {
                const std::wstring path = folder + name;
                step = visitor.Entry(path, entry);
                if (step == EntryStep::EnterFolder && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    WalkFolder(path, visitor);
            }
            if (step == EntryStep::EndFolder) break;
            mDoEvents::PumpWhenDue();
            visitor.AfterEntry();
        } while (::FindNextFileW(search.get(), &entry));
    } catch (const std::exception&) {
        // A failure inside one folder ends the walk of that folder only.
    }
}

bool PatternMatches(const std::wstring& name, const std::wstring& pattern) {
    if (Trim(pattern) == L"*.*") return true;
    return UpperTail(name, 3) == UpperTail(pattern, 3);
}

void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, const AddItem& add) {
    wait_cursor_scope wait;
    AddMatchingFiles visitor(pattern, recurse, add);
    WalkFolder(folder, visitor);
}

void FindFiles(const std::wstring& folder, const std::wstring& pattern, bool recurse, MainWindow& list) {
    const file_list_batch_scope batch(list);
    FindFiles(folder, pattern, recurse,
              [&list](const std::wstring& path, uint64_t size) { list.AddFileListItem(path, size); });
}

}  // namespace salva::mFindFiles
