// Registration of the COM servers that lie in the program's own folder, run at every start so
// that the libraries beside the program become creatable by class identifier.
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

namespace mRegDll_Ocx_Tlb {

// Longest wait for one library's own registration entry point.
constexpr DWORD kRegistrationTimeoutMs = 10000;

// True when the name's last three characters, upper-cased, are DLL, OCX or TLB.
bool IsServerFileName(const std::wstring& name);

// Names of the files (not folders) in `folder` a registration walk tries, in listing order.
std::vector<std::wstring> ServerFilesIn(const std::wstring& folder);

// Registers every server file of `folder`; returns each name with its result.
std::vector<std::pair<std::wstring, bool>> RegisterFolderServers(const std::wstring& folder);
// The same for the folder of the running program.
void RegisterAppFolderServers();

bool RegisterServer(const std::wstring& path);
// Runs the library's DllUnregisterServer (unregister) or DllRegisterServer on a worker thread
// and waits up to `timeoutMs`. True only when the entry point returned a success code in time.
bool RegUnregServer(const std::wstring& path, bool unregister, DWORD timeoutMs = kRegistrationTimeoutMs);

}  // namespace mRegDll_Ocx_Tlb
