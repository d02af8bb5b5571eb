#include "persistence/alert_file_win32.h"

#include "common/file_exists_win32.h"

namespace tidewell {

AlertFile::AlertFile(std::wstring path) : path_(path), watch_(std::move(path), false) {}

std::optional<std::vector<PlaylistEntry>> AlertFile::Look(std::optional<FileStamp>* toTake) {
    std::vector<PlaylistEntry> entries;
    std::wstring error;
    switch (watch_.RereadIfChanged(entries, error, toTake)) {
        case SettingFileWatch::Outcome::Unchanged:
            return std::nullopt;
        case SettingFileWatch::Outcome::Reread:
            return entries;
        case SettingFileWatch::Outcome::NotASettingFile:
            return std::vector<PlaylistEntry>{};
        case SettingFileWatch::Outcome::Failed:
            break;
    }
    // Withdrawn only when the folder answers and the file is not in it: an announcement is not
    // taken down because its share went away for a moment.
    if (PresenceOf(path_) == Presence::Gone) return std::vector<PlaylistEntry>{};
    return std::nullopt;
}

}  // namespace tidewell
