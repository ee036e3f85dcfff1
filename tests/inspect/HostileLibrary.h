// A 32-bit DLL written byte by byte: headers, one ".rsrc" section and nothing else, holding
// whatever resource bytes a test gives it, damaged ones included. Each resource has one
// language (neutral).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace hostilelib {

struct Resource {
    uint16_t type = 0;        // a numbered type, or 0 with `typeName`
    std::u16string typeName;  // a named type, such as u"AVI"
    uint16_t id = 0;
    std::vector<uint8_t> bytes;
};

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// The resource section as it lies at `rva`: one directory of types, one of names per type, one
// language each, the data entries, the type names, then the bytes. With `endsAt`, the section
// is that long and the last resource's bytes end it.
inline std::vector<uint8_t> ResourceSection(const std::vector<Resource>& resources, uint32_t rva,
                                            size_t endsAt = 0) {
    // Types in order of first appearance; named ones first, as the directory keeps them.
    std::vector<std::pair<uint16_t, std::u16string>> types;
    for (int named = 1; named >= 0; --named)
        for (const Resource& r : resources) {
            const std::pair<uint16_t, std::u16string> key{r.type, r.typeName};
            if ((r.type == 0) == (named == 1) && std::find(types.begin(), types.end(), key) == types.end())
                types.push_back(key);
        }
    auto namesOf = [&](const std::pair<uint16_t, std::u16string>& t) {
        std::vector<const Resource*> of;
        for (const Resource& r : resources)
            if (r.type == t.first && r.typeName == t.second) of.push_back(&r);
        return of;
    };
    size_t at = 16 + 8 * types.size();
    std::vector<size_t> typeDirs, nameDirsAt;
    for (const auto& t : types) {
        typeDirs.push_back(at);
        at += 16 + 8 * namesOf(t).size();
    }
    const size_t languageDirs = at;
    at += resources.size() * 24;
    const size_t dataEntries = at;
    at += resources.size() * 16;
    std::vector<size_t> typeNameAt;
    for (const auto& t : types) {
        typeNameAt.push_back(at);
        at += t.second.empty() ? 0 : 2 + 2 * t.second.size();
    }
    at = (at + 3) & ~size_t{3};
    std::vector<size_t> dataAt;
    for (const Resource& r : resources) {
        dataAt.push_back(at);
        at = (at + r.bytes.size() + 3) & ~size_t{3};
    }
    if (endsAt && !resources.empty()) {
        dataAt.back() = endsAt - resources.back().bytes.size();
        at = endsAt;
    }
    std::vector<uint8_t> s(at, 0);
    size_t namedTypes = 0;
    for (const auto& t : types) namedTypes += t.first == 0;
    Put16(s, 12, static_cast<uint32_t>(namedTypes));
    Put16(s, 14, static_cast<uint32_t>(types.size() - namedTypes));
    size_t index = 0;
    for (size_t i = 0; i < types.size(); ++i) {
        const auto& t = types[i];
        if (t.first == 0) {
            Put32(s, 16 + 8 * i, 0x80000000u | static_cast<uint32_t>(typeNameAt[i]));
            Put16(s, typeNameAt[i], static_cast<uint32_t>(t.second.size()));
            for (size_t c = 0; c < t.second.size(); ++c) Put16(s, typeNameAt[i] + 2 + 2 * c, t.second[c]);
        } else {
            Put32(s, 16 + 8 * i, t.first);
        }
        Put32(s, 16 + 8 * i + 4, 0x80000000u | static_cast<uint32_t>(typeDirs[i]));
        const auto names = namesOf(t);
        Put16(s, typeDirs[i] + 14, static_cast<uint32_t>(names.size()));
        for (size_t n = 0; n < names.size(); ++n) {
            const size_t r = static_cast<size_t>(names[n] - resources.data());
            const size_t language = languageDirs + 24 * index++;
            Put32(s, typeDirs[i] + 16 + 8 * n, names[n]->id);
            Put32(s, typeDirs[i] + 16 + 8 * n + 4, 0x80000000u | static_cast<uint32_t>(language));
            Put16(s, language + 14, 1);
            Put32(s, language + 16, 0);  // neutral
            Put32(s, language + 20, static_cast<uint32_t>(dataEntries + 16 * r));
            Put32(s, dataEntries + 16 * r, rva + static_cast<uint32_t>(dataAt[r]));
            Put32(s, dataEntries + 16 * r + 4, static_cast<uint32_t>(names[n]->bytes.size()));
            std::copy(names[n]->bytes.begin(), names[n]->bytes.end(), s.begin() + static_cast<ptrdiff_t>(dataAt[r]));
        }
    }
    return s;
}

// The whole DLL: a DOS header, the PE headers of an image with one resource section, the section.
// With `lastEndsFile`, the file is whole pages and the last resource's bytes end it, so that a
// reader running past them runs past the mapped file.
inline std::vector<uint8_t> Library(const std::vector<Resource>& resources, bool lastEndsFile = false) {
    const uint32_t kRva = 0x1000, kRaw = 0x200;
    std::vector<uint8_t> section = ResourceSection(resources, kRva);
    if (lastEndsFile) section = ResourceSection(resources, kRva, ((kRaw + section.size() + 0xFFF) & ~size_t{0xFFF}) - kRaw);
    const uint32_t rawSize = (static_cast<uint32_t>(section.size()) + 0x1FF) & ~0x1FFu;
    std::vector<uint8_t> f(kRaw + rawSize, 0);
    f[0] = 'M';
    f[1] = 'Z';
    Put32(f, 0x3C, 0x40);
    f[0x40] = 'P';
    f[0x41] = 'E';
    const size_t file = 0x44, opt = file + 20;
    Put16(f, file, 0x14C);      // i386
    Put16(f, file + 2, 1);      // one section
    Put16(f, file + 16, 0xE0);  // optional header size
    Put16(f, file + 18, 0x2102);  // executable, 32-bit, DLL
    Put16(f, opt, 0x10B);
    Put32(f, opt + 28, 0x10000000);  // image base
    Put32(f, opt + 32, 0x1000);      // section alignment
    Put32(f, opt + 36, 0x200);       // file alignment
    Put16(f, opt + 40, 4);
    Put16(f, opt + 48, 4);
    Put32(f, opt + 56, kRva + ((rawSize + 0xFFF) & ~0xFFFu));  // image size
    Put32(f, opt + 60, kRaw);                                   // headers' size
    Put16(f, opt + 68, 2);                                      // Windows GUI
    Put32(f, opt + 92, 16);                                     // data directories
    Put32(f, opt + 96 + 2 * 8, kRva);
    Put32(f, opt + 96 + 2 * 8 + 4, static_cast<uint32_t>(section.size()));
    const size_t sh = opt + 0xE0;
    for (size_t i = 0; i < 5; ++i) f[sh + i] = static_cast<uint8_t>(".rsrc"[i]);
    Put32(f, sh + 8, static_cast<uint32_t>(section.size()));
    Put32(f, sh + 12, kRva);
    Put32(f, sh + 16, rawSize);
    Put32(f, sh + 20, kRaw);
    Put32(f, sh + 36, 0x40000040);  // initialised data, readable
    std::copy(section.begin(), section.end(), f.begin() + kRaw);
    return f;
}

using Bytes = std::vector<uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes b;
    for (const auto& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}
inline Bytes Le(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A RIFF chunk; its length as `claimed` says, else as it is.
inline Bytes Chunk(const std::string& id, const Bytes& body, uint32_t claimed = UINT32_MAX) {
    return Cat({Text(id), Le(claimed == UINT32_MAX ? static_cast<uint32_t>(body.size()) : claimed), body});
}
// An AVI file of `chunks`, claiming `extraClaimed` bytes more than it holds.
inline Bytes Riff(const Bytes& chunks, uint32_t extraClaimed = 0) {
    return Cat({Text("RIFF"), Le(static_cast<uint32_t>(4 + chunks.size()) + extraClaimed), Text("AVI "), chunks});
}
// An icon group counting `count` entries and holding `entriesHeld`, each naming image `id`.
inline Bytes IconGroup(uint16_t count, uint16_t entriesHeld, uint16_t id) {
    Bytes b{0, 0, 1, 0, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    for (int i = 0; i < entriesHeld; ++i)
        b.insert(b.end(), {16, 16, 0, 0, 1, 0, 32, 0, 0x68, 4, 0, 0, static_cast<uint8_t>(id), 0});
    return b;
}
// A bitmap file of `dib` whose bits start at `bitsAt`.
inline Bytes BitmapFile(const Bytes& dib, uint32_t bitsAt) {
    return Cat({Text("BM"), Le(static_cast<uint32_t>(14 + dib.size())), Le(0), Le(bitsAt), dib});
}

// A 40-byte bitmap header; `height` as stored (an icon's counts both masks).
inline std::vector<uint8_t> DibHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0,
                                      uint32_t colours = 0, uint32_t sizeImage = 0) {
    std::vector<uint8_t> b(40, 0);
    Put32(b, 0, 40);
    Put32(b, 4, static_cast<uint32_t>(width));
    Put32(b, 8, static_cast<uint32_t>(height));
    Put16(b, 12, 1);
    Put16(b, 14, bits);
    Put32(b, 16, compression);
    Put32(b, 20, sizeImage);
    Put32(b, 32, colours);
    return b;
}

// An icon image of `size` x `size` pixels, 32 bits a pixel, of one colour, with its mask; only
// `rowsHeld` of its rows of colour and mask are there (all when negative).
inline std::vector<uint8_t> IconImage(int32_t size, int rowsHeld = -1) {
    std::vector<uint8_t> b = DibHeader(size, 2 * size, 32);
    const int rows = rowsHeld < 0 ? size : rowsHeld;
    for (int i = 0; i < size * rows; ++i) b.insert(b.end(), {0x00, 0x80, 0xFF, 0xFF});
    b.insert(b.end(), static_cast<size_t>((size + 31) / 32 * 4 * rows), 0);
    return b;
}

// One block of a version resource: its key, a text or byte value, its children.
struct VersionNode {
    std::u16string key;
    bool text = false;
    std::vector<uint8_t> value;  // for a text, UTF-16 with its NUL
    std::vector<VersionNode> children;
};

inline VersionNode VersionText(const std::u16string& key, const std::u16string& value) {
    VersionNode n{key, true, {}, {}};
    for (char16_t c : value + u'\0')
        n.value.insert(n.value.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    return n;
}

// The block's bytes with every length as a resource compiler writes it.
inline std::vector<uint8_t> VersionBytes(const VersionNode& n) {
    std::vector<uint8_t> b(6, 0);
    for (char16_t c : n.key + u'\0') b.insert(b.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    b.resize((b.size() + 3) & ~size_t{3}, 0);
    b.insert(b.end(), n.value.begin(), n.value.end());
    for (const VersionNode& c : n.children) {
        b.resize((b.size() + 3) & ~size_t{3}, 0);
        const std::vector<uint8_t> child = VersionBytes(c);
        b.insert(b.end(), child.begin(), child.end());
    }
    Put16(b, 0, static_cast<uint32_t>(b.size()));
    Put16(b, 2, static_cast<uint32_t>(n.text ? n.value.size() / 2 : n.value.size()));
    Put16(b, 4, n.text ? 1 : 0);
    return b;
}

// A version resource for translation 0409/04B0 holding the given strings.
inline std::vector<uint8_t> VersionResource(const std::vector<VersionNode>& strings) {
    VersionNode table{u"040904B0", true, {}, strings};
    VersionNode translation{u"Translation", false, {0x09, 0x04, 0xB0, 0x04}, {}};
    VersionNode root{u"VS_VERSION_INFO", false, std::vector<uint8_t>(52, 0), {}};
    Put32(root.value, 0, 0xFEEF04BD);
    root.children = {VersionNode{u"StringFileInfo", true, {}, {table}},
                     VersionNode{u"VarFileInfo", true, {}, {translation}}};
    return VersionBytes(root);
}

}  // namespace hostilelib
