// Writes "<platform code>|<version name>" (UTF-16) to the file named by its argument, or to its
// own path + ".out" when started without one.
#include "services/mGetOSverioninfo.h"
#include <windows.h>
#include <string>

int wmain(int argc, wchar_t** argv) {
    std::wstring out;
    if (argc > 1) {
        out = argv[1];
    } else {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        out = std::wstring(self) + L".out";
    }
    const std::wstring text = std::to_wstring(salva::mGetOSverioninfo::GetOSPlatform()) + L"|" +
                              salva::mGetOSverioninfo::GetOSVersionName();
    HANDLE file = ::CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    return ok ? 0 : 1;
}
