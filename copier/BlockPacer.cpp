#include "copier/BlockPacer.h"

#include "services/mDoEvents.h"
#include <windows.h>

namespace salva {

BlockPacer::BlockPacer() {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    ticksPerMs_ = f.QuadPart / 1000 > 0 ? f.QuadPart / 1000 : 1;
}

int64_t BlockPacer::NowTicks() const {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void BlockPacer::PumpAfterBlock(bool displayChanged) {
    const int64_t now = NowTicks();
    const bool slowBlock = now - lastPumpCall_ >= ticksPerMs_;
    lastPumpCall_ = now;
    if (!displayChanged) {
        if (!slowBlock && now - lastInputLook_ < kInputLookIntervalMs * ticksPerMs_) return;
        lastInputLook_ = now;
        if (!mDoEvents::InputPending()) return;
    }
    mDoEvents::PumpMessages();
}

}  // namespace salva
