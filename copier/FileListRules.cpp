#include "copier/FileListRules.h"
#include "services/FileSystem.h"
#include "services/Text.h"
#include <unordered_set>

namespace salva {

PropertyView PropertyViewFor(const std::wstring& path, const std::wstring& osVersionName) {
    const std::wstring ext = UpperTail(path, 3);
    if (ext == L"ZIP" || ext == L"SWF" || ext == L"EXE" || ext == L"DLL") return PropertyView::Own;
    if (ext == L"MP3") return osVersionName == L"Microsoft Windows XP" ? PropertyView::Shell : PropertyView::Own;
    return PropertyView::Shell;
}

bool ReadsAheadForPreview(const std::wstring& path, int64_t length, int32_t driveType) {
    if (Trim(path).compare(0, 2, L"\\\\") == 0) return false;
    const std::wstring ext = UpperTail(path, 3);
    const bool media = ext == L"DAT" || ext == L"VOB" || ext == L"AVI" || ext == L"ASF" || ext == L"ASX" ||
                       UpperTail(path, 4) == L"MPEG";
    if (!media || length < kReadAheadBytes) return false;
    return driveType == DRIVE_CDROM || driveType == DRIVE_FIXED;
}

bool FileListFull(OSPlatformCode platform, int64_t count) {
    if (platform == OSPlatformWin9x) return count > 32736;
    if (platform == OSPlatformNT) return count > 2147483615LL;
    return false;
}

namespace {

// Equal names, counted.
struct CountedEqual {
    size_t* count;
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        if (count) ++*count;
        return a == b;
    }
};

}  // namespace

DropPlan PlanDrop(const std::vector<std::wstring>& listed, const std::vector<std::wstring>& dropped,
                  size_t* comparisons) {
    if (comparisons) *comparisons = 0;
    DropPlan plan;
    using NameSet = std::unordered_set<std::wstring, std::hash<std::wstring>, CountedEqual>;
    NameSet names(dropped.size() * 2 + 1, std::hash<std::wstring>(), CountedEqual{comparisons});
    for (size_t i = 0; i < dropped.size(); ++i)
        if (names.insert(UpperCase(dropped[i])).second) plan.append.push_back(i);
    if (names.empty()) return plan;
    for (size_t j = 0; j < listed.size(); ++j)
        if (names.count(UpperCase(listed[j]))) plan.removed.push_back(j);
    return plan;
}

std::wstring DeleteQuestion(const std::wstring& path) {
    return L"真的要删除：" + path + L" 吗？\r\n\r\n是[Y]：永久删除文件\r\n否[N]：删除到回收站\r\n取 消：取消删除文件\r\n";
}

std::wstring TargetFollowing(const std::wstring& targetBox, const std::wstring& currentFile) {
    const FileSystem fs;
    std::wstring folder = fs.GetParentFolderName(targetBox);
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder + fs.GetFileName(currentFile);
}

}  // namespace salva
