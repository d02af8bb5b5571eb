#include "playlist/command_enable.h"

namespace tidewell {

CommandEnableState ComputeCommandEnable(std::size_t count, int selectedIndex) {
    CommandEnableState state;
    if (count == 0) return state;
    state.removeAll = state.saveSetting = state.playAll = true;

    const bool selected = selectedIndex >= 0 && static_cast<std::size_t>(selectedIndex) < count;
    if (!selected) return state;
    state.remove = state.playSelected = true;

    if (count == 1) return state;
    const auto index = static_cast<std::size_t>(selectedIndex);
    state.moveUp = index != 0;
    state.moveDown = index != count - 1;
    return state;
}

}  // namespace tidewell
