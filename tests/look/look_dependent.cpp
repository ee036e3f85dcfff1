// A library that needs look_noentry.dll, which lies beside it.
#include <windows.h>

extern "C" __declspec(dllimport) int LookAnswer();

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() { return LookAnswer() == 42 ? S_OK : E_FAIL; }
