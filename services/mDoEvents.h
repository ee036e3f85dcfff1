// Input test for long loops on the user-interface thread.
#pragma once
#include <cstdint>

namespace salva::mDoEvents {

// Non-zero when keyboard, mouse-button, paint or hot-key messages are waiting (or arrived since
// the last look); mouse moves and timers alone do not count.
uint32_t InputPending();

// Lets every window message that is waiting now run, then returns.
void PumpMessages();

}  // namespace salva::mDoEvents
