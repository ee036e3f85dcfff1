#include "mRecShellChangeNotifiShell.h"
#include "services/Holders.h"

namespace salva {
namespace mRecShellChangeNotifiShell {
namespace {

// shell32 exports the two functions by ordinal only on the older systems.
using RegisterFn = ULONG(WINAPI*)(HWND, int, LONG, UINT, int, const SHChangeNotifyEntry*);
using DeregisterFn = BOOL(WINAPI*)(ULONG);
constexpr WORD kRegisterOrdinal = 2;
constexpr WORD kDeregisterOrdinal = 4;

ULONG ShellNotifyHandle = 0;
unique_cotaskmem DesktopPidl;

HMODULE Shell32() {
    static unique_hmodule module(::LoadLibraryW(L"shell32.dll"));
    return module.get();
}

template <typename Fn>
Fn ShellOrdinal(WORD ordinal) {
    HMODULE shell = Shell32();
    if (!shell) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(shell, MAKEINTRESOURCEA(ordinal))));
}

}  // namespace

LPITEMIDLIST GetSpecialFolderPidl(HWND hwnd, int folder) {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(hwnd, folder, &pidl))) return nullptr;
    return pidl;
}

bool RegisterShellNotify(HWND hwnd) {
    if (ShellNotifyHandle != 0) return false;
    DesktopPidl.reset(GetSpecialFolderPidl(nullptr, CSIDL_DESKTOP));
    if (!DesktopPidl) return false;
    const auto reg = ShellOrdinal<RegisterFn>(kRegisterOrdinal);
    if (!reg) {
        DesktopPidl.reset();
        return false;
    }
    SHChangeNotifyEntry entry{};
    entry.pidl = static_cast<PCIDLIST_ABSOLUTE>(DesktopPidl.get());
    entry.fRecursive = TRUE;
    ShellNotifyHandle = reg(hwnd, 0xFF, static_cast<LONG>(0xFFFFFFFFu), WM_SHELLNOTIFY, 1, &entry);
    if (ShellNotifyHandle == 0) {
        DesktopPidl.reset();
        return false;
    }
    return true;
}

bool DeregisterShellNotify() {
    if (ShellNotifyHandle == 0) return false;
    const auto dereg = ShellOrdinal<DeregisterFn>(kDeregisterOrdinal);
    if (!dereg || !dereg(ShellNotifyHandle)) return false;
    ShellNotifyHandle = 0;
    DesktopPidl.reset();
    return true;
}

bool IsRegistered() { return ShellNotifyHandle != 0; }

std::wstring GetShellEventText(const std::wstring& p1, const std::wstring& p2, unsigned long eventCode) {
    switch (eventCode) {
    case 0x1: return L"重命名文件 “" + p1 + L"”为“" + p2 + L"”";
    case 0x2: return L"创建文件：“" + p1 + L"”";
    case 0x4: return L"删除文件：“" + p1 + L"”";
    case 0x8: return L"新建文件夹：“" + p1 + L"”";
    case 0x10: return L"删除文件夹：“" + p1 + L"”";
    case 0x20: return p1 + L"中插入可移动存储介质";
    case 0x40: return p1 + L"中移去可移动存储介质";
    case 0x80: return L"移去驱动器：" + p1;
    case 0x100: return L"添加驱动器：" + p1;
    case 0x200: return L"改变文件夹 “" + p1 + L"”的共享属性";
    case 0x400: return L"SHCNE_NETUNSHARE";
    case 0x800: return L"SHCNE_ATTRIBUTES";
    case 0x1000: return L"更新文件夹 “" + p1 + L"”";
    case 0x2000: return L"更新文件：“" + p1 + L"”";
    case 0x4000: return L"断开与服务器的连接“" + p1 + L"”“" + p2 + L"”";
    case 0x8000: return L"SHCNE_UPDATEIMAGE";
    case 0x10000: return L"SHCNE_DRIVEADDGUI";
    case 0x20000: return L"重命名文件夹“" + p1 + L"”为“" + p2 + L"”";
    case 0x40000: return L"磁盘空间大小改变";
    case 0x8000000: return L"改变文件关联";
    case 0x2381F: return L"SHCNE_DISKEVENTS";
    case 0xC0581E0: return L"SHCNE_GLOBALEVENTS";
    case 0x7FFFFFFF: return L"SHCNE_ALLEVENTS";
    case 0x80000000: return L"SHCNE_INTERRUPT";
    default: return {};
    }
}

}  // namespace mRecShellChangeNotifiShell
}  // namespace salva
