#pragma once

#include <string>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

// The play buttons share one handler, which is told which of them was clicked; the context
// menu's "Play all" and "play selected" stand for the two buttons.
enum class PlaySender {
    PlayAll,       // BitBtn1
    PlaySelected,  // BitBtn2
};

// The entries one play run works through: every playlist entry for "Play All", the selected one
// (if any) for "Play Selected". A person who asks for an entry now wants to see it now: "Play
// Selected" queues it without its days, hours and dates (its time on screen and pace stay).
std::vector<PlaylistEntry> BuildPlayQueue(PlaySender sender,
                                          const std::vector<PlaylistEntry>& playlist,
                                          int selectedIndex);

}  // namespace tidewell
