// The version resource read from its own bytes: the tree of blocks under "VS_VERSION_INFO",
// each a length, a value length, a type, a key and its value and child blocks. Each length is
// checked against the block that holds it: a child claiming more than its parent ends the walk
// of that parent, a value claiming more than its block is read up to the block's end.
#pragma once
#include "inspect/ResourceFormats.h"
#include <string>
#include <vector>

namespace salva {

struct VersionBlock {
    std::wstring key;
    uint16_t type = 0;     // 1: the value is text, 0: bytes
    size_t valueAt = 0;    // offset of the value in the resource
    size_t valueBytes = 0; // as much of the value as lies within the block
    size_t childrenAt = 0;
    size_t end = 0;        // end of the block within the resource
};

// The block at `at`, which must lie within [at, limit); false when its head, its length or its
// key does not fit.
bool ReadVersionBlock(const ResourceBytes& resource, size_t at, size_t limit, VersionBlock* block);
// The child blocks of `parent` in order, up to the first that does not fit.
std::vector<VersionBlock> VersionChildren(const ResourceBytes& resource, const VersionBlock& parent);
// The block reached by keys from the root (compared without regard to case); false when one is
// missing or the root is not "VS_VERSION_INFO".
bool FindVersionBlock(const ResourceBytes& resource, const std::vector<std::wstring>& path, VersionBlock* found);

// The browser's version text: for the first translation, each of the eight usual keys the block
// holds, "key:" CRLF TAB value CRLF; empty without a translation or a root that fits.
std::wstring VersionInfoText(const ResourceBytes& resource);

}  // namespace salva
