#include "FileSearchRules.h"
#include "services/Text.h"
#include "services/mFindFiles.h"
#include <windows.h>

namespace salva::file_search {

const std::array<SizeRange, 3> kSizeRanges = {{
    {1024, 10240000},
    {10240000, 102400000},
    {102400000, 1024000000},
}};

uint32_t AttributeMask(const AttributeBoxes& b) {
    const unsigned key = (b.readOnly ? 1u : 0u) | (b.hidden ? 2u : 0u) | (b.system ? 4u : 0u) |
                         (b.archive ? 8u : 0u) | (b.compressed ? 16u : 0u);
    constexpr unsigned R = 1, H = 2, S = 4, A = 8, C = 16;
    switch (key) {
    case R: return 1;
    case H: return 2;
    case R | H: return 3;
    case S: return 4;
    case R | S: return 5;
    case H | S: return 6;
    case R | H | S: return 7;
    case A: return 32;
    case R | A: return 33;
    case H | A: return 34;
    case R | H | A: return 35;
    case R | H | A | S: return 39;
    case C: return 128;
    case H | S | C: return 2054;
    case R | H | S | C: return 2055;
    case H | A | S | C: return 2086;
    case R | H | A | S | C: return 2087;
    default: return 0;
    }
}

bool IsExactPattern(const std::wstring& pattern) { return pattern.find(L'*') == std::wstring::npos; }

bool AcceptsFile(const SearchCriteria& criteria, const std::wstring& name, uint64_t size, uint32_t attributes,
                 const SizeBoxes& sizeBoxes) {
    if (criteria.exactMatch) return UpperCase(name) == UpperCase(criteria.pattern);
    if (!mFindFiles::PatternMatches(name, criteria.pattern)) return false;
    for (size_t i = 0; i < sizeBoxes.size(); ++i) {
        if (!sizeBoxes[i]) continue;
        if (size < kSizeRanges[i].lowest || size > kSizeRanges[i].highest) return false;
        break;
    }
    return criteria.attributeMask == 0 || (attributes & criteria.attributeMask) != 0;
}

std::wstring ScopeFolder(const std::wstring& scope) {
    if (!scope.empty() && scope.back() == L'\\') return scope;
    return scope + L"\\";
}

std::wstring FoundText(int32_t count) { return L"找到 " + std::to_wstring(count) + L" 个文件"; }

}  // namespace salva::file_search
