#include "copier/BlockPacer.h"

#include "services/TickClock.h"
#include "services/mDoEvents.h"

namespace salva {

void BlockPacer::PumpAfterBlock(bool displayChanged) {
    const int64_t now = TickClock::Now();
    const int64_t ticksPerMs = TickClock::PerMs();
    const bool slowBlock = now - lastPumpCall_ >= ticksPerMs;
    lastPumpCall_ = now;
    if (!displayChanged) {
        if (!slowBlock && now - lastInputLook_ < kInputLookIntervalMs * ticksPerMs) return;
        lastInputLook_ = now;
        if (!mDoEvents::InputPending()) return;
    }
    mDoEvents::PumpMessages();
}

}  // namespace salva
