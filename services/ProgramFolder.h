// Where the program's own files live: the folder of the running executable.
#pragma once
#include <string>

namespace salva {

// The folder of the running program, ending in "\"; empty when the system cannot tell.
std::wstring ProgramFolder();

}  // namespace salva
