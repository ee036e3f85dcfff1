// The rules of the search window's pattern history, kept in a profile file: the keys it is
// read from and what is written back when the window closes.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace salva::search_history {

// The file's one section, and the key of entry `index` (0 to 9): "TYPE0" ... "TYPE9".
extern const wchar_t kSection[];
std::wstring Key(int index);
// At most this many patterns are read and stored.
constexpr int kMaxEntries = 10;

// Each pattern once, at the place of its first occurrence, compared exactly (case counts).
std::vector<std::wstring> DistinctPatterns(const std::vector<std::wstring>& list);

// The (key, value) pairs the close writes for the pattern list: its distinct patterns from
// TYPE0 on. With nine or more of them, TYPE0 to TYPE9 are all written, TYPE9 empty when there
// are exactly nine; with fewer, only their own keys. Nothing for an empty list.
std::vector<std::pair<std::wstring, std::wstring>> Writes(const std::vector<std::wstring>& list);

// The profile functions keep a file in the ANSI code page unless it starts with the UTF-16
// byte-order mark; such a file keeps every name. What the file must hold before the patterns
// are written: the mark alone for a new or empty file, the same text in UTF-16 for an ANSI
// file that some pattern cannot be written into; nothing when it can stay as it is.
std::optional<std::string> UnicodeFileBytes(const std::string& existing, const std::vector<std::wstring>& patterns);
// Puts UnicodeFileBytes in the file's place before the patterns are written; false when the
// file could not be read or replaced (it is then left as it was).
bool PrepareHistoryFile(const std::wstring& file, const std::vector<std::wstring>& patterns);

}  // namespace salva::search_history
