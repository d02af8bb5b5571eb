#pragma once
// The decks whose copies are brought up to date while a show plays, one at a time. The next
// entry's comes first: its turn is soonest. A sweep then takes every other deck of the list, from
// there on, and the announcement's: a large deck whose copy takes longer than one show, or one
// that plays only when the announcement does, is then copied before its turn rather than at it.
#include <cstddef>
#include <string>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

// Each deck once (as its copy is named, whatever the spelling of its path).
std::vector<std::wstring> CopyAheadOrder(const std::vector<PlaylistEntry>& list, std::size_t next,
                                         const std::vector<PlaylistEntry>& announcement,
                                         bool sweep);

}  // namespace tidewell
