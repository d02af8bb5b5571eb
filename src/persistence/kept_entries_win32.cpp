#include "persistence/kept_entries_win32.h"

#include "common/file_exists_win32.h"
#include "common/full_path_win32.h"

namespace tidewell {

KeptEntries EntriesNotGone(std::vector<PlaylistEntry> entries, const std::wstring& listFile) {
    for (PlaylistEntry& entry : entries) {
        const std::optional<std::wstring> full =
            listFile.empty() ? SystemFullPath(entry.path) : FullPathBeside(listFile, entry.path);
        if (full) entry.path = *full;
    }
    // Views, not copies: the entries keep their paths until the answers are in.
    std::vector<std::wstring_view> paths;
    paths.reserve(entries.size());
    for (const PlaylistEntry& entry : entries) paths.push_back(entry.path);
    const std::vector<Presence> presence = PresenceOfAll(paths);
    KeptEntries result;
    result.kept.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (presence[i] == Presence::Gone) continue;
        if (presence[i] == Presence::Unreachable) result.unreachable.push_back(entries[i].path);
        result.kept.push_back(std::move(entries[i]));
    }
    return result;
}

}  // namespace tidewell
