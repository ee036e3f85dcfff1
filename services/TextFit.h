// One line of text broken into pieces that fit a width, measured with a device context's
// current font.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace salva {

// The pieces of `line` (which holds no line end) no wider than `width` pixels: each broken at
// the last blank that fits, the blank dropped, else after the last character that fits (text
// without blanks, such as Chinese), and at least one character a piece. The whole line as one
// piece when it fits or cannot be measured; one empty piece for an empty line.
std::vector<std::wstring> FitLines(HDC dc, const std::wstring& line, int width);

}  // namespace salva
