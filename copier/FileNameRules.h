// Names the copy refuses before it opens anything, told by their text alone: names the
// system's path rules turn into another name (trailing dots and blanks are dropped, so
// "dot.dat." opens "dot.dat"), device names ("aux.dat" opens the AUX device, whatever the
// folder and the extension), and names longer than a file system holds. Plain text rules: no
// system calls here.
#pragma once
#include <cstdint>
#include <string>

namespace salva {

enum class NameProblem {
    None,
    PathTooLong,         // more than 32,767 characters in all
    NameTooLong,         // a file or folder name of more than 255 characters
    DeviceName,          // the file name is a device's (CON, PRN, AUX, NUL, COM1..9, LPT1..9 ...)
    TrailingDotOrSpace,  // a file or folder name ends in "." or " "
};

constexpr size_t kMaxNameChars = 255;
constexpr size_t kMaxPathChars = 32767;

// A name that ends in a dot or a blank ("." and ".." are folder references, not such names).
bool EndsInDotOrSpace(const std::wstring& name);
// A device name: the part before the first dot, blanks around it dropped, is one of the
// system's devices, in any letter case ("aux.dat", "Con", "nul .txt", "COM1.dat", "lpt1").
bool IsDeviceName(const std::wstring& name);

// The first problem of `path` (a full path, a drive or share root in front): its length, each
// name's length, the file name as a device, then each name's end. A path in the "\\?\" form is
// taken as written, so only the lengths apply to it.
NameProblem NameProblemOf(const std::wstring& path);

// A failure of the system call that opened or created `path` (`win32`, the system's error
// code) that comes from a name or path too long for the file system: ERROR_FILENAME_EXCED_RANGE,
// or a not-found or invalid-name error on a path whose text is too long.
bool NameTooLongError(uint32_t win32, const std::wstring& path);

// The sentence that tells the user why `path` is not used.
std::wstring NameProblemText(NameProblem problem, const std::wstring& path);
// The sentence for a target the file system did not keep under the name it was given (a name
// cut short: "<target>" and "<target>.skipmap" may then be one file).
std::wstring NameNotKeptText(const std::wstring& path);
// The sentence for a source the file system lists under another name than the one given (a
// name cut short: opening it opens another file).
std::wstring SourceNameNotKeptText(const std::wstring& path);
// The sentence for `path` when creating it failed because its name or path is too long.
std::wstring NameTooLongErrorText(const std::wstring& path);
// The description shown after an error number for a name or path too long.
extern const wchar_t kNameTooLongDescription[];

}  // namespace salva
