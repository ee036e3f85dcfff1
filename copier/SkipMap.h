// The skip map: the stretches of the source a copy left out, kept in a small text file beside a
// partly copied target whenever its resume record is written. The record's 17 bytes have no
// room for them, and without them a copy continued from the record could not tell the user
// what an earlier session jumped over. Plain text over values: no system calls here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace salva {

// `bytes` source bytes from the 1-based `first` never reached the target (0 for a skip whose
// stretch the block before it had already written).
struct SkipStretch {
    int64_t first = 0;
    int64_t bytes = 0;
};

struct SkipMap {
    std::wstring targetName;  // the file name the map was written for
    std::wstring source;      // the source's full path
    int64_t sourceLength = 0;
    int64_t targetLength = 0;  // the target's length before its record was added
    std::vector<SkipStretch> stretches;
};

// The name of the map beside `target`.
std::wstring SkipMapPath(const std::wstring& target);

// The map's text (the caller stores it as UTF-8 with a byte-order mark), and the map read back
// from text: nothing for any text that is not exactly what EncodeSkipMap writes (a cut file, a
// number out of range, stretches out of order or overlapping).
std::wstring EncodeSkipMap(const SkipMap& map);
std::optional<SkipMap> DecodeSkipMap(const std::wstring& text);

// What the continue may take from `map` for a copy of `source` (`sourceLength` bytes) into
// `target`, now `targetLength` bytes long, going on from the 1-based `continueAt`: the
// stretches before `continueAt`, or nothing when the map does not belong to this target as it
// now is (another name, another source, another length, stretches outside what the target
// held when its record was written).
std::optional<std::vector<SkipStretch>> EarlierStretches(const SkipMap& map, const std::wstring& target,
                                                         const std::wstring& source, int64_t sourceLength,
                                                         int64_t targetLength, int64_t continueAt);

// The stretches that a continue from 1-based `continueAt` will not read again: those before it,
// the one reaching it cut there.
std::vector<SkipStretch> StretchesBefore(const std::vector<SkipStretch>& stretches, int64_t continueAt);

}  // namespace salva
