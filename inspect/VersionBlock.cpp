#include "inspect/VersionBlock.h"

#include <algorithm>
#include <cwctype>

namespace salva {

namespace {

uint16_t Le16(const ResourceBytes& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

size_t Align4(size_t at) { return (at + 3) & ~static_cast<size_t>(3); }

bool SameKey(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}

}  // namespace

bool ReadVersionBlock(const ResourceBytes& resource, size_t at, size_t limit, VersionBlock* block) {
    limit = std::min(limit, resource.size());
    if (at > limit || limit - at < 6) return false;
    const size_t length = Le16(resource, at);
    const size_t valueLength = Le16(resource, at + 2);
    VersionBlock b;
    b.type = Le16(resource, at + 4);
    if (length < 6 || length > limit - at) return false;
    b.end = at + length;
    size_t p = at + 6;
    for (;; p += 2) {
        if (b.end - p < 2) return false;  // a key without its end
        const wchar_t c = static_cast<wchar_t>(Le16(resource, p));
        if (c == L'\0') break;
        b.key.push_back(c);
    }
    b.valueAt = std::min(Align4(p + 2), b.end);
    const size_t claimed = b.type == 1 ? valueLength * 2 : valueLength;
    b.valueBytes = std::min(claimed, b.end - b.valueAt);
    b.childrenAt = std::min(Align4(b.valueAt + claimed), b.end);
    *block = b;
    return true;
}

std::vector<VersionBlock> VersionChildren(const ResourceBytes& resource, const VersionBlock& parent) {
    std::vector<VersionBlock> children;
    for (size_t at = parent.childrenAt; at < parent.end;) {
        VersionBlock child;
        if (!ReadVersionBlock(resource, at, parent.end, &child)) break;
        children.push_back(child);
        at = Align4(child.end);
    }
    return children;
}

bool FindVersionBlock(const ResourceBytes& resource, const std::vector<std::wstring>& path, VersionBlock* found) {
    VersionBlock block;
    if (!ReadVersionBlock(resource, 0, resource.size(), &block) || block.key != L"VS_VERSION_INFO") return false;
    for (const std::wstring& key : path) {
        const std::vector<VersionBlock> children = VersionChildren(resource, block);
        const auto next = std::find_if(children.begin(), children.end(),
                                       [&](const VersionBlock& c) { return SameKey(c.key, key); });
        if (next == children.end()) return false;
        block = *next;
    }
    *found = block;
    return true;
}

std::wstring VersionInfoText(const ResourceBytes& resource) {
    VersionBlock translation;
    if (!FindVersionBlock(resource, {L"VarFileInfo", L"Translation"}, &translation)) return L"";
    const std::wstring key =
        VersionTranslationKey(resource.data() + translation.valueAt, translation.valueBytes);
    if (key.empty()) return L"";
    static const wchar_t* const names[] = {L"OriginalFilename", L"InternalName",   L"FileVersion",
                                           L"FileDescription",  L"ProductName",    L"ProductVersion",
                                           L"CompanyName",      L"LegalCopyright"};
    std::wstring out;
    for (const wchar_t* n : names) {
        VersionBlock value;
        if (!FindVersionBlock(resource, {L"StringFileInfo", key, n}, &value)) continue;
        std::wstring text;
        for (size_t at = value.valueAt; at + 2 <= value.valueAt + value.valueBytes; at += 2) {
            const wchar_t c = static_cast<wchar_t>(Le16(resource, at));
            if (c == L'\0') break;
            text.push_back(c);
        }
        if (!text.empty()) out += std::wstring(n) + L":\r\n\t" + text + L"\r\n";
    }
    // Leading and trailing blanks go, as the text box shows it.
    const size_t first = out.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    return out.substr(first, out.find_last_not_of(L' ') - first + 1);
}

}  // namespace salva
