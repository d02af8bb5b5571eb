#pragma once
// Marks "a Tidewell of this user plays" on this desktop for as long as the marker lives, so that a
// second start with "/play" (a logon task and a Startup shortcut, say) leaves the one screen to the
// run that has it.
#include <optional>

#include "common/unique_handle_win32.h"

namespace tidewell {

class PlayingMarker {
  public:
    // The marker, or none while another run of this user holds it. It is created, not looked for,
    // so of two starts at the same instant exactly one has it. A marker that the system refuses
    // for any other reason counts as held: two runs on one screen are worse than none.
    static std::optional<PlayingMarker> Take();

  private:
    explicit PlayingMarker(UniqueKernelHandle mutex) : mutex_(std::move(mutex)) {}

    UniqueKernelHandle mutex_;
};

}  // namespace tidewell
