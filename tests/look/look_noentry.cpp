// A library with no self-registration entry point.
#include <windows.h>

extern "C" __declspec(dllexport) int LookAnswer() { return 42; }
