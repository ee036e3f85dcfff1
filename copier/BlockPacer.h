// How often a copy window looks at its message queue and redraws its progress while blocks go
// by. Asking the system for the queue's state costs more than a block of a fast medium, and a
// redraw far more, so both are paced by the clock instead of done after every block.
#pragma once
#include <cstdint>

namespace salva {

class BlockPacer {
public:
    // Progress is redrawn at most this often (and whenever a loop stops), by the copy's clock.
    static constexpr int64_t kDisplayIntervalMs = 33;
    static constexpr int64_t kInputLookIntervalMs = 15;

    // After every block. The queue is asked after every block that took a millisecond or more
    // (a disc, a damaged spot) and otherwise about every 15 ms; when the display has just
    // changed its paint is waiting anyway, so the queue is emptied without asking, which also
    // lets the timer and posted messages through.
    void PumpAfterBlock(bool displayChanged);

private:
    int64_t lastPumpCall_ = 0;
    int64_t lastInputLook_ = 0;
};

}  // namespace salva
