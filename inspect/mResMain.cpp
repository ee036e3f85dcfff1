#include "inspect/mResMain.h"

#include "inspect/FileByteSource.h"
#include <mmsystem.h>

namespace salva {

namespace {

ResourceMciSender& MciSender() {
    static ResourceMciSender sender;
    return sender;
}

// "avifile.tmp" in the user's temporary folder, which the user can always write to.
std::wstring TempFilePath() {
    wchar_t dir[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, dir);
    std::wstring path = (n > 0 && n <= MAX_PATH) ? std::wstring(dir, n) : std::wstring(L".\\");
    if (path.back() != L'\\') path += L'\\';
    return path + L"avifile.tmp";
}

bool FileThere(const std::wstring& path) {
    return !path.empty() && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

ResourceBrowserState& ResourceBrowser() {
    static ResourceBrowserState state;
    return state;
}

void SetResourceMciSender(ResourceMciSender sender) { MciSender() = std::move(sender); }

DWORD SendResourceMci(const std::wstring& command, wchar_t* reply, UINT replyChars) {
    if (MciSender()) return MciSender()(command, reply, replyChars);
    return ::mciSendStringW(command.c_str(), reply, replyChars, nullptr);
}

void CloseResourceVideo() {
    ResourceBrowserState& s = ResourceBrowser();
    if (!FileThere(s.ResourceTempFile)) return;
    SendResourceMci(L"close video");
    ::DeleteFileW(s.ResourceTempFile.c_str());
}

bool OpenResourceModule(const std::wstring& file) {
    CloseResourceModule();
    ResourceBrowserState& s = ResourceBrowser();
    s.ResourceTempFile = TempFilePath();
    s.ResourceModulePath = file;
    s.ResourceModuleHandle = ::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!s.ResourceModuleHandle) {
        s.ResourceModulePath.clear();
        return false;
    }
    FileByteSource source(file);
    s.Resources = readers::ReadResourceDirectory(source);
    return true;
}

void CloseResourceModule() {
    ResourceBrowserState& s = ResourceBrowser();
    CloseResourceVideo();
    if (s.PreviewDialogHandle) {
        ::DestroyWindow(s.PreviewDialogHandle);
        s.PreviewDialogHandle = nullptr;
    }
    if (s.ResourceModuleHandle) {
        ::FreeLibrary(s.ResourceModuleHandle);
        s.ResourceModuleHandle = nullptr;
    }
    s.ResourceModulePath.clear();
    s.Resources = {};
}

}  // namespace salva
