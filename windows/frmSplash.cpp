#include "windows/frmSplash.h"
#include "services/ModalLoop.h"
#include "services/Twips.h"
#include "services/mSystemInfo.h"
#include "services/mT3D.h"
#include <shellapi.h>
#include <cstring>
#include <vector>

namespace salva {

const wchar_t frmSplash::kCaption[] = L"关于 Salvadisk";
const wchar_t frmSplash::kMailAddress[] = L"salvadisk@example.com";

namespace {

using namespace splash_text;

const wchar_t kProgramTitle[] = L"Salvadisk";
const wchar_t kCompanyName[] = L"Salvadisk";
const int kVersionMajor = 1, kVersionMinor = 0, kVersionRevision = 0;
const wchar_t kNotice[] = L"本程序可自由使用和传播，作者不对使用后果负责。";

const wchar_t kWin9xKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
const wchar_t kWinNtKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t kProcessorKey[] = L"HARDWARE\\Description\\System\\CentralProcessor\\0";

// Design sizes in twips.
const int kClientWidthTw = 6000;
const int kClientHeightTw = 5430;
// The three etched separators; each is a pair of lines, one pixel apart.
const int kSeparatorTw[] = {1140, 2340, 4560};
const COLORREF kLineColours[] = {RGB(255, 255, 255), RGB(128, 128, 128)};

struct Design {
    int id;
    const wchar_t* cls;
    const wchar_t* caption;
    DWORD style;
    int x, y, w, h;
};
const Design kControls[] = {
    {frmSplash::IDC_IMAGE2, L"STATIC", L"", SS_ICON, 240, 240, 480, 480},
    {frmSplash::IDC_LBLPRODUCTNAME, L"STATIC", L"产品名", SS_NOPREFIX, 960, 240, 4800, 300},
    {frmSplash::IDC_LBLVERSION, L"STATIC", L"版本", SS_NOPREFIX, 960, 555, 4800, 255},
    {frmSplash::IDC_LABEL3, L"STATIC", L"公司名", SS_NOPREFIX, 960, 825, 4800, 255},
    {frmSplash::IDC_LABEL4, L"STATIC", L"计算机名", SS_NOPREFIX, 240, 1260, 5520, 255},
    {frmSplash::IDC_LABEL5, L"STATIC", L"用户名", SS_NOPREFIX, 240, 1515, 5520, 255},
    {frmSplash::IDC_LABEL6, L"STATIC", L"内存信息", SS_NOPREFIX, 240, 1770, 5520, 510},
    {frmSplash::IDC_LBLCOMPUTERINFO, L"STATIC", L"计算机信息", SS_NOPREFIX, 240, 2460, 5520, 1275},
    {frmSplash::IDC_LBLCPUINFORMATION, L"STATIC", L"CPU信息", SS_NOPREFIX, 240, 3735, 5520, 765},
    {frmSplash::IDC_LABEL2, L"STATIC", kNotice, SS_NOPREFIX, 240, 4665, 5520, 255},
    {frmSplash::IDC_LBLMAILTO, L"STATIC", frmSplash::kMailAddress, SS_NOPREFIX | SS_NOTIFY, 240, 5040, 3000, 255},
    {frmSplash::IDC_CMDSYSINFO, L"BUTTON", L"SystemInfo(&I)", BS_PUSHBUTTON | WS_TABSTOP, 3360, 4980, 1380, 360},
    {frmSplash::IDC_CMDOK, L"BUTTON", L"Sure(&S)", BS_DEFPUSHBUTTON | WS_TABSTOP, 4860, 4980, 900, 360},
};

}  // namespace

frmSplash& frmSplash::Default() {
    static frmSplash instance;
    return instance;
}

void frmSplash::ShowAbout() {
    frmSplash& about = Default();
    if (about.IsLoaded()) return;  // already up
    if (!about.Load()) return;
    about.ShowModal();
}

bool frmSplash::Load() {
    if (hwnd_) return true;
    const DWORD style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT r{0, 0, ToPixels(kClientWidthTw), ToPixels(kClientHeightTw)};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!CreateWindowOf(exStyle, kCaption, style, work.left + (work.right - work.left - w) / 2,
                        work.top + (work.bottom - work.top - h) / 2, w, h))
        return false;
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    for (const Design& d : kControls)
        ::CreateWindowExW(0, d.cls, d.caption, WS_CHILD | WS_VISIBLE | d.style, ToPixels(d.x), ToPixels(d.y),
                          ToPixels(d.w), ToPixels(d.h), hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)),
                          inst, nullptr);
    HICON icon = ::LoadIconW(inst, MAKEINTRESOURCEW(1));
    ::SendMessageW(Control(IDC_IMAGE2), STM_SETICON,
                   reinterpret_cast<WPARAM>(icon ? icon : ::LoadIconW(nullptr, IDI_APPLICATION)), 0);
    mT3D::ApplyWindowFontRule(hwnd_);
    Form_Load();
    return true;
}

void frmSplash::Form_Load() {
    auto set = [this](int id, const std::wstring& text) { ::SetWindowTextW(Control(id), text.c_str()); };
    set(IDC_LABEL3, std::wstring(L"CompanyName:") + kCompanyName);
    set(IDC_LABEL4, L"ComputerName:" + GetMyComputerName());
    set(IDC_LABEL5, L"UserName:" + GetMyUserName());
    set(IDC_LABEL6, GetMemoryInfo(0) + L"\r\n" + GetMemoryInfo(1));
    set(IDC_LBLVERSION, L"[Version: " + std::to_wstring(kVersionMajor) + L"." + std::to_wstring(kVersionMinor) + L"." +
                            std::to_wstring(kVersionRevision) + L"]");
    set(IDC_LBLPRODUCTNAME, kProgramTitle);
    GetWinVersion();
    SystemRecord system;
    ProcessorRecord processor;
    GetComputerInfo(system, processor);
    set(IDC_LBLCOMPUTERINFO, SystemLines(system));
    set(IDC_LBLCPUINFORMATION, ProcessorLines(processor));
}

std::wstring frmSplash::GetMyComputerName() {
    wchar_t name[256] = {};
    DWORD size = 255;
    if (!::GetComputerNameW(name, &size)) return L"";
    return std::wstring(name, size < 255 ? size : 255);
}

std::wstring frmSplash::GetMyUserName() {
    wchar_t name[256] = {};
    DWORD size = 255;
    if (!::GetUserNameW(name, &size)) return L"";
    // The count includes the terminating NUL.
    return name;
}

std::wstring frmSplash::ReadRemoteReg(HKEY hKey, const std::wstring& subKey, const std::wstring& valueName) {
    unique_hkey key;
    if (::RegOpenKeyExW(hKey, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return L"";
    BYTE data[1024] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return L"";
    if (size > sizeof(data)) size = sizeof(data);
    switch (type) {
    case REG_SZ:
    case REG_MULTI_SZ: {
        // Only the bytes the value holds count; the text ends at its first NUL.
        const auto* text = reinterpret_cast<const wchar_t*>(data);
        const size_t chars = size / sizeof(wchar_t);
        size_t n = 0;
        while (n < chars && text[n] != L'\0') ++n;
        return std::wstring(text, n);
    }
    case REG_DWORD: {
        if (size < sizeof(DWORD)) return L"";
        DWORD value = 0;
        std::memcpy(&value, data, sizeof(value));
        return HexText(value);
    }
    default: return L"";
    }
}

std::wstring frmSplash::GetWinVersion() {
    std::wstring version = ReadRemoteReg(HKEY_LOCAL_MACHINE, kWin9xKey, L"VersionNumber");
    const bool fromNt = version.empty();
    if (fromNt) version = ReadRemoteReg(HKEY_LOCAL_MACHINE, kWinNtKey, L"CurrentVersion");
    // Every system with the NT key's version is of the NT family, whatever its number.
    family_ = splash_text::FamilyCode(version, fromNt && !version.empty());
    return family_;
}

void frmSplash::GetComputerInfo(SystemRecord& system, ProcessorRecord& processor) const {
    const bool nt = family_ == L"NT";
    const wchar_t* key = nt ? kWinNtKey : kWin9xKey;
    auto read = [key](const wchar_t* name) { return ReadRemoteReg(HKEY_LOCAL_MACHINE, key, name); };
    system.productName = read(L"ProductName");
    if (system.productName.empty()) system.productName = L"Microsoft Windows NT";
    if (nt) {
        system.version = read(L"CurrentVersion");
        system.buildNumber = read(L"CurrentBuildNumber");
    } else {
        system.version = read(L"VersionNumber");
    }
    system.servicePack = read(L"CSDVersion");
    system.productId = read(L"ProductID");
    system.owner = read(L"RegisteredOwner");
    system.organisation = read(L"RegisteredOrganization");

    processor.name = ReadRemoteReg(HKEY_LOCAL_MACHINE, kProcessorKey, L"ProcessorNameString");
    processor.vendor = ReadRemoteReg(HKEY_LOCAL_MACHINE, kProcessorKey, L"VendorIdentifier");
    processor.identifier = ReadRemoteReg(HKEY_LOCAL_MACHINE, kProcessorKey, L"Identifier");
    processor.speed = SpeedText(ReadRemoteReg(HKEY_LOCAL_MACHINE, kProcessorKey, L"~Mhz"));
}

std::wstring frmSplash::GetMemoryInfo(int kind) const {
    MEMORYSTATUSEX status{sizeof(status)};
    if (!::GlobalMemoryStatusEx(&status)) return L"";
    return MemoryLine(kind, status.ullTotalPhys, status.ullAvailPhys);
}

void frmSplash::Paint(HDC dc) {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int left = ToPixels(240), right = client.right - ToPixels(240);
    int line = 0;
    for (int y : kSeparatorTw) {
        for (int k = 0; k < 2; ++k, ++line) {
            unique_hpen pen(::CreatePen(PS_SOLID, 1, kLineColours[line % 2]));
            select_scope use(dc, pen.get());
            const int py = ToPixels(y) + k;
            ::MoveToEx(dc, left, py, nullptr);
            ::LineTo(dc, right, py);
        }
    }
}

void frmSplash::ShowModal() {
    if (!hwnd_) return;
    RunModal(hwnd_, true);
}

void frmSplash::Unload() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT frmSplash::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        paint_scope paint(hwnd_);
        Paint(paint.dc());
        return 0;
    }
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_CMDOK:
        case IDOK:
        case IDCANCEL:
            if (HIWORD(wp) == BN_CLICKED) Unload();
            return 0;
        case IDC_CMDSYSINFO:
            if (HIWORD(wp) == BN_CLICKED) {
                mSystemInfo::StartSysInfo();
                Unload();
            }
            return 0;
        case IDC_LBLMAILTO:
            if (HIWORD(wp) == STN_CLICKED) {
                const std::wstring target = std::wstring(L"mailto:") + kMailAddress;
                ::ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
                Unload();
            }
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == Control(IDC_LBLMAILTO)) {
            HDC dc = reinterpret_cast<HDC>(wp);
            ::SetTextColor(dc, RGB(0, 0, 255));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        mT3D::DragWindow(hwnd_);
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace salva
