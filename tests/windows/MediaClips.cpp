#include "MediaClips.h"
#include "services/mDoEvents.h"
#include <algorithm>
#include <chrono>
#include <set>
#include <vector>

namespace mediatest {
namespace {

// The Unix name of a file under Wine, which the Unix ffmpeg needs.
std::wstring UnixName(const std::wstring& path) {
    using Fn = char*(CDECL*)(const wchar_t*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return {};
    char* unix = fn(path.c_str());
    if (!unix) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, unix, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) ::MultiByteToWideChar(CP_UTF8, 0, unix, -1, &out[0], n);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return out;
}

// Wine starts a Unix program without a process to wait on: ffmpeg writes a file beside the
// target and the shell renames it when ffmpeg is done, so the target appears whole.
std::wstring Make(const std::wstring& path, const std::wstring& arguments) {
    const std::wstring unix = UnixName(path);
    const size_t slash = unix.rfind(L'/');
    if (unix.empty() || slash == std::wstring::npos) return {};
    const std::wstring part = unix.substr(0, slash + 1) + L"part_" + unix.substr(slash + 1);
    std::wstring command = L"/bin/sh -c \"/usr/bin/ffmpeg -nostdin -v error -y " + arguments + L" '" + part +
                           L"' && mv '" + part + L"' '" + unix + L"'\"";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    salva::unique_handle process(pi.hProcess), thread(pi.hThread);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(testsupport::ScaledMs(120000));
    for (;;) {
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
        if (std::chrono::steady_clock::now() >= end) break;
        ::Sleep(50);
    }
    testsupport::ReportGaveUp("ffmpeg to make " + testsupport::Narrow(path), testsupport::ScaledMs(120000));
    return {};
}

const wchar_t kPicture[] = L"-f lavfi -i testsrc=duration=3:rate=25:size=";
const wchar_t kTone[] = L"-f lavfi -i sine=duration=3 ";

}  // namespace

MediaClips::MediaClips() {
    vcd_ = Make(dir_ / L"AVSEQ01.DAT", kPicture + std::wstring(L"352x288 ") + kTone + L"-target pal-vcd");
    dvd_ = Make(dir_ / L"VTS_01_1.MPG", kPicture + std::wstring(L"720x576 ") + kTone + L"-target pal-dvd");
    mp3_ = Make(dir_ / L"tone.mp3", kTone + std::wstring(L"-c:a libmp3lame"));
    wav_ = Make(dir_ / L"tone.wav", kTone + std::wstring(L"-c:a pcm_s16le"));
}

bool PumpUntil(const std::function<bool()>& done, int limitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(testsupport::ScaledMs(limitMs));
    while (std::chrono::steady_clock::now() < end) {
        salva::mDoEvents::PumpMessages();
        if (done()) return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    salva::mDoEvents::PumpMessages();
    if (done()) return true;
    testsupport::ReportGaveUp("a condition of the media test while pumping", testsupport::ScaledMs(limitMs));
    return false;
}

int VividColoursOnScreen(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    const int w = r.right, h = r.bottom;
    if (w <= 0 || h <= 0) return 0;
    // The window's own surface, as Wine hands it to the X server: the server's root image
    // misses windows it keeps in backing store.
    auto shown = salva::unique_window_dc::client(window);
    salva::unique_hdc mem(::CreateCompatibleDC(shown.get()));
    salva::unique_hbitmap bitmap(::CreateCompatibleBitmap(shown.get(), w, h));
    std::set<COLORREF> colours;
    {
        salva::select_scope sel(mem.get(), bitmap.get());
        ::BitBlt(mem.get(), 0, 0, w, h, shown.get(), 0, 0, SRCCOPY);
        for (int y = 0; y < h; y += 3)
            for (int x = 0; x < w; x += 3) {
                const COLORREF c = ::GetPixel(mem.get(), x, y);
                const int hi = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
                const int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
                if (hi - lo > 100) colours.insert(c);
            }
    }
    return static_cast<int>(colours.size());
}

}  // namespace mediatest
