// The resource directory of an executable file, read by the program itself: the three levels of
// types, names and languages below the resource root, and where each resource's bytes lie in the
// file. Every offset, count, name and data entry is checked against the bounds of the section
// that holds the root before it is followed, so a damaged or hostile directory gives its sound
// part and never a read outside the file.
#pragma once
#include "inspect/ByteSource.h"
#include <cstdint>
#include <string>
#include <vector>

namespace salva::readers {

// A type or a resource: a number, or a name as stored (UTF-16, not terminated).
struct ResourceKey {
    bool named = false;
    uint16_t id = 0;
    std::u16string name;
};

// One language of one resource: where its bytes lie in the file.
struct ResourceData {
    uint16_t language = 0;
    uint64_t offset = 0;
    uint32_t size = 0;
};

struct ResourceName {
    ResourceKey key;
    std::vector<ResourceData> languages;
};

struct ResourceType {
    ResourceKey key;
    std::vector<ResourceName> names;
};

struct ResourceDirectory {
    std::vector<ResourceType> types;  // in the directory's own order, as the system lists them
};

// A section as the file's section table gives it.
struct PeSection {
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

// The resource directory of a PE file (32- or 64-bit). A file that is no PE image, or has no
// resources, gives no types.
ResourceDirectory ReadResourceDirectory(ByteSource& file);

// The walk below a root at `rootRva`, in the first of `sections` that holds it; data places are
// found through `sections` the same way.
ResourceDirectory WalkResourceDirectory(ByteSource& file, const std::vector<PeSection>& sections, uint32_t rootRva);

}  // namespace salva::readers
