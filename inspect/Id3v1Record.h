// The ID3v1 tag: the last 128 bytes of an MP3 file, "TAG" and a 125-byte record of fixed-width
// fields. Text stays in the file's bytes here; which bytes start a double-byte character is
// the caller's (its code page's) to say.
#pragma once
#include "inspect/ByteSource.h"
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace salva::readers {

constexpr size_t kId3v1TagSize = 128;
constexpr size_t kId3v1RecordSize = 125;
using Id3v1Record = std::array<uint8_t, kId3v1RecordSize>;

// A text field of the record: its offset after "TAG" and its width in bytes.
struct Id3v1Field {
    size_t offset;
    size_t width;
};
constexpr Id3v1Field kId3Title{0, 30};
constexpr Id3v1Field kId3Artist{30, 30};
constexpr Id3v1Field kId3Album{60, 30};
constexpr Id3v1Field kId3Year{90, 4};
constexpr Id3v1Field kId3Comment{94, 29};
constexpr size_t kId3TrackAt = 123;
constexpr size_t kId3GenreAt = 124;

// True for a byte that starts a double-byte character.
using LeadByteTest = bool (*)(uint8_t);

// True when the file's last 128 bytes start with "TAG" and the record after it was read in
// full into `record`; otherwise `record` is left as it was.
bool ReadId3v1(ByteSource& file, Id3v1Record& record);
// Overwrites the record of an existing tag, or appends "TAG" and the record (128 bytes) to a
// file without one. False when the file could not be measured, its tag could not be looked
// for, or the bytes did not all go out.
bool SaveId3v1(ByteStore& file, const Id3v1Record& record);

// The field's bytes without the filler at its ends: a unit is kept from the first to the last
// one that is a double-byte character or a byte 33 to 126.
std::string TrimTagBytes(const Id3v1Record& record, Id3v1Field field, LeadByteTest isLead);
// The field's bytes without blanks, NULs and bytes 255 at its ends; inside, nothing changes.
std::string TrimPadBytes(const Id3v1Record& record, Id3v1Field field, LeadByteTest isLead);
// Puts the encoded text left-aligned into the field, padded with blanks; a longer text is cut
// at the width, before a double-byte character that would not fit whole.
void FitField(Id3v1Record& record, Id3v1Field field, const std::string& encoded, LeadByteTest isLead);

constexpr size_t kGenreCount = 148;
// The genre name at an index, null past the list's end.
const char* GenreName(size_t index);

}  // namespace salva::readers
