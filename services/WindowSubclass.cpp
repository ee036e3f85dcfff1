#include "services/WindowSubclass.h"
#include <array>
#include <mutex>
#include <utility>

namespace salva {

namespace {

constexpr size_t kSlots = 32;

struct Slot {
    bool used = false;
    HWND hwnd = nullptr;
    WNDPROC previous = nullptr;
    WindowSubclass::Procedure procedure;
    bool removed = false;    // the owner let go: messages only pass on
    bool freeLater = false;  // unlinked while a message was in progress
    int depth = 0;           // messages of this slot in progress
    unsigned generation = 0;
};

// Never destroyed: subclasses held in static objects of other files go at exit in any order.
std::array<Slot, kSlots>& g_slots = *new std::array<Slot, kSlots>();
std::mutex& g_lock = *new std::mutex();

LRESULT Dispatch(size_t n, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

template <size_t N>
LRESULT CALLBACK SlotProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(N, hwnd, msg, wParam, lParam);
}

template <size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeProcs(std::index_sequence<I...>) {
    return {&SlotProc<I>...};
}
constexpr std::array<WNDPROC, kSlots> kProcs = MakeProcs(std::make_index_sequence<kSlots>());

WNDPROC CurrentProc(HWND hwnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)); }

// Caller holds g_lock.
void FreeSlot(Slot& s) {
    if (s.depth > 0) {
        s.freeLater = true;
        return;
    }
    s.used = false;
    s.hwnd = nullptr;
    s.previous = nullptr;
    s.procedure = nullptr;
    s.removed = false;
    s.freeLater = false;
    ++s.generation;
}

// Takes slot n out of its window's chain if that can be done without cutting anything off.
// Caller holds g_lock.
void TryUnlink(size_t n) {
    Slot& s = g_slots[n];
    if (!::IsWindow(s.hwnd)) {
        FreeSlot(s);
        return;
    }
    if (CurrentProc(s.hwnd) == kProcs[n]) {
        ::SetWindowLongPtrW(s.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous));
        FreeSlot(s);
        return;
    }
    // Directly below another of our slots: that one passes on to our predecessor instead.
    for (Slot& above : g_slots) {
        if (above.used && &above != &s && above.hwnd == s.hwnd && above.previous == kProcs[n]) {
            above.previous = s.previous;
            FreeSlot(s);
            return;
        }
    }
    // Below somebody else's subclass: stay as a link that passes everything on.
}

LRESULT Dispatch(size_t n, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Slot& s = g_slots[n];
    if (!s.used) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    ++s.depth;
    LRESULT result;
    if (s.procedure && !s.removed)
        result = s.procedure(hwnd, msg, wParam, lParam);
    else
        result = ::CallWindowProcW(s.previous, hwnd, msg, wParam, lParam);
    std::lock_guard<std::mutex> lock(g_lock);
    --s.depth;
    if (s.depth == 0) {
        if (msg == WM_NCDESTROY) {
            s.freeLater = true;  // the window is gone: nothing calls this link again
        }
        if (s.removed) s.procedure = nullptr;
        if (s.freeLater)
            FreeSlot(s);
        else if (s.removed)
            TryUnlink(n);
    } else if (msg == WM_NCDESTROY) {
        s.freeLater = true;
    }
    return result;
}

// Links on windows that went without telling (a subclass above that kept WM_NCDESTROY to
// itself). Caller holds g_lock.
void ReclaimDead() {
    for (Slot& s : g_slots)
        if (s.used && s.depth == 0 && !::IsWindow(s.hwnd)) FreeSlot(s);
}

}  // namespace

bool WindowSubclass::Install(HWND hwnd, Procedure procedure) {
    if (Installed() || !::IsWindow(hwnd) || !procedure) return false;
    std::lock_guard<std::mutex> lock(g_lock);
    ReclaimDead();
    for (size_t n = 0; n < kSlots; ++n) {
        Slot& s = g_slots[n];
        if (s.used) continue;
        s.used = true;
        s.hwnd = hwnd;
        s.procedure = std::move(procedure);
        s.removed = false;
        s.freeLater = false;
        // The slot is ready before the window can send it anything.
        ::SetLastError(ERROR_SUCCESS);
        s.previous = CurrentProc(hwnd);
        const LONG_PTR old = ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kProcs[n]));
        if (old == 0 && ::GetLastError() != ERROR_SUCCESS) {
            FreeSlot(s);
            return false;
        }
        s.previous = reinterpret_cast<WNDPROC>(old);
        slot_ = static_cast<int>(n);
        generation_ = s.generation;
        hwnd_ = hwnd;
        lastPrevious_ = s.previous;
        return true;
    }
    return false;
}

void WindowSubclass::Remove() {
    if (!Installed()) {
        slot_ = -1;
        return;
    }
    std::lock_guard<std::mutex> lock(g_lock);
    const size_t n = static_cast<size_t>(slot_);
    Slot& s = g_slots[n];
    lastPrevious_ = s.previous;
    s.removed = true;
    // A procedure still running keeps its closure until it returns.
    if (s.depth == 0) s.procedure = nullptr;
    TryUnlink(n);
    slot_ = -1;
}

bool WindowSubclass::Installed() const {
    if (slot_ < 0) return false;
    const Slot& s = g_slots[static_cast<size_t>(slot_)];
    return s.used && !s.removed && s.generation == generation_;
}

WNDPROC WindowSubclass::Previous() const {
    return Installed() ? g_slots[static_cast<size_t>(slot_)].previous : lastPrevious_;
}

LRESULT WindowSubclass::CallPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
    const WNDPROC previous = Previous();
    return previous ? ::CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                    : ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WindowSubclass::LinkedCount() {
    std::lock_guard<std::mutex> lock(g_lock);
    ReclaimDead();
    int count = 0;
    for (const Slot& s : g_slots) count += s.used ? 1 : 0;
    return count;
}

}  // namespace salva
