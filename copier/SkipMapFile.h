// The skip map on disk, beside its target: written whole as UTF-8 with a byte-order mark, read
// back also from the ANSI code page, and anything that does not read as a map counts as none.
// The map is a side file: where its name does not reach a file of its own (a name cut short
// by the file system reaches the target itself, or another file), it is neither written, read
// nor removed.
#pragma once
#include "copier/CopyEnvironment.h"
#include "copier/SkipMap.h"
#include <optional>
#include <string>

namespace salva {

// False when the map could not be written; no partial map stays behind.
bool SaveSkipMap(const std::wstring& target, const SkipMap& map, CopyEnvironment& env);
// Nothing when there is no map beside `target`, or it is unreadable, oversized or damaged.
std::optional<SkipMap> LoadSkipMap(const std::wstring& target, CopyEnvironment& env);
void RemoveSkipMap(const std::wstring& target, CopyEnvironment& env);

}  // namespace salva
