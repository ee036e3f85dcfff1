// The rules by which the file search accepts a file: the pattern, the size boxes and the
// attribute boxes, and the texts built from a search's values.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace salva::file_search {

// A size box's range in bytes, both ends included.
struct SizeRange {
    uint64_t lowest;
    uint64_t highest;
};
// The three size boxes in their order: "10M" is 10,240,000 bytes, "100M" 102,400,000 and
// "1G" 1,024,000,000, so a file of exactly 10M or 100M lies in two ranges.
extern const std::array<SizeRange, 3> kSizeRanges;

// Which boxes are checked, in the order of the window.
using SizeBoxes = std::array<bool, 3>;
struct AttributeBoxes {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
    bool compressed = false;
};

// The attribute value the boxes stand for. Only the listed combinations have one (sums of the
// system's attribute values, the compressed box alone giving the normal attribute); every other
// combination, no box included, gives 0.
uint32_t AttributeMask(const AttributeBoxes& boxes);

// A pattern without "*" names one file exactly ("?" is an ordinary character).
bool IsExactPattern(const std::wstring& pattern);

// What a search holds fixed from its start.
struct SearchCriteria {
    std::wstring pattern;
    bool exactMatch = false;
    uint32_t attributeMask = 0;
};

// Whether a file is accepted. An exact pattern is compared with the name without regard to case,
// with no size or attribute condition. Otherwise the name must match the pattern's last three
// characters (or the pattern be "*.*"), the first checked size box decides the size, and with a
// non-zero mask the file must carry at least one of the mask's attributes.
bool AcceptsFile(const SearchCriteria& criteria, const std::wstring& name, uint64_t size, uint32_t attributes,
                 const SizeBoxes& sizeBoxes);

// The folder a scope names, ending in "\" ("C:" -> "C:\").
std::wstring ScopeFolder(const std::wstring& scope);
// "找到 12 个文件".
std::wstring FoundText(int32_t count);

}  // namespace salva::file_search
