#include "inspect/Id3v1Record.h"
#include <algorithm>

namespace salva::readers {
namespace {

const char* const kGenres[kGenreCount] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip Hop",
    "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
    "Sound Clip", "Gospel", "Noise", "Alt. Rock", "Bass", "Soul", "Punk", "Space", "Meditative",
    "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial",
    "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta Rap",
    "Top 40", "Christian Rap", "Pop/Punk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Phychedelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka",
    "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk", "Folk/Rock", "National Folk", "Swing",
    "Fast-Fusion", "Bebob", "Latin", "Revival", "Celtic", "Blue Grass", "Avantegarde", "Gothic Rock",
    "Progressive Rock", "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus",
    "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata",
    "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba",
    "Folklore", "Ballad", "power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock",
    "Drum Solo", "A Capella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House",
    "Hardcore", "Terror", "indie", "Brit Pop", "Negerpunk", "Polsk Punk", "Beat",
    "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover", "Comteporary Christian",
    "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime", "JPop", "Synth Pop",
};

// Walks a field unit by unit: a lead byte with the byte after it, or one byte. Returns the
// byte range from the first to the last unit that `keep` accepts.
template <typename Keep>
std::string KeptRange(const Id3v1Record& record, Id3v1Field field, LeadByteTest isLead, Keep keep) {
    const uint8_t* p = record.data() + field.offset;
    size_t first = field.width, last = 0;
    for (size_t i = 0; i < field.width;) {
        const bool pair = isLead(p[i]) && i + 1 < field.width;
        const size_t len = pair ? 2 : 1;
        if (keep(p[i], pair)) {
            if (first == field.width) first = i;
            last = i + len;
        }
        i += len;
    }
    if (first == field.width) return {};
    return std::string(reinterpret_cast<const char*>(p) + first, last - first);
}

}  // namespace

bool ReadId3v1(ByteSource& file, Id3v1Record& record) {
    uint64_t size = 0;
    if (!file.Size(size) || size < kId3v1TagSize) return false;
    uint8_t marker[3];
    if (!file.ReadFull(size - kId3v1TagSize, marker, 3)) return false;
    if (marker[0] != 'T' || marker[1] != 'A' || marker[2] != 'G') return false;
    Id3v1Record read;
    if (!file.ReadFull(size - kId3v1RecordSize, read.data(), read.size())) return false;
    record = read;
    return true;
}

bool SaveId3v1(ByteStore& file, const Id3v1Record& record) {
    uint64_t size = 0;
    if (!file.Size(size)) return false;
    if (size >= kId3v1TagSize) {
        uint8_t marker[3];
        if (!file.ReadFull(size - kId3v1TagSize, marker, 3)) return false;
        if (marker[0] == 'T' && marker[1] == 'A' && marker[2] == 'G')
            return file.WriteAt(size - kId3v1RecordSize, record.data(), record.size());
    }
    uint8_t tag[kId3v1TagSize] = {'T', 'A', 'G'};
    std::copy(record.begin(), record.end(), tag + 3);
    return file.WriteAt(size, tag, sizeof(tag));
}

std::string TrimTagBytes(const Id3v1Record& record, Id3v1Field field, LeadByteTest isLead) {
    return KeptRange(record, field, isLead, [](uint8_t b, bool pair) { return pair || (b >= 33 && b <= 126); });
}

std::string TrimPadBytes(const Id3v1Record& record, Id3v1Field field, LeadByteTest isLead) {
    return KeptRange(record, field, isLead,
                     [](uint8_t b, bool pair) { return pair || (b != ' ' && b != 0 && b != 0xFF); });
}

void FitField(Id3v1Record& record, Id3v1Field field, const std::string& encoded, LeadByteTest isLead) {
    uint8_t* p = record.data() + field.offset;
    size_t n = 0;
    while (n < encoded.size()) {
        const bool pair = isLead(static_cast<uint8_t>(encoded[n])) && n + 1 < encoded.size();
        const size_t len = pair ? 2 : 1;
        if (n + len > field.width) break;
        n += len;
    }
    std::copy(encoded.begin(), encoded.begin() + static_cast<std::ptrdiff_t>(n), p);
    std::fill(p + n, p + field.width, static_cast<uint8_t>(' '));
}

const char* GenreName(size_t index) { return index < kGenreCount ? kGenres[index] : nullptr; }

}  // namespace salva::readers
