#pragma once
#include <windows.h>

#include <functional>

namespace tidewell {

// Waits until the process ends or the wait fails, dispatching the thread's messages through the
// program's one message pump as they arrive. It sleeps in the kernel between messages instead of
// polling, so a long show costs no processor time. `leaveEarly` is asked before the first wait
// and after every dispatch: something dispatched meanwhile (a stop, a close) may end the wait
// while the show still runs. Without a process, the wait lasts until `leaveEarly` holds. False
// when the program is ending (WM_QUIT was seen): nothing more may be started then.
bool WaitForShowToEnd(HANDLE process, const std::function<bool()>& leaveEarly);

}  // namespace tidewell
