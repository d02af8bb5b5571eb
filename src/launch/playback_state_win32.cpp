#include "launch/playback_state_win32.h"

namespace tidewell {

SharedPlaybackState& PlaybackState() {
    // Constant-initialised, so watchers can never see it before it exists.
    static constinit SharedPlaybackState state;
    return state;
}

}  // namespace tidewell
