#pragma once
// Keeps the display and the system on while a run shows or is about to start a show, so that
// Windows neither turns a lobby screen off nor starts the screen saver in the middle of a show;
// lets them go while the run waits and after it, so that the display may sleep at night.
#include <windows.h>

#include <functional>

#include "reporting/run_status.h"

namespace tidewell {

// SetThreadExecutionState, or what a test gives in its place.
using ExecutionStateSetter = std::function<EXECUTION_STATE(EXECUTION_STATE)>;

class KeepAwake {
  public:
    // The flags hold for the calling thread: made, fed and destroyed on the run's thread.
    explicit KeepAwake(ExecutionStateSetter set = ::SetThreadExecutionState)
        : set_(std::move(set)) {}
    ~KeepAwake() { Hold(false); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    // Holds or lets go as the run's new state asks.
    void Follow(RunState state) { Hold(KeepsScreenAwake(ScreenStateOf(state))); }

  private:
    void Hold(bool hold) {
        if (hold == held_ || !set_) return;
        held_ = hold;
        set_(hold ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
    }

    ExecutionStateSetter set_;
    bool held_ = false;
};

}  // namespace tidewell
