#include "services/FileListInfoText.h"
#include "services/FileSystem.h"
#include "services/Text.h"

namespace salva::file_list_info {

using filesystem_text::GroupedNumber;

bool IsPictureFileName(const std::wstring& path) {
    static const wchar_t* const kTypes[] = {L"ICO", L"CUR", L"BMP", L"DIB", L"JPG", L"GIF", L"WMF", L"EMF"};
    if (path.size() < 3) return false;
    const std::wstring tail = UpperTail(path, 3);
    for (const wchar_t* t : kTypes)
        if (tail == t) return true;
    return false;
}

std::wstring SizeTypeAttributesText(uint64_t size, const std::wstring& typeName, const std::wstring& attributes) {
    return L"  大小：" + GroupedNumber(size / 1024) + L"KB [" + GroupedNumber(size) + L"字节]  类型：" + typeName +
           L"  属性：" + attributes;
}

std::wstring TimesText(const std::wstring& modified, const std::wstring& accessed) {
    return L"  修改时间：" + modified + L"  访问时间：" + accessed;
}

namespace {
std::wstring Totals(const std::wstring& countText, uint64_t totalBytes) {
    return L"文件总数:" + countText + L"个  总计大小:" + GroupedNumber(totalBytes / 1024 / 1024) + L"MB [" +
           GroupedNumber(totalBytes) + L"字节]";
}
}  // namespace

std::wstring TotalsText(size_t count, uint64_t totalBytes) { return Totals(std::to_wstring(count), totalBytes); }

std::wstring TotalsText(size_t position, size_t count, uint64_t totalBytes) {
    return Totals(std::to_wstring(position) + L"/" + std::to_wstring(count), totalBytes);
}

}  // namespace salva::file_list_info
