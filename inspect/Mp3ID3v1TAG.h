// Mp3ID3v1TAG: the ID3v1 tag of one MP3 file, read with GetId3 and written back with SaveId3.
// Texts are kept as the file's bytes in code page 936; a setter encodes its text and cuts it
// at the field's width without splitting a double-byte character.
#pragma once
#include "inspect/Id3v1Record.h"
#include <string>
#include <vector>

class Mp3ID3v1TAG {
public:
    // True when the file ends in a tag, which is then loaded; otherwise the record is kept.
    bool GetId3(const std::wstring& path);
    // Writes the record into the file's tag, appending a tag when it has none. False when the
    // file could not be opened for writing or the tag did not go out whole.
    bool SaveId3(const std::wstring& path);

    std::wstring Title() const;
    void Title(const std::wstring& value);
    // "未知艺术家" when the field holds no printable character.
    std::wstring Artist() const;
    void Artist(const std::wstring& value);
    std::wstring Album() const;
    void Album(const std::wstring& value);
    std::wstring Year() const;
    void Year(const std::wstring& value);
    std::wstring Comments() const;
    void Comments(const std::wstring& value);
    // "" for a track byte of 0 or 32.
    std::wstring Track() const;
    // Decimal text of 0 to 255; false (record unchanged) for any other text.
    bool Track(const std::wstring& value);
    // The genre's name, "None" past the list.
    std::wstring Genre() const;
    bool Genre(const std::wstring& value);
    // The 148 genre names, index 0 "Blues" onward.
    std::vector<std::wstring> GetGenreList() const;

private:
    std::wstring FieldText(salva::readers::Id3v1Field field) const;
    void SetField(salva::readers::Id3v1Field field, const std::wstring& value);

    salva::readers::Id3v1Record record_{};
};
