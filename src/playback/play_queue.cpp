#include "playback/play_queue.h"

namespace tidewell {

std::vector<std::wstring> BuildPlayQueue(PlaySender sender,
                                         const std::vector<std::wstring>& playlist,
                                         int selectedIndex) {
    if (sender == PlaySender::PlayAll) return playlist;
    const bool hasSelection =
        selectedIndex >= 0 && static_cast<std::size_t>(selectedIndex) < playlist.size();
    if (!hasSelection) return {};
    return {playlist[static_cast<std::size_t>(selectedIndex)]};
}

}  // namespace tidewell
