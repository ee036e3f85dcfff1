#include "services/mRegDll_Ocx_Tlb.h"
#include "services/Holders.h"
#include "services/ProgramFolder.h"
#include "services/Text.h"
#include <memory>

namespace mRegDll_Ocx_Tlb {

namespace {

using EntryPoint = HRESULT(STDAPICALLTYPE*)();

// What the worker thread shares with the caller. The worker keeps its own reference, so a
// caller that stopped waiting leaves it valid until the worker ends.
struct Registration {
    EntryPoint entry = nullptr;
    HRESULT result = E_PENDING;
};

DWORD WINAPI RunEntryPoint(void* param) {
    std::unique_ptr<std::shared_ptr<Registration>> mine(static_cast<std::shared_ptr<Registration>*>(param));
    Registration& r = **mine;
    // Self-registration may use COM (type libraries, the registry helpers of the library).
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    r.result = r.entry();
    if (SUCCEEDED(init)) ::CoUninitialize();
    return 0;
}

// A file an ordinary listing shows: not a folder, not hidden, not a system file.
bool PlainFileExists(const std::wstring& path) {
    WIN32_FIND_DATAW fd{};
    salva::unique_hfind find(::FindFirstFileW(path.c_str(), &fd));
    if (!find) return false;
    return (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

}  // namespace

bool IsServerFileName(const std::wstring& name) {
    if (name.size() < 3) return false;
    const std::wstring tail = salva::UpperTail(name, 3);
    return tail == L"DLL" || tail == L"OCX" || tail == L"TLB";
}

std::vector<std::wstring> ServerFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd{};
    salva::unique_hfind find(::FindFirstFileW((folder + L"\\*").c_str(), &fd));
    if (!find) return names;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (IsServerFileName(fd.cFileName)) names.emplace_back(fd.cFileName);
    } while (::FindNextFileW(find.get(), &fd));
    return names;
}

std::vector<std::pair<std::wstring, bool>> RegisterFolderServers(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, bool>> results;
    for (const std::wstring& name : ServerFilesIn(folder))
        results.emplace_back(name, RegisterServer(folder + L"\\" + name));
    return results;
}

void RegisterAppFolderServers() {
    std::wstring folder = salva::ProgramFolder();
    if (folder.empty()) return;
    folder.pop_back();
    RegisterFolderServers(folder);
}

bool RegisterServer(const std::wstring& path) { return RegUnregServer(path, false); }

bool RegUnregServer(const std::wstring& path, bool unregister, DWORD timeoutMs) {
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    if (!PlainFileExists(path)) return false;
    // A name without an extension gets a trailing dot, or the loader would look for name.dll.
    std::wstring loadPath = path;
    const size_t slash = loadPath.find_last_of(L'\\');
    if (loadPath.find(L'.', slash == std::wstring::npos ? 0 : slash) == std::wstring::npos) loadPath += L'.';
    // The library's own dependencies are looked for beside it first.
    salva::unique_hmodule module(::LoadLibraryExW(loadPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) return false;
    auto registration = std::make_shared<Registration>();
    registration->entry = reinterpret_cast<EntryPoint>(
        reinterpret_cast<void*>(::GetProcAddress(module.get(), entryName)));
    if (!registration->entry) return false;

    // The worker's own reference; it takes it over once it runs.
    auto threadRef = std::make_unique<std::shared_ptr<Registration>>(registration);
    salva::unique_handle thread(::CreateThread(nullptr, 0, RunEntryPoint, threadRef.get(), 0, nullptr));
    if (!thread) return false;
    threadRef.release();
    if (::WaitForSingleObject(thread.get(), timeoutMs) != WAIT_OBJECT_0) {
        // The worker is still inside the library: leave the library loaded and let the worker
        // finish on its own; only our handle to the thread is closed.
        module.release();
        return false;
    }
    return SUCCEEDED(registration->result);
}

}  // namespace mRegDll_Ocx_Tlb
