#pragma once

#include <cstddef>

namespace tidewell {

// Enabled state of the seven playlist-dependent commands. Each command stands for every control
// that issues it (toolbar button, push button, context-menu item), so one flag covers them all.
struct CommandEnableState {
    bool remove = false;
    bool removeAll = false;
    bool moveUp = false;
    bool moveDown = false;
    bool saveSetting = false;
    bool playAll = false;
    bool playSelected = false;

    bool operator==(const CommandEnableState&) const = default;
};

// The enabled states that follow from the playlist's size and its selected index (-1 for none).
// A selected index outside 0..count-1 counts as no selection.
CommandEnableState ComputeCommandEnable(std::size_t count, int selectedIndex);

}  // namespace tidewell
