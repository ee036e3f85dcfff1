#include "inspect/Mp3ID3v1TAG.h"
#include "inspect/FileByteSource.h"
#include "services/Text.h"
#include <windows.h>

using namespace salva;
using namespace salva::readers;

namespace {

// Tags are written in the Chinese ANSI code page, whatever the system's own is.
const UINT kTagCodePage = 936;

bool IsTagLeadByte(uint8_t b) { return ::IsDBCSLeadByteEx(kTagCodePage, b) != FALSE; }

// A tag's text shown as one line: a control character inside a field (a line break above all)
// would let the tag write lines of its own among the program's facts.
std::wstring Decode(const std::string& bytes) {
    std::wstring text = FromCodePage(kTagCodePage, bytes.data(), bytes.size());
    for (wchar_t& c : text)
        if (c < L' ' || c == 0x7F) c = L' ';
    return text;
}

std::wstring Ascii(const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); }

// A decimal 0 to 255, nothing else (no sign, no blanks).
bool ParseByte(const std::wstring& text, uint8_t& value) {
    if (text.empty() || text.size() > 3) return false;
    unsigned v = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + static_cast<unsigned>(c - L'0');
    }
    if (v > 255) return false;
    value = static_cast<uint8_t>(v);
    return true;
}

}  // namespace

bool Mp3ID3v1TAG::GetId3(const std::wstring& path) {
    FileByteSource file(path);
    return file.IsOpen() && ReadId3v1(file, record_);
}

bool Mp3ID3v1TAG::SaveId3(const std::wstring& path) {
    FileByteSource file(path, true);
    return file.IsOpen() && SaveId3v1(file, record_);
}

std::wstring Mp3ID3v1TAG::FieldText(Id3v1Field field) const {
    return Decode(TrimTagBytes(record_, field, IsTagLeadByte));
}

void Mp3ID3v1TAG::SetField(Id3v1Field field, const std::wstring& value) {
    FitField(record_, field, ToCodePage(kTagCodePage, value), IsTagLeadByte);
}

std::wstring Mp3ID3v1TAG::Title() const { return FieldText(kId3Title); }
void Mp3ID3v1TAG::Title(const std::wstring& value) { SetField(kId3Title, value); }

std::wstring Mp3ID3v1TAG::Artist() const {
    std::wstring s = FieldText(kId3Artist);
    return s.empty() ? L"未知艺术家" : s;
}
void Mp3ID3v1TAG::Artist(const std::wstring& value) { SetField(kId3Artist, value); }

std::wstring Mp3ID3v1TAG::Album() const { return FieldText(kId3Album); }
void Mp3ID3v1TAG::Album(const std::wstring& value) { SetField(kId3Album, value); }

std::wstring Mp3ID3v1TAG::Year() const { return FieldText(kId3Year); }
void Mp3ID3v1TAG::Year(const std::wstring& value) { SetField(kId3Year, value); }

std::wstring Mp3ID3v1TAG::Comments() const { return Decode(TrimPadBytes(record_, kId3Comment, IsTagLeadByte)); }
void Mp3ID3v1TAG::Comments(const std::wstring& value) { SetField(kId3Comment, value); }

std::wstring Mp3ID3v1TAG::Track() const {
    const uint8_t t = record_[kId3TrackAt];
    return t == 0 || t == 32 ? std::wstring() : std::to_wstring(t);
}
bool Mp3ID3v1TAG::Track(const std::wstring& value) { return ParseByte(value, record_[kId3TrackAt]); }

std::wstring Mp3ID3v1TAG::Genre() const {
    const char* name = GenreName(record_[kId3GenreAt]);
    return name ? Ascii(name) : L"None";
}
bool Mp3ID3v1TAG::Genre(const std::wstring& value) { return ParseByte(value, record_[kId3GenreAt]); }

std::vector<std::wstring> Mp3ID3v1TAG::GetGenreList() const {
    std::vector<std::wstring> list;
    for (size_t i = 0; i < kGenreCount; ++i) list.push_back(Ascii(GenreName(i)));
    return list;
}
