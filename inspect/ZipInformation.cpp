#include "inspect/ZipInformation.h"
#include "inspect/FileByteSource.h"
#include "services/FileSystem.h"
#include "services/Text.h"
#include "services/TickClock.h"
#include "services/mDoEvents.h"
#include <commctrl.h>
#include <cstdio>

using namespace salva;

const wchar_t* const ZipInformation::kColumns[6] = {L"名称",     L"文件大小[字节]", L"更改时间",
                                                    L"压缩比率", L"压缩大小[字节]", L"CRC"};

namespace {

// Names without the UTF-8 flag are in the Chinese ANSI code page.
const UINT kNameCodePage = 936;

std::wstring TwoDigits(unsigned v) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"%02u", v);
    return buf;
}

int AddRow(HWND list, const std::wstring& text, LPARAM kind) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = kind;
    return static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

namespace zip_text {

std::wstring DosDateText(uint16_t d) {
    return std::to_wstring(d / 512 + 1980) + L"-" + TwoDigits((d / 32) % 16) + L"-" + TwoDigits(d % 32);
}

std::wstring DosTimeText(uint16_t t) {
    return TwoDigits(t / 2048) + L":" + TwoDigits((t / 32) % 64) + L":" + TwoDigits((t % 32) * 2);
}

std::wstring CrcText(uint32_t crc) {
    // Each byte in two digits: a byte's leading zero dropped would make another number. No
    // line break: the cell shows one line.
    wchar_t buf[16];
    std::swprintf(buf, 16, L"%08X", static_cast<unsigned>(crc));
    return buf;
}

std::wstring UnlistedText(uint64_t count) {
    return L"……另有 " + filesystem_text::GroupedNumber(count) + L" 个条目未列出";
}

std::wstring RatioText(uint64_t compressed, uint64_t uncompressed) {
    if (uncompressed == 0) return {};
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%.2f%%", (1.0 - static_cast<double>(compressed) / uncompressed) * 100.0);
    return buf;
}

std::wstring EntryName(const readers::ZipEntry& e) {
    return FromCodePage(e.NameIsUtf8() ? CP_UTF8 : kNameCodePage, e.name.data(), e.name.size());
}

}  // namespace zip_text

void ZipInformation::ReadZip(const std::wstring& path, HWND listView) {
    FileByteSource archive(path);
    if (!archive.IsOpen()) return;
    // The list is drawn once at the end, not after every row the pumps would paint.
    ::SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
    // Input is looked for every few milliseconds, not after every entry: the look costs more
    // than an entry past the listed rows.
    const int64_t lookEvery = 10 * TickClock::PerMs();
    int64_t lastLook = TickClock::Now();
    readers::WalkZipLocalHeaders(archive, [&](const readers::ZipEntry& entry) {
        AddZipEntry(entry, listView);
        const int64_t now = TickClock::Now();
        if (now - lastLook < lookEvery) return true;
        lastLook = now;
        mDoEvents::PumpWhenDue();
        // A close (of the window, or of the program) handled in the pump ends the walk.
        return ::IsWindow(listView) != FALSE;
    });
    ::SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(listView, nullptr, TRUE);
}

void ZipInformation::AddZipEntry(const readers::ZipEntry& e, HWND list) {
    totals_.Add(e);
    // Every entry is counted; rows stop at the most listed, so memory stays bounded.
    if (listed_ >= kMostListedEntries) {
        ++unlisted_;
        return;
    }
    ++listed_;
    const std::wstring when = zip_text::DosDateText(e.dosDate) + L" " + zip_text::DosTimeText(e.dosTime);
    const std::wstring name = zip_text::EntryName(e);
    if (e.IsFolder()) {
        const int row = AddRow(list, L"[" + TwoDigits(totals_.folders) + L"][文件夹]" + name, FolderRow);
        SetCell(list, row, 2, when);
        return;
    }
    const int row = AddRow(list, L"[" + TwoDigits(totals_.files) + L"]" + name, FileRow);
    SetCell(list, row, 1, filesystem_text::GroupedNumber(e.uncompressedSize));
    SetCell(list, row, 2, when);
    SetCell(list, row, 3, zip_text::RatioText(e.compressedSize, e.uncompressedSize));
    SetCell(list, row, 4, filesystem_text::GroupedNumber(e.compressedSize));
    SetCell(list, row, 5, zip_text::CrcText(e.crc));
}

void ZipInformation::GetFileQuantity_Size(HWND list) {
    if (unlisted_) AddRow(list, zip_text::UnlistedText(unlisted_), SummaryRow);
    AddRow(list, L"", SummaryRow);
    AddRow(list, L"文件夹数：" + std::to_wstring(totals_.folders) + L" 个", SummaryRow);
    AddRow(list, L"文 件 数：" + std::to_wstring(totals_.files) + L" 个", SummaryRow);
    const std::wstring total = totals_.sizesOverflow
                                   ? L"总计大小：条目所记的大小之和超过 16 EB，不可信"
                                   : L"总计大小：" + filesystem_text::GroupedNumber(totals_.totalSize / 1024) + L" KB";
    AddRow(list, total, SummaryRow);
}
