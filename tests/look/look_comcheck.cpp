// A library whose registration succeeds only on a thread where COM is initialised, and whose
// unregistration always fails.
#include <windows.h>
#include <objbase.h>

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    // S_FALSE or a mode change means the thread had COM already.
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr == S_OK ? CO_E_NOTINITIALIZED : S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() { return E_FAIL; }
