#pragma once
// Marks "a Tidewell of this user plays" on this desktop for as long as the marker lives, so that a
// second start with "/play" (a logon task and a double-clicked setting file, say) leaves the one
// screen to the run that has it.
#include "common/unique_handle_win32.h"

namespace tidewell {

class PlayingMarker {
  public:
    // Throws nothing: a marker the system refuses marks nothing, and the run plays all the same.
    PlayingMarker();

    // True while a marker lives in any process of this logon session.
    static bool AnotherRunPlays();

  private:
    UniqueKernelHandle mutex_;
};

}  // namespace tidewell
