#pragma once
// Entries read back from the stored preferences or a setting file, with the rule for paths that
// are gone or cannot be reached applied to their paths; settings stay with their entries.
#include <string>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

struct KeptEntries {
    std::vector<PlaylistEntry> kept;
    std::vector<std::wstring> unreachable;
};

// The entries whose paths are not gone, in their order, and which paths could not be reached.
// Each path is made full once, here, with the system's separators, so that one file has one
// spelling from then on (in its copy, the log and the status) whichever way the list wrote it:
// a relative one from the folder of `listFile` (the full path of the setting file the entries
// come from; empty for the stored preferences).
KeptEntries EntriesNotGone(std::vector<PlaylistEntry> entries, const std::wstring& listFile = {});

}  // namespace tidewell
