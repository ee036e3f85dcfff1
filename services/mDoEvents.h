// Input test for long loops on the user-interface thread.
#pragma once
#include <cstdint>

namespace salva::mDoEvents {

// Non-zero when keyboard, mouse-button, paint or hot-key messages are waiting (or arrived since
// the last look); mouse moves and timers alone do not count.
uint32_t InputPending();

// Lets every window message that is waiting now run, then returns.
void PumpMessages();

// After a step of a long loop: lets waiting messages run when input is waiting, and otherwise
// once they last ran kLongestQuietMs ago or more, so that timers, posted messages and messages
// sent from other threads are answered even while no input comes.
constexpr int64_t kLongestQuietMs = 50;
void PumpWhenDue();

// For work that must not run commands in its middle: once kLongestQuietMs have passed since
// the last look, answers the messages other threads sent and paints what needs it; input and
// posted messages wait for the loop that owns the thread.
void AnswerWhenDue();
// The same at once.
void AnswerNow();

}  // namespace salva::mDoEvents
