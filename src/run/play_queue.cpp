#include "run/play_queue.h"

namespace tidewell {

std::vector<PlaylistEntry> BuildPlayQueue(PlaySender sender,
                                          const std::vector<PlaylistEntry>& playlist,
                                          int selectedIndex) {
    if (sender == PlaySender::PlayAll) return playlist;
    const bool hasSelection =
        selectedIndex >= 0 && static_cast<std::size_t>(selectedIndex) < playlist.size();
    if (!hasSelection) return {};
    PlaylistEntry entry = playlist[static_cast<std::size_t>(selectedIndex)];
    EntrySettings& settings = entry.settings;
    settings.days.reset();
    settings.hours.reset();
    settings.from.reset();
    settings.until.reset();
    return {std::move(entry)};
}

}  // namespace tidewell
