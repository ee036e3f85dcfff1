// The performance counter, the clock that paces long loops: finer than the tick count's 10 to
// 16 ms steps, and cheap enough to read after every block.
#pragma once
#include <cstdint>

namespace salva::TickClock {

// The counter now, in its own ticks.
int64_t Now();
// How many ticks make a millisecond (at least 1).
int64_t PerMs();

}  // namespace salva::TickClock
