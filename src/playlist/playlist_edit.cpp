#include "playlist/playlist_edit.h"

#include <algorithm>
#include <utility>

namespace tidewell {

namespace {

bool IsEntry(const std::vector<std::wstring>& entries, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < entries.size();
}

}  // namespace

int RemoveSelectedEntry(std::vector<std::wstring>& entries, int selected) {
    if (!IsEntry(entries, selected)) return -1;
    entries.erase(entries.begin() + selected);
    return selected - 1;
}

std::optional<int> MoveEntryUp(std::vector<std::wstring>& entries, int selected) {
    if (!IsEntry(entries, selected) || selected < 1) return std::nullopt;
    std::swap(entries[selected - 1], entries[selected]);
    return selected - 1;
}

std::optional<int> MoveEntryDown(std::vector<std::wstring>& entries, int selected) {
    if (!IsEntry(entries, selected + 1) || selected < 0) return std::nullopt;
    std::swap(entries[selected], entries[selected + 1]);
    return selected + 1;
}

std::optional<int> DragMoveEntry(std::vector<std::wstring>& entries, int dragged, int target) {
    if (!IsEntry(entries, dragged) || target == dragged) return std::nullopt;
    const auto from = entries.begin() + dragged;
    if (!IsEntry(entries, target)) {
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
