// A library whose registration entry point takes 15 seconds.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    ::Sleep(15000);
    return S_OK;
}
