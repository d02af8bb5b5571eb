#include "playback/show_wait_win32.h"

#include "common/message_pump_win32.h"

namespace tidewell {

void WaitForShowToEnd(HANDLE process) {
    bool pumping = true;
    for (;;) {
        // Once the pump has seen WM_QUIT it puts it back for the main loop; waiting on the queue
        // after that would wake at once forever, so only the process is waited for then.
        const DWORD result = pumping ? ::MsgWaitForMultipleObjectsEx(
                                           1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE)
                                     : ::WaitForSingleObject(process, INFINITE);
        if (pumping && result == WAIT_OBJECT_0 + 1) {
            pumping = PumpPendingMessages();
            continue;
        }
        return;  // ended, failed, or abandoned: nothing more to wait for
    }
}

}  // namespace tidewell
