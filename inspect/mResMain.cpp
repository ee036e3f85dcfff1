#include "inspect/mResMain.h"

#include "inspect/FileByteSource.h"
#include "services/FileSystem.h"
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

HMODULE MapAsData(const std::wstring& path) {
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
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
    std::wstring path = file;
    s.ResourceModuleHandle = MapAsData(path);
    // The system maps no data file by a path of MAX_PATH characters or more, not even in the
    // "\\?\" form; its short form may be short enough. The version library, which maps the
    // file by its path again, and the byte reads take the same form.
    if (!s.ResourceModuleHandle && file.size() >= MAX_PATH) {
        path = FileSystem().GetShortPathName(file);
        if (!path.empty() && path.size() < MAX_PATH) s.ResourceModuleHandle = MapAsData(path);
        if (!s.ResourceModuleHandle)
            s.ResourceModuleNote = L"文件路径太长（" + std::to_wstring(file.size()) + L" 个字符），无法载入其中的资源";
    }
    if (!s.ResourceModuleHandle) return false;
    s.ResourceModulePath = path;
    FileByteSource source(path);
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
    s.ResourceModuleNote.clear();
    s.Resources = {};
}

}  // namespace salva
