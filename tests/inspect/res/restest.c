/* A library that is nothing but resources; its entry point must never run. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) ExitProcess(99);
    return TRUE;
}
