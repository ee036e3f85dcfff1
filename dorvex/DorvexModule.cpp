// Entry points of the self-registering in-process server Dorvex.dll.
#include "DorvexPrompts.h"
#include "PDVfileformat.h"
#include "PromptFrame.h"
#include <commctrl.h>
#include <iterator>

namespace {
using salva::com::ClassEntry;
using salva::com::DispatchObject;

const ClassEntry kClasses[] = {
    {&CLSID_Dorvex, L"Dorvex", L"Dorvex.Dorvex",
     &DispatchObject<_Dorvex>::Create<dorvex::DorvexObject>},
    {&CLSID_DorvexA, L"DorvexA", L"Dorvex.DorvexA",
     &DispatchObject<_DorvexA>::Create<dorvex::DorvexAObject>},
    {&CLSID_DorvexB, L"DorvexB", L"Dorvex.DorvexB",
     &DispatchObject<_DorvexB>::Create<dorvex::DorvexBObject>},
    {&CLSID_PDVfileformat, L"PDVfileformat", L"Dorvex.PDVfileformat",
     &DispatchObject<_PDVfileformat>::Create<dorvex::PDVfileformat>},
};
const salva::com::ServerInfo kServer{kClasses, std::size(kClasses), &LIBID_Dorvexs, 1, 0};
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded by FreeLibrary: a later load registers the classes anew.
        dorvex::UnregisterPromptClasses();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return salva::com::GetClassObject(kServer, clsid, iid, out);
}
STDAPI DllCanUnloadNow() { return salva::com::ModuleIdle() ? S_OK : S_FALSE; }
STDAPI DllRegisterServer() { return salva::com::RegisterServer(kServer); }
STDAPI DllUnregisterServer() { return salva::com::UnregisterServer(kServer); }
