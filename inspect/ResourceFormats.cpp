#include "inspect/ResourceFormats.h"

#include <algorithm>

namespace salva {

namespace {

uint16_t Read16(const ResourceBytes& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t Read32(const ResourceBytes& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::wstring CutAtNul(std::wstring text) {
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    return text;
}

std::wstring Utf16At(const ResourceBytes& b, size_t at, size_t chars) {
    std::wstring text;
    text.reserve(chars);
    for (size_t i = 0; i < chars; ++i) text.push_back(static_cast<wchar_t>(Read16(b, at + 2 * i)));
    return text;
}

std::wstring Hex(uint32_t value) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    do {
        text.insert(text.begin(), digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return text;
}

}  // namespace

std::wstring GetResourceTypeDescription(uint32_t type) {
    switch (type) {
    case 1: return L"Hardware-dependent cursor resource";
    case 2: return L"Bitmap resource";
    case 3: return L"Hardware-dependent icon resource";
    case 4: return L"Menu resource";
    case 5: return L"Dialog box";
    case 6: return L"String-table entry";
    case 7: return L"Font directory resource";
    case 8: return L"Font resource";
    case 9: return L"Accelerator table";
    case 10: return L"Application-defined resource (raw data)";
    case 11: return L"Message-table entry";
    case 12: return L"Hardware-independent cursor resource";
    case 14: return L"Hardware-independent icon resource";
    case 16: return L"Version resource";
    case 17: return L"Header file that contains menu and dialog box #define statements";
    case 19: return L"Plug and play resource";
    case 20: return L"VXD";
    case 21: return L"Animated cursor";
    case 22: return L"Animated icon";
    case 23: return L"HTML document";
    default: return L"User-defined custom resource";
    }
}

std::wstring ReplaceText(const std::wstring& text, const std::wstring& find, const std::wstring& with) {
    if (text.empty() || find.empty()) return text;
    std::wstring out;
    size_t from = 0;
    for (size_t at; (at = text.find(find, from)) != std::wstring::npos; from = at + find.size()) {
        out.append(text, from, at - from);
        out += with;
    }
    out.append(text, from, std::wstring::npos);
    return out;
}

std::wstring NormaliseLineBreaks(const std::wstring& text) {
    return ReplaceText(ReplaceText(text, L"\n", L"\r\n"), L"\r\r\n", L"\r\n");
}

std::wstring StringTableText(const ResourceBytes& block, uint32_t blockNumber) {
    std::wstring out;
    uint32_t id = (blockNumber - 1u) * 16u;
    size_t at = 0;
    for (int entry = 0; entry < 16 && at + 2 <= block.size(); ++entry, ++id) {
        const size_t count = Read16(block, at);
        at += 2;
        if (count == 0) continue;
        // A count running past the block reads what the block holds.
        const size_t chars = std::min(count, (block.size() - at) / 2);
        const std::wstring text = CutAtNul(NormaliseLineBreaks(Utf16At(block, at, chars)));
        at += count * 2;
        out += std::to_wstring(id) + L": " + text + L"\r\n";
    }
    return out;
}

std::wstring MessageTableText(const ResourceBytes& table, const AnsiDecoder& ansi) {
    std::wstring out;
    if (table.size() < 4) return out;
    const uint32_t blocks = Read32(table, 0);
    // The entries of sound blocks lie apart, so together they span at most the table: blocks
    // sharing their entries cannot make the walk or the text grow past that.
    uint64_t unread = table.size();
    for (uint64_t b = 0; b < blocks; ++b) {
        const uint64_t head = 4 + b * 12;
        if (head + 12 > table.size()) break;
        const uint32_t low = Read32(table, head);
        const uint32_t high = Read32(table, head + 4);
        uint64_t at = Read32(table, head + 8);
        // Each entry moves on by at least its 4-byte head, so a block ends with its data.
        for (uint64_t id = low; id <= high; ++id) {
            if (at + 4 > table.size()) break;
            const uint16_t length = Read16(table, at);
            const uint16_t flags = Read16(table, at + 2);
            if (length < 4) break;  // a zero (or too short) entry ends the block
            if (length > unread) return out;
            unread -= length;
            const size_t textBytes = static_cast<size_t>(std::min<uint64_t>(length - 4, table.size() - at - 4));
            const size_t textAt = static_cast<size_t>(at + 4);
            std::wstring text;
            if (flags == 1) {
                text = CutAtNul(Utf16At(table, textAt, textBytes / 2));
            } else {
                const char* p = reinterpret_cast<const char*>(table.data() + textAt);
                text = ansi(p, std::find(p, p + textBytes, '\0') - p);
            }
            out += CutAtNul(NormaliseLineBreaks(std::to_wstring(id) + L": " + text));
            at += length;
        }
    }
    return out;
}

std::wstring GetVirtualKeyName(int32_t code) {
    if ((code >= 65 && code <= 90) || (code >= 48 && code <= 57)) return std::wstring(1, static_cast<wchar_t>(code));
    if (code >= 112 && code <= 127) return L"F" + std::to_wstring(code - 111);
    switch (code) {
    case 3: return L"CANCEL";
    case 8: return L"BACKSPACE";
    case 9: return L"TAB";
    case 12: return L"CLEAR";
    case 13: return L"ENTER";
    case 16: return L"SHIFT";
    case 17: return L"CTRL";
    case 18: return L"MENU";
    case 19: return L"PAUSE";
    case 20: return L"CAPS LOCK";
    case 27: return L"ESC";
    case 32: return L"SPACEBAR";
    case 33: return L"PAGE UP";
    case 34: return L"PAGE DOWN";
    case 35: return L"END";
    case 36: return L"HOME";
    case 37: return L"LEFT ARROW";
    case 38: return L"UP ARROW";
    case 39: return L"RIGHT ARROW";
    case 40: return L"DOWN ARROW";
    case 41: return L"SELECT";
    case 42: return L"PRINT SCREEN";
    case 43: return L"EXECUTE";
    case 44: return L"SNAPSHOT";
    case 45: return L"INS";
    case 46: return L"DEL";
    case 47: return L"HELP";
    case 144: return L"NUM LOCK";
    default: return L"Virtual Key " + std::to_wstring(code);
    }
}

std::wstring AcceleratorText(const ResourceBytes& table) {
    std::wstring out;
    for (size_t at = 0; at + 8 <= table.size(); at += 8) {
        const uint16_t flags = Read16(table, at);
        const int16_t key = static_cast<int16_t>(Read16(table, at + 2));
        const int16_t command = static_cast<int16_t>(Read16(table, at + 4));
        if (flags & 4) out += L"Shift+";
        if (flags & 8) out += L"Ctrl+";
        if (flags & 16) out += L"Alt+";
        out += GetVirtualKeyName(key) + L" (cmdID = " + std::to_wstring(command) + L")\r\n";
    }
    return out;
}

std::wstring PadWithZeros(const std::wstring& text, size_t width) {
    const std::wstring padded = std::wstring(width, L'0') + text;
    return padded.substr(padded.size() - width);
}

std::wstring HexDumpText(const unsigned char* data, size_t size,
                         const std::function<wchar_t(unsigned char)>& ansiChar) {
    if (data == nullptr || size == 0) return L"";
    const size_t shown = std::min(size, kHexDumpMaxBytes);
    const size_t rows = (shown - 1) / 16 + 1;
    std::wstring out(rows * kHexDumpRowChars, L' ');
    static const wchar_t digits[] = L"0123456789ABCDEF";
    for (size_t o = 0; o < shown; o += 16) {
        std::wstring row = PadWithZeros(Hex(static_cast<uint32_t>(o)), 8) + L" | ";
        const size_t end = std::min(o + 16, shown);
        for (size_t i = o; i < o + 16; ++i) {
            if (i < end) {
                row += digits[data[i] >> 4];
                row += digits[data[i] & 15];
                row += L' ';
            } else {
                row += L"   ";
            }
        }
        row += L"| ";
        for (size_t i = o; i < end; ++i) row += data[i] >= 32 ? ansiChar(data[i]) : L'.';
        row += L"\r\n";
        out.replace((o / 16) * kHexDumpRowChars, row.size(), row);
    }
    return out;
}

std::wstring VersionTranslationKey(const unsigned char* data, size_t size) {
    if (data == nullptr || size < 4) return L"";
    const uint32_t language = data[0] | (data[1] << 8);
    const uint32_t codePage = data[2] | (data[3] << 8);
    return PadWithZeros(Hex(language), 4) + PadWithZeros(Hex(codePage), 4);
}

}  // namespace salva
