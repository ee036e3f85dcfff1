// Reading and writing a file's bytes whole or in part, over partial transfers.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace salva {

// Reads `size` bytes at `offset` (fewer at the file's end); false on a read failure.
bool ReadFileAt(HANDLE file, int64_t offset, size_t size, std::string& out);
// Writes all of `bytes` at the file's current position; false when any write fails.
bool WriteAllBytes(HANDLE file, const std::string& bytes);
// Writes the whole content beside the file ("<path>.new"), then puts it in the file's place,
// so a failed write never leaves a half-written file behind; false and the file as it was on
// failure.
bool ReplaceWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace salva
