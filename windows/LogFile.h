// The operation log file: UTF-8 with a byte-order mark; files without the mark (written by
// earlier versions) are read in the system ANSI code page.
#pragma once
#include <string>

namespace salva {

// What the log view shows of a file's text: empty for an empty file, else CRLF followed by
// every line, each ended by CRLF. A final line is left out only when it is empty (the
// empty line that ends every appended block).
std::wstring LogViewText(const std::wstring& fileText);

// Appends `text` and one CRLF, creating the file when missing. A file without the mark is
// rewritten in UTF-8 first. On failure the file is left as it was and the result is false.
bool AppendLogFile(const std::wstring& path, const std::wstring& text);
// Replaces the file's content by `text` and one CRLF; false on failure, file unchanged.
bool WriteLogFile(const std::wstring& path, const std::wstring& text);
// LogViewText of the file; empty when the file is missing or cannot be read.
std::wstring ReadLogFile(const std::wstring& path);

}  // namespace salva
