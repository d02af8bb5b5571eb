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
KeptEntries EntriesNotGone(std::vector<PlaylistEntry> entries);

}  // namespace tidewell
