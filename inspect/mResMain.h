// The executable whose resources the browser shows, and the browser's state for the process:
// the module mapped as data, the temporary file of a video preview, the live dialog preview.
#pragma once
#include "inspect/ResourceDirectory.h"
#include <windows.h>
#include <functional>
#include <string>

namespace salva {

struct ResourceBrowserState {
    HMODULE ResourceModuleHandle = nullptr;
    // The file the module was mapped from: a module mapped as data has no loader entry, so
    // its version information is read from this path.
    std::wstring ResourceModulePath;
    // The file's resource directory as the program's own reader found it: the tree, the bytes
    // and every decision to let the system look a resource up come from it.
    readers::ResourceDirectory Resources;
    std::wstring ResourceTempFile;
    HWND PreviewDialogHandle = nullptr;
    // Why the last file opened could not be mapped, where the user can be told: a line for
    // the tree. Empty when it was mapped or failed as a file that is no executable.
    std::wstring ResourceModuleNote;
};

ResourceBrowserState& ResourceBrowser();

// Media command strings go through here: (command, reply buffer or null, its size) -> error.
using ResourceMciSender = std::function<DWORD(const std::wstring&, wchar_t*, UINT)>;
// Replaces the real mciSendStringW (tests); null puts it back.
void SetResourceMciSender(ResourceMciSender sender);
DWORD SendResourceMci(const std::wstring& command, wchar_t* reply = nullptr, UINT replyChars = 0);

// Maps the file as a data file (no code runs, nothing is bound or kept for a later normal
// load) and reads its resource directory; a module opened earlier is closed first. A path too
// long for the system's loader is mapped by the file's short form. True when the file is mapped.
bool OpenResourceModule(const std::wstring& file);
// Ends a video or dialog preview and releases the module; safe when nothing is open.
void CloseResourceModule();
// Closes the media device's "video" alias and deletes the temporary file, if a video was open.
void CloseResourceVideo();

}  // namespace salva
