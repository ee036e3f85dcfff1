#include "copier/FileNameRules.h"
#include <algorithm>
#include <vector>

namespace salva {

const wchar_t kNameTooLongDescription[] = L"文件名或路径太长，文件系统无法使用这个名字";

namespace {

// Win32 error codes, as the system numbers them.
constexpr uint32_t kFileNotFound = 2, kPathNotFound = 3, kInvalidName = 123, kBadPathname = 161,
                   kFilenameExcedRange = 206;

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool IsSep(wchar_t c) { return c == L'\\' || c == L'/'; }

// The file and folder names after the root ("C:", "\\server\share"), in order.
std::vector<std::wstring> NamesOf(const std::wstring& path, bool* exactForm) {
    size_t from = 0;
    *exactForm = path.compare(0, 4, L"\\\\?\\") == 0;
    if (*exactForm) {
        from = 4;
        if (path.compare(4, 4, L"UNC\\") == 0) from = 8;
    } else if (path.size() >= 2 && IsSep(path[0]) && IsSep(path[1])) {
        from = 2;
    }
    std::vector<std::wstring> names;
    size_t start = from;
    for (size_t i = from; i <= path.size(); ++i) {
        if (i < path.size() && !IsSep(path[i])) continue;
        if (i > start) names.push_back(path.substr(start, i - start));
        start = i + 1;
    }
    // The root is no name of a file or folder: the drive, or the server and the share.
    const bool unc = !*exactForm ? from == 2 : path.compare(4, 4, L"UNC\\") == 0;
    size_t root = 0;
    if (unc)
        root = 2;
    else if (!names.empty() && names[0].size() == 2 && names[0][1] == L':')
        root = 1;
    names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(std::min(root, names.size())));
    return names;
}

}  // namespace

bool EndsInDotOrSpace(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    return name.back() == L'.' || name.back() == L' ';
}

bool IsDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    while (!base.empty() && base.front() == L' ') base.erase(0, 1);
    for (wchar_t& c : base) c = AsciiUpper(c);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CLOCK$", L"CONIN$", L"CONOUT$"})
        if (base == device) return true;
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0)) return false;
    // The superscript digits one to three count as well.
    const wchar_t n = base[3];
    return (n >= L'1' && n <= L'9') || n == L'\u00B9' || n == L'\u00B2' || n == L'\u00B3';
}

NameProblem NameProblemOf(const std::wstring& path) {
    if (path.size() > kMaxPathChars) return NameProblem::PathTooLong;
    bool exactForm = false;
    const std::vector<std::wstring> names = NamesOf(path, &exactForm);
    for (const std::wstring& name : names)
        if (name.size() > kMaxNameChars) return NameProblem::NameTooLong;
    if (exactForm || names.empty()) return NameProblem::None;
    if (IsDeviceName(names.back())) return NameProblem::DeviceName;
    for (const std::wstring& name : names)
        if (EndsInDotOrSpace(name)) return NameProblem::TrailingDotOrSpace;
    return NameProblem::None;
}

bool NameTooLongError(uint32_t win32, const std::wstring& path) {
    if (win32 == kFilenameExcedRange) return true;
    if (win32 != kFileNotFound && win32 != kPathNotFound && win32 != kInvalidName && win32 != kBadPathname)
        return false;
    const NameProblem p = NameProblemOf(path);
    return p == NameProblem::NameTooLong || p == NameProblem::PathTooLong;
}

std::wstring NameProblemText(NameProblem problem, const std::wstring& path) {
    const std::wstring named = L"“" + path + L"”";
    switch (problem) {
    case NameProblem::PathTooLong:
        return named + L"的路径太长（超过 32,767 个字符），文件系统无法使用。";
    case NameProblem::NameTooLong:
        return named + L"中有超过 255 个字符的文件名或文件夹名，名字太长，文件系统无法使用。";
    case NameProblem::DeviceName:
        return named + L"的文件名是系统的设备名（如 CON、PRN、AUX、NUL、COM1、LPT1），不能当作文件打开或创建。";
    case NameProblem::TrailingDotOrSpace:
        return named + L"的名字以点或空格结尾，系统打开它时会去掉结尾的点和空格，打开的将是另一个文件。";
    case NameProblem::None:
        break;
    }
    return {};
}

std::wstring NameNotKeptText(const std::wstring& path) {
    return L"文件系统没有按原样保存文件名“" + path + L"”（名字可能太长而被截短），为免写到另一个文件上，文件没有复制。";
}

std::wstring SourceNameNotKeptText(const std::wstring& path) {
    return L"文件系统没有按原样保存文件名“" + path + L"”（名字可能太长而被截短），打开这个名字得到的是另一个文件，文件没有复制。";
}

std::wstring NameTooLongErrorText(const std::wstring& path) {
    return L"无法创建“" + path + L"”：" + kNameTooLongDescription + L"。";
}

}  // namespace salva
