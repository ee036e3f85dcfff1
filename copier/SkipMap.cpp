#include "copier/SkipMap.h"
#include "services/Text.h"
#include <algorithm>

namespace salva {

namespace {

// The keys are ASCII, so that a map saved in any ANSI code page still reads.
const wchar_t kHeader[] = L"Salvadisk skip map 1";
const wchar_t kTargetKey[] = L"target=";
const wchar_t kSourceKey[] = L"source=";
const wchar_t kSourceLengthKey[] = L"source-length=";
const wchar_t kTargetLengthKey[] = L"target-length=";
const wchar_t kCountKey[] = L"stretches=";
const wchar_t kEnd[] = L"end";
const wchar_t kCrlf[] = L"\r\n";
// More stretches than a record-sized target could ever hold are a damaged map.
constexpr size_t kMaxStretches = 1000000;

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

// A whole number of 1 to 18 digits, nothing else.
std::optional<int64_t> Number(const std::wstring& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    int64_t v = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        v = v * 10 + (c - L'0');
    }
    return v;
}

// The value after `key` when `line` starts with it.
std::optional<std::wstring> Value(const std::wstring& line, const wchar_t* key) {
    const std::wstring k(key);
    if (line.compare(0, k.size(), k) != 0) return std::nullopt;
    return line.substr(k.size());
}

std::optional<int64_t> NumberValue(const std::wstring& line, const wchar_t* key) {
    const auto v = Value(line, key);
    return v ? Number(*v) : std::nullopt;
}

}  // namespace

std::wstring SkipMapPath(const std::wstring& target) { return target + L".skipmap"; }

std::wstring EncodeSkipMap(const SkipMap& map) {
    std::wstring text = std::wstring(kHeader) + kCrlf;
    text += kTargetKey + map.targetName + kCrlf;
    text += kSourceKey + map.source + kCrlf;
    text += kSourceLengthKey + std::to_wstring(map.sourceLength) + kCrlf;
    text += kTargetLengthKey + std::to_wstring(map.targetLength) + kCrlf;
    text += kCountKey + std::to_wstring(map.stretches.size()) + kCrlf;
    for (const SkipStretch& s : map.stretches)
        text += std::to_wstring(s.first) + L" " + std::to_wstring(s.bytes) + kCrlf;
    return text + kEnd + kCrlf;
}

std::optional<SkipMap> DecodeSkipMap(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find(kCrlf, start);
        if (end == std::wstring::npos) return std::nullopt;  // every line ends in CRLF, the last too
        lines.push_back(text.substr(start, end - start));
        if (lines.size() > kMaxStretches + 7) return std::nullopt;
        start = end + 2;
    }
    if (lines.size() < 7 || lines[0] != kHeader || lines.back() != kEnd) return std::nullopt;
    SkipMap map;
    const auto target = Value(lines[1], kTargetKey);
    const auto source = Value(lines[2], kSourceKey);
    const auto sourceLength = NumberValue(lines[3], kSourceLengthKey);
    const auto targetLength = NumberValue(lines[4], kTargetLengthKey);
    const auto count = NumberValue(lines[5], kCountKey);
    if (!target || target->empty() || !source || source->empty() || !sourceLength || !targetLength || !count ||
        static_cast<size_t>(*count) != lines.size() - 7)
        return std::nullopt;
    map.targetName = *target;
    map.source = *source;
    map.sourceLength = *sourceLength;
    map.targetLength = *targetLength;
    int64_t after = 1;  // the first position the next stretch may start at
    for (size_t i = 6; i + 1 < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        const size_t space = line.find(L' ');
        if (space == std::wstring::npos) return std::nullopt;
        const auto first = Number(line.substr(0, space));
        const auto bytes = Number(line.substr(space + 1));
        if (!first || !bytes || *first < after || *first > map.sourceLength || *bytes > map.sourceLength)
            return std::nullopt;
        after = *first + *bytes;
        map.stretches.push_back({*first, *bytes});
    }
    return map;
}

std::optional<std::vector<SkipStretch>> EarlierStretches(const SkipMap& map, const std::wstring& target,
                                                         const std::wstring& source, int64_t sourceLength,
                                                         int64_t targetLength, int64_t continueAt) {
    // The record stands 16 bytes past the length the map names, and the continue begins 16
    // bytes before it.
    if (UpperCase(map.targetName) != UpperCase(NameOf(target)) || UpperCase(map.source) != UpperCase(source) ||
        map.sourceLength != sourceLength || map.targetLength + 16 != targetLength ||
        continueAt != std::max<int64_t>(1, map.targetLength - 16))
        return std::nullopt;
    for (const SkipStretch& s : map.stretches)
        if (s.first < 1 || s.first + s.bytes > continueAt) return std::nullopt;
    return map.stretches;
}

std::vector<SkipStretch> StretchesBefore(const std::vector<SkipStretch>& stretches, int64_t continueAt) {
    std::vector<SkipStretch> kept;
    for (const SkipStretch& s : stretches)
        if (s.first < continueAt) kept.push_back({s.first, std::min(s.bytes, continueAt - s.first)});
    return kept;
}

}  // namespace salva
