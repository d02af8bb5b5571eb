#include "playback/wake_timer_win32.h"

#include <windows.h>

namespace tidewell {

// A synchronization timer: the wait that sees it run out also resets it, so that one wake is
// taken for the timer's once.
WaitableWakeTimer::WaitableWakeTimer() : timer_(::CreateWaitableTimerW(nullptr, FALSE, nullptr)) {}

bool WaitableWakeTimer::Arm(unsigned milliseconds) {
    if (!timer_) return false;
    // Negative: relative to now, in 100 ns units, so that a changed clock does not move it.
    LARGE_INTEGER due{};
    due.QuadPart = -static_cast<LONGLONG>(milliseconds) * 10'000;
    ::SetLastError(ERROR_SUCCESS);
    const BOOL set = ::SetWaitableTimer(timer_.get(), &due, 0, nullptr, nullptr, TRUE);
    // Set, but the computer does not support waking by it.
    return set && ::GetLastError() != ERROR_NOT_SUPPORTED;
}

void WaitableWakeTimer::Cancel() {
    if (timer_) ::CancelWaitableTimer(timer_.get());
}

bool WaitableWakeTimer::RanOut() {
    return timer_ && ::WaitForSingleObject(timer_.get(), 0) == WAIT_OBJECT_0;
}

}  // namespace tidewell
