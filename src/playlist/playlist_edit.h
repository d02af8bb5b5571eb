#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tidewell {

// Edits of the playlist's entries together with its single selection (an index, -1 for none).
// They work on the entries alone so that the list control only has to show the outcome.

// Removes the selected entry, if any, and returns the selection that follows: the entry that
// stood above the removed one, or -1 when the first entry went or nothing was selected.
int RemoveSelectedEntry(std::vector<std::wstring>& entries, int selected);

// Exchanges the selected entry with the one above (below). Returns the entry's new index, or
// nothing when there is no selected entry or it is already the first (last); then the entries
// are left untouched.
std::optional<int> MoveEntryUp(std::vector<std::wstring>& entries, int selected);
std::optional<int> MoveEntryDown(std::vector<std::wstring>& entries, int selected);

// Moves the dragged entry so that it ends directly above the entry at `target`, or at the end
// when `target` is -1 (a drop below the last row; any index past the end counts as that too).
// Returns the dragged entry's new index, or nothing when the entries are unchanged because the
// entry was dropped onto itself or `dragged` names no entry.
std::optional<int> DragMoveEntry(std::vector<std::wstring>& entries, int dragged, int target);

}  // namespace tidewell
