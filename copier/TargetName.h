// Whether a copy may read its source and write its target under the names it was given, and
// whether a finished copy's target is really there. A name the file system cuts short (Wine keeps 255 bytes of
// UTF-8 of a name on a Unix file system) opens another file than the one named: the target
// and "<target>.skipmap" may then be one file, and a success would be told over nothing.
#pragma once
#include "copier/BlockWriter.h"
#include "copier/CopyEnvironment.h"
#include <cstdint>
#include <string>

namespace salva {

// The sentence that tells why `target` is not written, empty when it may be. The name rules
// come first; an existing target must be listed under its own name; a new one is made here,
// empty, and removed again when the file system did not keep its name. Other failures to make
// it are left to the copy's own error handling. `existed`: the target was there before.
std::wstring TargetRefusal(const std::wstring& target, CopyEnvironment& env, BlockWriter& writer, bool* existed);

// The sentence that tells why `path` is not read or written, empty when it may be: the name
// rules alone.
std::wstring NameRefusal(const std::wstring& path);

// The sentence that tells why `source` is not read, empty when it may be: the name rules, then
// an existing file must be listed under its own name (a missing one is left to the copy).
std::wstring SourceRefusal(const std::wstring& source, CopyEnvironment& env);

// The finished target is there under its own name, `length` bytes long (any length when -1).
bool TargetIsThere(const std::wstring& target, int64_t length, CopyEnvironment& env);
// The sentence when it is not.
std::wstring TargetMissingText(const std::wstring& target);

}  // namespace salva
