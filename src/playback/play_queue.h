#pragma once

#include <string>
#include <vector>

namespace tidewell {

// The play buttons share one handler, which is told which of them was clicked; the context
// menu's "Play all" and "play selected" stand for the two buttons.
enum class PlaySender {
    PlayAll,       // BitBtn1
    PlaySelected,  // BitBtn2
};

// The entries one play run works through: every playlist entry for "Play All", the selected one
// (if any) for "Play Selected".
std::vector<std::wstring> BuildPlayQueue(PlaySender sender,
                                         const std::vector<std::wstring>& playlist,
                                         int selectedIndex);

}  // namespace tidewell
