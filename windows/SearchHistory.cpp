#include "SearchHistory.h"
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

}  // namespace salva::search_history
