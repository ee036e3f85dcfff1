// The system's own description of a Win32 error code.
#pragma once
#include <windows.h>
#include <string>

namespace salva {

// The system's text for `code`, without its closing line break, blank or full stop; empty
// when the system has none.
std::wstring SystemErrorText(DWORD code);

}  // namespace salva
