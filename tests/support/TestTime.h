// The suite's time factor and the waits for a condition that every deadline of the tests goes
// through. A machine that runs 32-bit programs under emulation, or is busy with other work,
// takes longer for everything; the factor stretches every deadline alike, and a wait that
// gives up says what it waited for, so that a hang names its place.
#pragma once
#include <functional>
#include <string>

namespace testsupport {

// SALVA_TEST_TIME_SCALE, a whole number of at least 1 (tools/test.sh sets it, larger where
// 32-bit programs run under emulation); 1 when it is not set or not such a number.
int TimeScale();
// `ms` times the factor.
int ScaledMs(int ms);

// Prints that a wait for `what` gave up after `waitedMs` (to the error output, at once).
void ReportGaveUp(const std::string& what, int waitedMs);

// Waits until `done` holds, looking every `stepMs`, for at most ScaledMs(timeoutMs); on giving
// up it returns false, after reporting `what` when `timeoutMs` is a second or more. Handles no messages: for threads that only watch.
bool WaitUntil(const std::string& what, int timeoutMs, const std::function<bool()>& done, int stepMs = 20);
// The same while handling this thread's messages (sent and posted ones, painting, timers).
bool PumpUntil(const std::string& what, int timeoutMs, const std::function<bool()>& done);
// Handles this thread's messages until none is waiting (posted ones included).
void PumpPending();

}  // namespace testsupport
