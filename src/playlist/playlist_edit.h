#pragma once

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace tidewell {

// Edits of the playlist's entries together with its single selection (an index, -1 for none).
// They work on the entries alone so that the list control only has to show the outcome.

// They are templates over the entry type, so that an entry moves with everything it carries.

namespace edit_detail {
template <class Entry>
bool IsEntry(const std::vector<Entry>& entries, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < entries.size();
}
}  // namespace edit_detail

// Removes the selected entry, if any, and returns the selection that follows: the entry that
// stood above the removed one, or -1 when the first entry went or nothing was selected.
template <class Entry>
int RemoveSelectedEntry(std::vector<Entry>& entries, int selected) {
    if (!edit_detail::IsEntry(entries, selected)) return -1;
    entries.erase(entries.begin() + selected);
    return selected - 1;
}

// Exchanges the selected entry with the one above (below). Returns the entry's new index, or
// nothing when there is no selected entry or it is already the first (last); then the entries
// are left untouched.
template <class Entry>
std::optional<int> MoveEntryUp(std::vector<Entry>& entries, int selected) {
    if (!edit_detail::IsEntry(entries, selected) || selected < 1) return std::nullopt;
    std::swap(entries[selected - 1], entries[selected]);
    return selected - 1;
}

template <class Entry>
std::optional<int> MoveEntryDown(std::vector<Entry>& entries, int selected) {
    if (!edit_detail::IsEntry(entries, selected + 1) || selected < 0) return std::nullopt;
    std::swap(entries[selected], entries[selected + 1]);
    return selected + 1;
}

// Moves the dragged entry so that it ends directly above the entry at `target`, or at the end
// when `target` is -1 (a drop below the last row; any index past the end counts as that too).
// Returns the dragged entry's new index, or nothing when the entries are unchanged because the
// entry was dropped onto itself or `dragged` names no entry.
template <class Entry>
std::optional<int> DragMoveEntry(std::vector<Entry>& entries, int dragged, int target) {
    if (!edit_detail::IsEntry(entries, dragged) || target == dragged) return std::nullopt;
    const auto from = entries.begin() + dragged;
    if (!edit_detail::IsEntry(entries, target)) {
        std::rotate(from, from + 1, entries.end());
        return static_cast<int>(entries.size()) - 1;
    }
    const auto to = entries.begin() + target;
    if (target < dragged) {
        std::rotate(to, from, from + 1);
        return target;
    }
    // Inserting before `target` and then deleting the dragged row shifts `target` up by one.
    std::rotate(from, from + 1, to);
    return target - 1;
}

}  // namespace tidewell
