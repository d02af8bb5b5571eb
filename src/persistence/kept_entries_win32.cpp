#include "persistence/kept_entries_win32.h"

#include "common/file_exists_win32.h"

namespace tidewell {

KeptEntries EntriesNotGone(std::vector<PlaylistEntry> entries) {
    const std::vector<Presence> presence = PresenceOfAll(PathsOf(entries));
    KeptEntries result;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (presence[i] == Presence::Gone) continue;
        if (presence[i] == Presence::Unreachable) result.unreachable.push_back(entries[i].path);
        result.kept.push_back(std::move(entries[i]));
    }
    return result;
}

}  // namespace tidewell
