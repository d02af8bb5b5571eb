#pragma once
#include <windows.h>

namespace tidewell {

// Waits until the process ends or the wait fails, dispatching the thread's messages through the
// program's one message pump as they arrive. It sleeps in the kernel between messages instead of
// polling, so a long show costs no processor time.
void WaitForShowToEnd(HANDLE process);

}  // namespace tidewell
