#include "playback/play_queue.h"

namespace tidewell {

std::vector<std::wstring> BuildPlayQueue(std::wstring_view senderName,
                                         const std::vector<std::wstring>& playlist,
                                         int selectedIndex) {
    if (senderName == kPlayAllSender) {
        return playlist;
    }
    const bool hasSelection =
        selectedIndex >= 0 && static_cast<std::size_t>(selectedIndex) < playlist.size();
    if (senderName == kPlaySelectedSender && hasSelection) {
        return {playlist[static_cast<std::size_t>(selectedIndex)]};
    }
    return {};
}

}  // namespace tidewell
