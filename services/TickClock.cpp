#include "services/TickClock.h"
#include <windows.h>

namespace salva::TickClock {

int64_t Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t PerMs() {
    static const int64_t perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart / 1000 > 0 ? f.QuadPart / 1000 : 1;
    }();
    return perMs;
}

}  // namespace salva::TickClock
