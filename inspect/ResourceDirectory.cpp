#include "inspect/ResourceDirectory.h"

#include <algorithm>
#include <set>

namespace salva::readers {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The high bit of an entry's name field marks a name string, of its offset field a directory
// one level down; the other 31 bits are an offset from the root.
constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kOffsetBits = 0x7FFFFFFFu;
constexpr size_t kDirectoryBytes = 16;
constexpr size_t kEntryBytes = 8;
constexpr size_t kDataEntryBytes = 16;

// The first section whose raw data covers the address, as the system's own lookup takes it.
const PeSection* SectionOf(const std::vector<PeSection>& sections, uint64_t rva) {
    for (const PeSection& s : sections)
        if (s.virtualAddress <= rva && rva - s.virtualAddress < s.rawSize) return &s;
    return nullptr;
}

struct Entry {
    uint32_t name;
    uint32_t offset;
};

class Walk {
public:
    Walk(ByteSource& file, uint64_t fileSize, const std::vector<PeSection>& sections, uint64_t root, uint64_t end)
        : file_(file), fileSize_(fileSize), sections_(sections), root_(root), end_(end),
          // A sound directory reads each of its bytes once, names perhaps twice; more than that
          // is overlapping directories made to multiply the work.
          budget_(2 * (end - root) + 4096) {}

    ResourceDirectory Run() {
        ResourceDirectory dir;
        std::vector<Entry> types;
        if (Directory(0, types)) {
            for (const Entry& t : types) {
                ResourceType type;
                std::vector<Entry> names;
                if (!Key(t.name, type.key) || !Subdirectory(t.offset, names)) continue;
                for (const Entry& n : names) {
                    ResourceName name;
                    std::vector<Entry> languages;
                    if (!Key(n.name, name.key) || !Subdirectory(n.offset, languages)) continue;
                    for (const Entry& l : languages) {
                        ResourceData data;
                        if (Data(l, data)) name.languages.push_back(data);
                    }
                    type.names.push_back(std::move(name));
                }
                dir.types.push_back(std::move(type));
            }
        }
        return dir;
    }

private:
    bool Take(uint64_t bytes) {
        if (bytes > budget_) return false;
        budget_ -= bytes;
        return true;
    }

    // The file position of `length` bytes at `offset` from the root, when they lie in the section.
    bool Place(uint32_t offset, uint64_t length, uint64_t& at) const {
        at = root_ + offset;
        return at <= end_ && length <= end_ - at;
    }

    bool Read(uint32_t offset, uint8_t* buffer, size_t length, uint64_t& at) {
        return Place(offset, length, at) && Take(length) && file_.ReadFull(at, buffer, length);
    }

    // The entries of the directory at `offset`; a directory met before is a loop.
    bool Directory(uint32_t offset, std::vector<Entry>& entries) {
        if (!seen_.insert(offset).second) return false;
        uint8_t head[kDirectoryBytes];
        uint64_t at = 0;
        if (!Read(offset, head, sizeof(head), at)) return false;
        at += kDirectoryBytes;
        uint64_t count = uint64_t{Le16(head + 12)} + Le16(head + 14);
        const uint64_t fits = std::min((end_ - at) / kEntryBytes, budget_ / kEntryBytes);
        count = std::min(count, fits);
        budget_ -= count * kEntryBytes;
        std::vector<uint8_t> raw(static_cast<size_t>(count * kEntryBytes));
        const size_t got = raw.empty() ? 0 : file_.ReadAt(at, raw.data(), raw.size());
        for (size_t i = 0; i + kEntryBytes <= got; i += kEntryBytes)
            entries.push_back({Le32(&raw[i]), Le32(&raw[i + 4])});
        return true;
    }

    bool Subdirectory(uint32_t field, std::vector<Entry>& entries) {
        if (!(field & kHighBit)) return false;
        return Directory(field & kOffsetBits, entries);
    }

    bool Key(uint32_t field, ResourceKey& key) {
        if (!(field & kHighBit)) {
            key.id = static_cast<uint16_t>(field);
            return true;
        }
        const uint32_t offset = field & kOffsetBits;
        uint8_t length[2];
        uint64_t at = 0;
        if (!Read(offset, length, sizeof(length), at)) return false;
        const size_t chars = Le16(length);
        std::vector<uint8_t> text(chars * 2);
        if (chars && !Read(offset + 2, text.data(), text.size(), at)) return false;
        key.named = true;
        key.name.resize(chars);
        for (size_t i = 0; i < chars; ++i) key.name[i] = static_cast<char16_t>(Le16(&text[2 * i]));
        return true;
    }

    bool Data(const Entry& entry, ResourceData& data) {
        if ((entry.offset & kHighBit) || (entry.name & kHighBit)) return false;
        uint8_t raw[kDataEntryBytes];
        uint64_t at = 0;
        if (!Read(entry.offset, raw, sizeof(raw), at)) return false;
        const uint32_t rva = Le32(raw), size = Le32(raw + 4);
        const PeSection* section = SectionOf(sections_, rva);
        if (!section) return false;
        const uint32_t into = rva - section->virtualAddress;
        data.offset = uint64_t{section->rawOffset} + into;
        if (size > section->rawSize - into || data.offset > fileSize_ || size > fileSize_ - data.offset)
            return false;
        data.language = static_cast<uint16_t>(entry.name);
        data.size = size;
        return true;
    }

    ByteSource& file_;
    const uint64_t fileSize_;
    const std::vector<PeSection>& sections_;
    const uint64_t root_;
    const uint64_t end_;
    uint64_t budget_;
    std::set<uint32_t> seen_;
};

}  // namespace

ResourceDirectory WalkResourceDirectory(ByteSource& file, const std::vector<PeSection>& sections, uint32_t rootRva) {
    ResourceDirectory none;
    uint64_t size = 0;
    const PeSection* section = SectionOf(sections, rootRva);
    if (!section || !file.Size(size)) return none;
    const uint64_t root = uint64_t{section->rawOffset} + (rootRva - section->virtualAddress);
    const uint64_t end = std::min<uint64_t>(uint64_t{section->rawOffset} + section->rawSize, size);
    if (root >= end) return none;
    return Walk(file, size, sections, root, end).Run();
}

ResourceDirectory ReadResourceDirectory(ByteSource& file) {
    ResourceDirectory none;
    uint8_t dos[64];
    if (!file.ReadFull(0, dos, sizeof(dos)) || dos[0] != 'M' || dos[1] != 'Z') return none;
    const uint64_t nt = Le32(dos + 0x3C);
    // The signature, the file header and the optional header as far as the resource entry of
    // its data directory, which lies 16 bytes further on in a 64-bit image.
    uint8_t h[24 + 136] = {};
    if (!file.ReadFull(nt, h, 24) || h[0] != 'P' || h[1] != 'E' || h[2] != 0 || h[3] != 0) return none;
    const uint16_t sectionCount = Le16(h + 6), optionalSize = Le16(h + 20);
    const uint8_t* opt = h + 24;
    const size_t optRead = std::min<size_t>(optionalSize, 136);
    if (file.ReadAt(nt + 24, h + 24, optRead) != optRead || optRead < 2) return none;
    const uint16_t magic = Le16(opt);
    if (magic != 0x10B && magic != 0x20B) return none;
    const size_t countAt = magic == 0x10B ? 92 : 108, resourceAt = countAt + 4 + 2 * 8;
    if (optRead < resourceAt + 8 || Le32(opt + countAt) <= 2) return none;
    const uint32_t rootRva = Le32(opt + resourceAt);
    if (rootRva == 0) return none;
    // A root inside the headers is found another way by the system: nothing is read.
    if (rootRva < Le32(opt + 60)) return none;
    std::vector<uint8_t> table(size_t{sectionCount} * 40);
    const size_t got = file.ReadAt(nt + 24 + optionalSize, table.data(), table.size());
    std::vector<PeSection> sections;
    for (size_t at = 0; at + 40 <= got; at += 40)
        sections.push_back({Le32(&table[at + 12]), Le32(&table[at + 16]), Le32(&table[at + 20])});
    return WalkResourceDirectory(file, sections, rootRva);
}

}  // namespace salva::readers
