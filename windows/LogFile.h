// The operation log file: UTF-8 with a byte-order mark. A file without the mark is read and
// appended to as UTF-8 when all of it is UTF-8 and not plain ASCII (as another tool writes
// it), else in the system ANSI code page (written by earlier versions).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace salva {

// What the log view shows of a file's text: empty for an empty file, else CRLF followed by
// every line, each ended by CRLF. A final line is left out only when it is empty (the
// empty line that ends every appended block).
std::wstring LogViewText(const std::wstring& fileText);

// Appends `text` and one CRLF at the file's end, creating the file (with the mark) when
// missing; the file's earlier bytes are never rewritten, and the new ones take the file's own
// encoding. On failure the file is left as it was and the result is false.
bool AppendLogFile(const std::wstring& path, const std::wstring& text);
// Replaces the file's content by `text` and one CRLF; false on failure, file unchanged.
bool WriteLogFile(const std::wstring& path, const std::wstring& text);
// How much of a log the view shows at most: the last bytes of a larger file. About ten
// thousand entries; an edit control under Wine lays out about a megabyte a second.
constexpr int64_t kLogViewBytes = int64_t{1} << 20;
// The line that stands first in the view of a log larger than that.
std::wstring LogTailNotice(int64_t fileBytes, int64_t shownBytes);
// The notice as the view lays it out (its lines joined by CRLF).
using NoticeLayout = std::function<std::wstring(const std::wstring& notice)>;
// LogViewText of the file, or of its last `viewBytes` from the first whole line on, after
// LogTailNotice (laid out by `layNotice` when given); empty when the file is missing or cannot
// be read.
std::wstring ReadLogFile(const std::wstring& path, int64_t viewBytes = kLogViewBytes,
                         const NoticeLayout& layNotice = nullptr);

}  // namespace salva
