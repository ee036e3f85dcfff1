#include "LogFile.h"
#include "services/FileBytes.h"
#include "services/Holders.h"
#include "services/Text.h"
#include <algorithm>

namespace salva {
namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool HasBom(const std::string& bytes) { return bytes.compare(0, 3, kBom) == 0; }

// Checks bytes for UTF-8 as they come, piece by piece: shortest forms only, no surrogates,
// nothing above U+10FFFF.
class Utf8Check {
public:
    void Feed(const std::string& bytes) {
        for (const char ch : bytes) {
            if (!valid_) return;
            const auto b = static_cast<uint8_t>(ch);
            if (need_) {
                if (b < low_ || b > high_) {
                    valid_ = false;
                    return;
                }
                low_ = 0x80;
                high_ = 0xBF;
                --need_;
                continue;
            }
            if (b < 0x80) continue;
            wide_ = true;
            if (b >= 0xC2 && b <= 0xDF) {
                need_ = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                need_ = 2;
                if (b == 0xE0) low_ = 0xA0;
                if (b == 0xED) high_ = 0x9F;
            } else if (b >= 0xF0 && b <= 0xF4) {
                need_ = 3;
                if (b == 0xF0) low_ = 0x90;
                if (b == 0xF4) high_ = 0x8F;
            } else {
                valid_ = false;
            }
        }
    }
    bool Valid() const { return valid_ && need_ == 0; }
    bool Failed() const { return !valid_; }
    // Some byte was not ASCII.
    bool Wide() const { return wide_; }

private:
    int need_ = 0;
    uint8_t low_ = 0x80, high_ = 0xBF;
    bool valid_ = true;
    bool wide_ = false;
};

// The encoding of a log's text: the mark's UTF-8; without the mark, UTF-8 when the whole
// file is UTF-8 and not plain ASCII (another tool's log), else the ANSI code page (logs of
// earlier versions). Only a file without the mark is read through, piece by piece, up to its
// first byte that is no UTF-8. False when a read fails.
bool CodePageOf(HANDLE f, int64_t size, const std::string& head, uint32_t* codePage) {
    if (HasBom(head)) {
        *codePage = CP_UTF8;
        return true;
    }
    constexpr size_t kPiece = size_t{1} << 20;
    Utf8Check check;
    std::string piece;
    for (int64_t at = 0; at < size && !check.Failed(); at += static_cast<int64_t>(kPiece)) {
        if (!ReadFileAt(f, at, kPiece, piece)) return false;
        if (piece.empty()) break;
        check.Feed(piece);
    }
    *codePage = check.Valid() && check.Wide() ? CP_UTF8 : CP_ACP;
    return true;
}

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
    // What the file already holds is never written again, whatever its size, encoding or
    // state; it is read only to tell the encoding of a file without the mark.
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
    // A new or empty file gets the mark; one without it keeps the encoding it was written in.
    const std::wstring block = text + L"\r\n";
    uint32_t codePage = CP_UTF8;
    if (size.QuadPart != 0 && !CodePageOf(f.get(), size.QuadPart, head, &codePage)) return fail();
    const std::string bytes = size.QuadPart == 0 ? EncodeTextFile(block) : ToCodePage(codePage, block);
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
    uint32_t codePage = CP_ACP;
    if (!CodePageOf(f.get(), size.QuadPart, head, &codePage)) return {};
    const int64_t start = HasBom(head) ? 3 : 0;
    const int64_t from = std::max(start, size.QuadPart - viewBytes);
    std::string bytes;
    if (!ReadFileAt(f.get(), from, static_cast<size_t>(size.QuadPart - from), bytes)) return {};
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
