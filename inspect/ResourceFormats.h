// Resource data as the browser shows it: string tables, message tables, accelerator tables and
// the hex dump of everything else, read from bytes copied out of a module. Every read is held
// inside the bytes given, whatever the counts and offsets in them claim.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace salva {

using ResourceBytes = std::vector<unsigned char>;
// Text in the system's ANSI code page: (bytes, count) -> wide text.
using AnsiDecoder = std::function<std::wstring(const char*, size_t)>;

// English description of a numbered resource type.
std::wstring GetResourceTypeDescription(uint32_t type);

// Every occurrence of `find` replaced, left to right; an inserted replacement is never searched
// again. An empty text or search text gives the text unchanged.
std::wstring ReplaceText(const std::wstring& text, const std::wstring& find, const std::wstring& with);

// Bare line feeds become CRLF, and CR CR LF collapses to CRLF.
std::wstring NormaliseLineBreaks(const std::wstring& text);

// Block `blockNumber` of a string table: one "id: text" CRLF line per non-empty string.
std::wstring StringTableText(const ResourceBytes& block, uint32_t blockNumber);

// Every entry of a message table, "id: text" as the entries hold it (no line end added).
std::wstring MessageTableText(const ResourceBytes& table, const AnsiDecoder& ansi);

// One line per 8-byte entry: modifiers, key name, " (cmdID = ", signed id, ")".
std::wstring AcceleratorText(const ResourceBytes& table);
std::wstring GetVirtualKeyName(int32_t code);

// The last `width` characters of `width` zeros followed by the text.
std::wstring PadWithZeros(const std::wstring& text, size_t width);

// Rows of 79 characters: offset, 16 hex pairs, printable characters. Larger resources are
// dumped up to the row limit only; nothing is allocated for the part left out.
constexpr size_t kHexDumpRowChars = 79;
constexpr size_t kHexDumpMaxBytes = 13264;  // 829 rows, the last dump below 65,535 characters
std::wstring HexDumpText(const unsigned char* data, size_t size,
                         const std::function<wchar_t(unsigned char)>& ansiChar);

// "040904B0" from the first four bytes of "\VarFileInfo\Translation"; empty when shorter.
std::wstring VersionTranslationKey(const unsigned char* data, size_t size);

}  // namespace salva
