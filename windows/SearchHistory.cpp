#include "SearchHistory.h"
#include "services/FileBytes.h"
#include "services/Holders.h"
#include "services/Text.h"
#include <windows.h>
#include <algorithm>

namespace salva::search_history {

const wchar_t kSection[] = L"SECTION";

std::wstring Key(int index) { return L"TYPE" + std::to_wstring(index); }

std::vector<std::wstring> DistinctPatterns(const std::vector<std::wstring>& list) {
    std::vector<std::wstring> distinct;
    for (const std::wstring& pattern : list)
        if (std::find(distinct.begin(), distinct.end(), pattern) == distinct.end()) distinct.push_back(pattern);
    return distinct;
}

std::vector<std::pair<std::wstring, std::wstring>> Writes(const std::vector<std::wstring>& list) {
    const std::vector<std::wstring> distinct = DistinctPatterns(list);
    std::vector<std::pair<std::wstring, std::wstring>> writes;
    const int n = static_cast<int>(distinct.size());
    const int keys = n >= kMaxEntries - 1 ? kMaxEntries : n;
    for (int i = 0; i < keys; ++i)
        writes.emplace_back(Key(i), i < n ? distinct[static_cast<size_t>(i)] : std::wstring());
    return writes;
}

namespace {

const char kUtf16Mark[] = "\xFF\xFE";
// A history file is a few hundred bytes; a larger one is not the program's and is left alone.
constexpr DWORD kLargestHistoryFile = 1 << 16;

bool FitsAnsi(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL lost = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, &lost);
    return n > 0 && !lost;
}

}  // namespace

std::optional<std::string> UnicodeFileBytes(const std::string& existing, const std::vector<std::wstring>& patterns) {
    if (existing.empty()) return std::string(kUtf16Mark, 2);
    if (existing.compare(0, 2, kUtf16Mark) == 0 || existing.compare(0, 3, "\xEF\xBB\xBF") == 0) return std::nullopt;
    if (std::all_of(patterns.begin(), patterns.end(), FitsAnsi)) return std::nullopt;
    const std::wstring text = FromCodePage(CP_ACP, existing.data(), existing.size());
    if (text.empty()) return std::nullopt;
    std::string bytes(kUtf16Mark, 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

bool PrepareHistoryFile(const std::wstring& file, const std::vector<std::wstring>& patterns) {
    std::string existing;
    {
        unique_hfile f(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f) {
            const DWORD size = ::GetFileSize(f.get(), nullptr);
            if (size == INVALID_FILE_SIZE || size > kLargestHistoryFile || !ReadFileAt(f.get(), 0, size, existing) ||
                existing.size() != size)
                return false;
        } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return false;
        }
    }
    const std::optional<std::string> bytes = UnicodeFileBytes(existing, patterns);
    // A failed write keeps the old history.
    return !bytes || ReplaceWholeFile(file, *bytes);
}

}  // namespace salva::search_history
