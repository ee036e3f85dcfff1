// The skip map on disk, beside its target: written whole as UTF-8 with a byte-order mark, read
// back also from the ANSI code page, and anything that does not read as a map counts as none.
#pragma once
#include "copier/SkipMap.h"
#include <optional>
#include <string>

namespace salva {

// False when the map could not be written; no partial map stays behind.
bool SaveSkipMap(const std::wstring& target, const SkipMap& map);
// Nothing when there is no map beside `target`, or it is unreadable, oversized or damaged.
std::optional<SkipMap> LoadSkipMap(const std::wstring& target);
void RemoveSkipMap(const std::wstring& target);

}  // namespace salva
