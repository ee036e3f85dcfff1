// The rename popup's texts, built from values: the wrapped title, the facts lines (with the
// MP3 tag lines when the file has a tag), the proposed name, and the test of a typed name.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace salva::rename_text {

// The title cut into lines of 36 characters: the first, the second when longer than 36, and
// everything from character 73 on as a third; every line ends with CR LF.
std::wstring TitleLines(const std::wstring& title);

// "1,024,000字节" up to 1,024,000 bytes, above that whole kilobytes, rounded: "1,000KB".
std::wstring SizeText(uint64_t length);

// The ID3v1 tag fields as the tag reader gives them.
struct Mp3TagFacts {
    std::wstring title, artist, album, year, genre, track, comments;
};

struct FileFacts {
    uint64_t length = 0;
    std::wstring typeName;
    std::wstring created, modified, accessed;
    std::wstring attributes;
};

// Size, type, the three times and the attributes, CR LF between them, then the tag lines.
std::wstring FactsText(const FileFacts& facts, const std::optional<Mp3TagFacts>& tag);

// "N[01]" and the file's name with its extension.
std::wstring ProposedName(const std::wstring& fileName);

// A name the file can take in its folder: not empty, no "\", "/" or ":", none of the other
// characters a file name cannot hold, no control character, no device name (CON, NUL, COM1 ...,
// with or without an extension), not ending in a dot or a blank. Dots inside a name are
// ordinary characters ("clip..part1.vob").
bool IsAcceptableName(const std::wstring& name);

}  // namespace salva::rename_text
