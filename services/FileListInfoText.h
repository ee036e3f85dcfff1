// The texts of the file-list information panel, built from values: the current file's size,
// type and attributes line, its times line, and the totals line of the whole list.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace salva::file_list_info {

// Names whose upper-cased last three characters are ICO, CUR, BMP, DIB, JPG, GIF, WMF or EMF:
// the panel shows the file's own picture for them.
bool IsPictureFileName(const std::wstring& path);

// "  大小：1,500KB [1,536,000字节]  类型：...  属性：..."
std::wstring SizeTypeAttributesText(uint64_t size, const std::wstring& typeName, const std::wstring& attributes);
// "  修改时间：...  访问时间：..."
std::wstring TimesText(const std::wstring& modified, const std::wstring& accessed);
// "文件总数:3个  总计大小:12MB [13,107,200字节]"
std::wstring TotalsText(size_t count, uint64_t totalBytes);
// "文件总数:2/3个  总计大小:12MB [13,107,200字节]": the current file's place among them.
std::wstring TotalsText(size_t position, size_t count, uint64_t totalBytes);

}  // namespace salva::file_list_info
