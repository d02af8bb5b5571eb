#pragma once
// The alarm that wakes a sleeping computer for a scheduled show. A window timer never does: the
// power plan may put a lobby screen to sleep while it waits overnight, and the 07:00 show would
// then start when somebody touched the mouse. A waitable timer set to resume the system does,
// where the power plan allows wake timers.
#include <memory>

#include "common/unique_handle_win32.h"

namespace tidewell {

class WakeTimer {
  public:
    virtual ~WakeTimer() = default;
    // Wakes the computer in `milliseconds` (replacing an earlier time); false when this computer
    // cannot be woken by a timer.
    virtual bool Arm(unsigned milliseconds) = 0;
    virtual void Cancel() = 0;
    // Whether the time set has come since the last ask: the wake that followed was this timer's.
    virtual bool RanOut() = 0;
};

class WaitableWakeTimer : public WakeTimer {
  public:
    WaitableWakeTimer();
    bool Arm(unsigned milliseconds) override;
    void Cancel() override;
    bool RanOut() override;

  private:
    UniqueKernelHandle timer_;
};

}  // namespace tidewell
