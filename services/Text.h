// Text rules shared by the program's modules: case folding and trimming of paths and names.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

// The text upper-cased as the system folds case (CharUpperBuffW), not just ASCII.
std::wstring UpperCase(std::wstring text);
// The last `n` characters (all of a shorter text), upper-cased: extension and drive tests.
std::wstring UpperTail(const std::wstring& text, size_t n);
// The text without leading and trailing characters out of `blanks`.
std::wstring Trim(const std::wstring& text, const wchar_t* blanks = L" ");

// The character after the caption's "&" (its Alt key; "&&" is a plain "&"), 0 when none.
wchar_t MnemonicOf(const std::wstring& caption);

// Bytes in a code page (936, CP_UTF8, CP_ACP...) to text and back; "" when conversion fails.
std::wstring FromCodePage(uint32_t codePage, const char* bytes, size_t size);
std::string ToCodePage(uint32_t codePage, const std::wstring& text);

// The program's own text files: written as UTF-8 after a byte-order mark; read as UTF-8 after
// the mark, else in the ANSI code page (files of earlier versions or other programs).
std::string EncodeTextFile(const std::wstring& text);
std::wstring DecodeTextFile(const std::string& bytes);

}  // namespace salva
