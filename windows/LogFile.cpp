#include "LogFile.h"
#include "services/Holders.h"
#include "services/Text.h"
#include <vector>

namespace salva {
namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool HasBom(const std::string& bytes) { return bytes.compare(0, 3, kBom) == 0; }

std::string ToUtf8(const std::wstring& s) { return ToCodePage(CP_UTF8, s); }

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::wstring& path, std::string& out) {
    out.clear();
    unique_hfile f(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) {
        const DWORD e = ::GetLastError();
        return (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) ? ReadResult::Missing : ReadResult::Failed;
    }
    char buf[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(f.get(), buf, sizeof(buf), &got, nullptr)) return ReadResult::Failed;
        if (got == 0) break;
        out.append(buf, got);
    }
    return ReadResult::Ok;
}

bool WriteAll(HANDLE f, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(f, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// Writes the whole content beside the file, then puts it in the file's place, so a failed
// write never leaves a half-written log behind.
bool ReplaceWhole(const std::wstring& path, const std::string& bytes) {
    const std::wstring temp = path + L".new";
    {
        unique_hfile f(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!f) return false;
        if (!WriteAll(f.get(), bytes) || !::FlushFileBuffers(f.get())) {
            f.reset();
            ::DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::wstring LogViewText(const std::wstring& fileText) {
    if (fileText.empty()) return {};
    // Lines end at CRLF, CR or LF; a line end at the very end starts no further line.
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < fileText.size()) {
        size_t end = fileText.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(fileText.substr(start));
            break;
        }
        lines.push_back(fileText.substr(start, end - start));
        start = end + ((fileText[end] == L'\r' && end + 1 < fileText.size() && fileText[end + 1] == L'\n') ? 2 : 1);
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::wstring out = L"\r\n";
    for (const auto& line : lines) out += line + L"\r\n";
    return out;
}

bool AppendLogFile(const std::wstring& path, const std::wstring& text) {
    std::string existing;
    const ReadResult read = ReadWholeFile(path, existing);
    if (read == ReadResult::Failed) return false;
    const std::string block = ToUtf8(text + L"\r\n");
    if (existing.empty()) return ReplaceWhole(path, kBom + block);
    if (!HasBom(existing)) return ReplaceWhole(path, EncodeTextFile(DecodeTextFile(existing)) + block);

    unique_hfile f(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(f.get(), &size) || !::SetFilePointerEx(f.get(), size, nullptr, FILE_BEGIN)) return false;
    if (!WriteAll(f.get(), block)) {
        // Cut a partly written block off again.
        ::SetFilePointerEx(f.get(), size, nullptr, FILE_BEGIN);
        ::SetEndOfFile(f.get());
        return false;
    }
    return true;
}

bool WriteLogFile(const std::wstring& path, const std::wstring& text) {
    return ReplaceWhole(path, EncodeTextFile(text + L"\r\n"));
}

std::wstring ReadLogFile(const std::wstring& path) {
    std::string bytes;
    if (ReadWholeFile(path, bytes) != ReadResult::Ok) return {};
    return LogViewText(DecodeTextFile(bytes));
}

}  // namespace salva
