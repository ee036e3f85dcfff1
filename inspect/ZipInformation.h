// ZipInformation: lists the entries of a ZIP archive into a report-view list, one row per
// entry in archive order, then the folder and file counts and the total size. One object per
// archive: ReadZip, then GetFileQuantity_Size.
#pragma once
#include "inspect/ZipLocalHeaders.h"
#include <windows.h>
#include <string>

class ZipInformation {
public:
    // Row kinds kept in each row's item data, for the list's owner to colour and tip them.
    enum RowKind : LPARAM { SummaryRow = 0, FileRow = 1, FolderRow = 2 };
    static constexpr COLORREF kFolderColour = RGB(0, 168, 168);

    // Rows listed at most; the entries after them are counted, not listed.
    static constexpr uint64_t kMostListedEntries = 10000;

    // Walks the archive's local headers and adds a row for each entry up to the most listed,
    // letting waiting window messages run as it goes. The walk ends early when the list goes.
    void ReadZip(const std::wstring& path, HWND listView);
    // Adds the row of the entries not listed (when there are any), then an empty row and the
    // rows of the folder count, the file count and the total size, which count every entry.
    void GetFileQuantity_Size(HWND listView);

    const salva::readers::ZipTotals& Totals() const { return totals_; }

    // The column titles the list is made with, in order.
    static const wchar_t* const kColumns[6];

private:
    void AddZipEntry(const salva::readers::ZipEntry& entry, HWND listView);

    salva::readers::ZipTotals totals_;
    uint64_t listed_ = 0;
    uint64_t unlisted_ = 0;
};

// Texts of one entry's columns.
namespace zip_text {
std::wstring DosDateText(uint16_t date);   // "2001-01-01"
std::wstring DosTimeText(uint16_t time);   // "13:34:16"
std::wstring CrcText(uint32_t crc);        // eight hexadecimal digits, two a byte: "0A0B0C0D"
std::wstring RatioText(uint64_t compressed, uint64_t uncompressed);  // "75.31%", "" for size 0
std::wstring UnlistedText(uint64_t count);  // the row that stands for entries not listed
std::wstring EntryName(const salva::readers::ZipEntry& entry);
}  // namespace zip_text
