// The MP3 text of the preview window: the file's size, its ID3v1 tag when it has one and its
// first MPEG audio frame header, one fact a line, between dashed separators.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace salva {

struct Mp3PreviewFacts {
    uint64_t length = 0;
    bool hasTag = false;
    std::wstring title, artist, album, track, year, genre, comments;
    bool hasHeader = true;  // without one only the header's offset is shown
    std::wstring header;    // offset of the frame header
    // None when the header's playing time is out of range: that line is left out.
    std::optional<int32_t> seconds;
    std::wstring versionLayer;
    int32_t bitRate = 0;
    int64_t frames = 0;
    int32_t frequency = 0;
    std::wstring mode, crcs, copyrighted, original, emphasis;
};

// Every line ends in CR LF.
std::wstring Mp3PreviewText(const Mp3PreviewFacts& facts);

// The facts of an MP3 file of `length` bytes as the ID3v1 and MPEG header readers give them.
Mp3PreviewFacts ReadMp3PreviewFacts(const std::wstring& path, uint64_t length);

}  // namespace salva
