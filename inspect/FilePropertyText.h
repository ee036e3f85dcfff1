// The texts and values the properties window shows and writes, built from plain values: the
// size line, the attribute boxes, the drive's space lines and summary, the tab captions.
#pragma once
#include <cstdint>
#include <string>

namespace salva::file_property {

// Attribute bits of the boxes on the General page.
constexpr uint32_t kReadOnlyBit = 0x01;
constexpr uint32_t kHiddenBit = 0x02;
constexpr uint32_t kSystemBit = 0x04;
constexpr uint32_t kArchiveBit = 0x20;

// "1,024,000字节" up to 1,024,000 bytes, "1,000KB [1,024,001字节]" above (KB to the nearest).
std::wstring FileLengthText(uint64_t length);

struct AttributeBoxes {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool archive = false;
};
// The boxes ticked by an attribute value, bit by bit; -1 (unreadable) ticks none.
AttributeBoxes BoxesFromAttributes(int32_t attributes);
// The value Apply writes: the three changeable boxes over what the file has now, every bit
// without a changeable box kept. Only the bits SetFileAttributes accepts are passed on.
uint32_t AppliedAttributes(uint32_t current, bool readOnly, bool hidden, bool archive);
// The box text when Apply could not read or write the attributes of `path`: the file, the
// system's reason `reason` (may be empty) and its code `error`.
std::wstring AttributesNotSetText(const std::wstring& path, uint32_t error, const std::wstring& reason);

// A byte count as "1,234 字节".
std::wstring ByteCountText(double bytes);
// The count in the largest unit it reaches, with the thresholds 1,024,000 and 1,024,000,000:
// "0.98 GB", "1.00 KB", "1,023 字节".
std::wstring ScaledSizeText(double bytes);
// part / total as a percentage with the regional number of decimals ("45.67%").
std::wstring PercentText(double part, double total);
// Text shown for a percentage or a count the drive did not give.
extern const wchar_t kInvalidValue[];
extern const wchar_t kUnknownValue[];
// Space figures usable for percentages and the pie.
bool SpaceValuesUsable(double used, double total);

// "Drive:C  SN:1A2B  p(A/T):40.00%  p(U/T):60.00%"; the percentages read as invalid when the
// space figures are not usable.
std::wstring DriveSummaryLine(wchar_t letter, const std::wstring& serial, double available, double used,
                              double total);
// "本地磁盘(C:)属性"
std::wstring DriveTabCaption(const std::wstring& driveTypeText, const std::wstring& root);
// The drive root for a file: its first letter and ":\"; a path not starting with a letter
// (a network path) gives "C:\". The letter keeps its case.
std::wstring DriveRootOf(const std::wstring& path);

// A number with `decimals` places and the regional grouping and separators.
std::wstring RegionalNumber(double value, int decimals);

}  // namespace salva::file_property
