// Texts the prompts show about a file: size line, time suffix and the wrapped name lines.
// Plain functions over values, so the rules can be checked without a window.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>

namespace dorvex {

// Whole number with digits grouped in threes by `separator`, at least one digit ("##,#0").
std::wstring GroupDigits(int64_t n, const std::wstring& separator);

// First information line: "1,023 字节", "9,999 KB [10,239,999 字节]", "9 MB [10,240,001 字节]".
// Exactly 1024 and exactly 10,240,000 bytes take the KB row.
std::wstring SizeLine(int64_t n, const std::wstring& separator);

// The three information lines joined by CR LF, no break after the third.
std::wstring InformationText(const std::wstring& sizeLine, const std::wstring& modified,
                             const std::wstring& accessed);

// " AM" for hours 0 to 11, " PM" for 12 to 23 (added whatever the time format shows).
std::wstring AmPmSuffix(int hour);

// A path cut into lines of 48 characters: 1-48, 49-96 and everything from 97 on; every line
// ends with CR LF.
std::wstring NameLines(const std::wstring& path);

// Width in pixels of a text as a window draws it.
using TextWidth = std::function<int(const std::wstring&)>;
// `text` when `fits` takes it whole; else its start and its end around "…", as much of both
// as `fits` still takes (the "…" alone if nothing more does). Surrogate pairs stay whole.
std::wstring ShortenInMiddle(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits);
// NameLines with each line shortened in the middle to at most `maxWidth` pixels.
std::wstring NameLines(const std::wstring& path, int maxWidth, const TextWidth& width);

// Top-left corner of a window of the given size centred in `area`, kept inside it where the
// window is not larger than the area (and at its top-left edge where it is).
POINT PlaceInside(const RECT& area, int width, int height);

}  // namespace dorvex
