#include "LogFile.h"
#include "services/FileBytes.h"
#include "services/Holders.h"
#include "services/Text.h"
#include <algorithm>

namespace salva {
namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool HasBom(const std::string& bytes) { return bytes.compare(0, 3, kBom) == 0; }

// Opened for reading with the writers' sharing, so a log another program holds open for
// writing is still shown.
unique_hfile OpenForReading(const std::wstring& path) {
    return unique_hfile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::wstring LogViewText(const std::wstring& fileText) {
    if (fileText.empty()) return {};
    // Lines end at CRLF, CR or LF; a line end at the very end starts no further line.
    std::wstring out;
    out.reserve(fileText.size() + fileText.size() / 16 + 4);
    out = L"\r\n";
    bool lastEmpty = false;
    size_t start = 0;
    while (start < fileText.size()) {
        const size_t end = fileText.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            out.append(fileText, start, std::wstring::npos).append(L"\r\n");
            lastEmpty = false;
            break;
        }
        out.append(fileText, start, end - start).append(L"\r\n");
        lastEmpty = end == start;
        start = end + ((fileText[end] == L'\r' && end + 1 < fileText.size() && fileText[end + 1] == L'\n') ? 2 : 1);
    }
    if (lastEmpty) out.resize(out.size() - 2);
    return out;
}

bool AppendLogFile(const std::wstring& path, const std::wstring& text) {
    // Only the first bytes are read, for the mark: what the file already holds is never read
    // whole nor written again, whatever its size, encoding or state.
    unique_hfile f(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    const bool created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    auto fail = [&] {
        f.reset();
        if (created) ::DeleteFileW(path.c_str());
        return false;
    };
    LARGE_INTEGER size{};
    std::string head;
    if (!::GetFileSizeEx(f.get(), &size) || !ReadFileAt(f.get(), 0, 3, head)) return fail();
    // A new or empty file gets the mark; one without it keeps the ANSI code page it was
    // written in.
    const std::wstring block = text + L"\r\n";
    const std::string bytes =
        size.QuadPart == 0 ? EncodeTextFile(block) : ToCodePage(HasBom(head) ? CP_UTF8 : CP_ACP, block);
    if (!::SetFilePointerEx(f.get(), size, nullptr, FILE_BEGIN)) return fail();
    if (!WriteAllBytes(f.get(), bytes)) {
        // Cut a partly written block off again (a full disk).
        ::SetFilePointerEx(f.get(), size, nullptr, FILE_BEGIN);
        ::SetEndOfFile(f.get());
        return fail();
    }
    return true;
}

bool WriteLogFile(const std::wstring& path, const std::wstring& text) {
    return ReplaceWholeFile(path, EncodeTextFile(text + L"\r\n"));
}

std::wstring LogTailNotice(int64_t fileBytes, int64_t shownBytes) {
    auto mb = [](int64_t n) { return std::to_wstring(std::max<int64_t>(1, (n + (1 << 19)) >> 20)); };
    return L"（日志文件共约 " + mb(fileBytes) + L" MB，这里只显示最后约 " + mb(shownBytes) +
           L" MB 的记录，之前的部分没有显示。）";
}

std::wstring ReadLogFile(const std::wstring& path, int64_t viewBytes, const NoticeLayout& layNotice) {
    unique_hfile f = OpenForReading(path);
    LARGE_INTEGER size{};
    std::string head;
    if (!f || !::GetFileSizeEx(f.get(), &size) || !ReadFileAt(f.get(), 0, 3, head)) return {};
    const bool marked = HasBom(head);
    const int64_t start = marked ? 3 : 0;
    const int64_t from = std::max(start, size.QuadPart - viewBytes);
    std::string bytes;
    if (!ReadFileAt(f.get(), from, static_cast<size_t>(size.QuadPart - from), bytes)) return {};
    const uint32_t codePage = marked ? CP_UTF8 : CP_ACP;
    // A zero byte (a damaged or binary log) would end the view's text there; it is never part
    // of a character in these encodings.
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    if (from == start) return LogViewText(FromCodePage(codePage, bytes.data(), bytes.size()));
    // Shown from the first whole line on: a line feed byte is never part of a character in
    // UTF-8 nor in the ANSI code pages.
    const size_t lineFeed = bytes.find('\n');
    bytes.erase(0, lineFeed == std::string::npos ? bytes.size() : lineFeed + 1);
    const std::wstring view = LogViewText(FromCodePage(codePage, bytes.data(), bytes.size()));
    const std::wstring notice = LogTailNotice(size.QuadPart, static_cast<int64_t>(bytes.size()));
    return L"\r\n" + (layNotice ? layNotice(notice) : notice) + (view.empty() ? L"\r\n" : view);
}

}  // namespace salva
