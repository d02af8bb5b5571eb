#include "playback/show_wait_win32.h"

#include "common/message_pump_win32.h"

namespace tidewell {

bool WaitForShowToEnd(HANDLE process, const std::function<bool()>& leaveEarly) {
    const DWORD handleCount = process ? 1 : 0;
    while (!leaveEarly()) {
        const DWORD result = ::MsgWaitForMultipleObjectsEx(handleCount, &process, INFINITE,
                                                           QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + handleCount) return true;  // ended, failed, or abandoned
        // Once the pump has seen WM_QUIT it puts it back for the main loop: the program is
        // ending, and waiting on the queue after that would wake at once forever.
        if (!PumpPendingMessages()) return false;
    }
    return true;
}

}  // namespace tidewell
