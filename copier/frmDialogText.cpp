#include "copier/frmDialogText.h"
#include "copier/FileNameRules.h"
#include "services/FileSystem.h"
#include "services/Text.h"
#include <cwctype>

namespace salva::rename_text {

namespace {
const wchar_t kCrLf[] = L"\r\n";
constexpr size_t kTitleLine = 36;
}  // namespace

std::wstring TitleLines(const std::wstring& title) {
    std::wstring out = title.substr(0, kTitleLine) + kCrLf;
    if (title.size() > kTitleLine) out += title.substr(kTitleLine, kTitleLine) + kCrLf;
    if (title.size() > 2 * kTitleLine) out += title.substr(2 * kTitleLine) + kCrLf;
    return out;
}

std::wstring SizeText(uint64_t length) {
    if (length <= 1024000) return filesystem_text::GroupedNumber(length) + L"字节";
    return filesystem_text::GroupedNumber((length + 512) / 1024) + L"KB";
}

std::wstring FactsText(const FileFacts& f, const std::optional<Mp3TagFacts>& tag) {
    std::wstring s = L"文件大小：" + SizeText(f.length) + kCrLf;
    s += L"文件类型：" + f.typeName + kCrLf;
    s += L"创建时间：" + f.created + kCrLf;
    s += L"修改时间：" + f.modified + kCrLf;
    s += L"访问时间：" + f.accessed + kCrLf;
    s += L"文件属性：" + f.attributes;
    if (tag) {
        s += kCrLf + (L"曲名：" + tag->title);
        s += kCrLf + (L"艺人：" + tag->artist);
        s += kCrLf + (L"专集：" + tag->album);
        s += kCrLf + (L"年份：" + tag->year + L"  流派：" + tag->genre + L"  音轨序号：" + tag->track);
        s += kCrLf + (L"备注：" + tag->comments);
    }
    return s;
}

std::wstring ProposedName(const std::wstring& fileName) { return L"N[01]" + fileName; }

bool IsAcceptableName(const std::wstring& name) {
    if (name.empty()) return false;
    for (wchar_t c : name) {
        if (c < 32 || std::wcschr(L"\\/:*?\"<>|", c)) return false;
    }
    const wchar_t last = name.back();
    if (last == L'.' || std::iswspace(last)) return false;
    return !IsDeviceName(name);
}

}  // namespace salva::rename_text
