// Entry points of the self-registering in-process server Velmora.dll.
#include "cVelmora.h"
#include <iterator>

namespace {
using salva::com::ClassEntry;
using salva::com::DispatchObject;

const ClassEntry kClasses[] = {
    {&CLSID_cVelmora, L"cVelmora", L"Velmora.cVelmora", &DispatchObject<_cVelmora>::Create<velmora::cVelmora>},
};
const salva::com::ServerInfo kServer{kClasses, std::size(kClasses), &LIBID_Velmora, 1, 0};
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return salva::com::GetClassObject(kServer, clsid, iid, out);
}
STDAPI DllCanUnloadNow() { return salva::com::ModuleIdle() ? S_OK : S_FALSE; }
STDAPI DllRegisterServer() { return salva::com::RegisterServer(kServer); }
STDAPI DllUnregisterServer() { return salva::com::UnregisterServer(kServer); }
