// The figures and texts of the batch copy of all listed files, apart from its window: read
// size, skip, the folder chain mirrored below the target folder, the total and count labels
// and the free-space question.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace salva::batch_copy_rules {

// A batch reads ten block units at a time and jumps 80 reads over an unreadable spot.
constexpr int64_t kUnitsPerRead = 10;
constexpr int64_t kReadsPerSkip = 80;

// Bytes per read of one file of the batch (driveType: GetDriveType code of the source's drive;
// platformCode as the copy start takes it).
int64_t BlockBytes(const std::wstring& source, const std::wstring& target, unsigned driveType, int platformCode);

// The folders of `source` below its root ("C:\a\b\f.dat" gives a, b; "\\srv\share\d\f.dat"
// gives d), in order; cutting stops at an empty piece.
std::vector<std::wstring> MirroredFolders(const std::wstring& source);

// `folder` with "\" appended when missing.
std::wstring WithBackslash(const std::wstring& folder);

// The target beside `target` that a "no" to replacing sends the file to: "N[01]" + its name.
std::wstring AlternativeTarget(const std::wstring& target);

// lblTotalLength: the batch's size in bytes, KB or MB (no closing bracket).
std::wstring TotalLengthText(int64_t batchBytes);
// lblTotalFiles: "i/n ]".
std::wstring FileCountText(int64_t index, int64_t count);

// The closing line for `files` files continued from records whose earlier skips are not known.
std::wstring EarlierUnknownText(int64_t files);

// The closing line for `files` files left out because their target is the file itself.
std::wstring SelfTargetText(int64_t files);

// The closing line for `files` files an error left incomplete while the batch went on.
std::wstring FailedFilesText(int64_t files);

// The closing line for `files` files not copied because a name cannot be used as given.
std::wstring RefusedNamesText(int64_t files);

// The question when the folder's drive has less room than the batch needs.
std::wstring SpaceQuestionText(const std::wstring& folder, int64_t freeBytes, int64_t batchBytes);

// An operation-log error entry for `source` with `reason`.
std::wstring ErrorEntry(const std::wstring& source, const std::wstring& reason);

}  // namespace salva::batch_copy_rules
