#include "playback/play_checks.h"

namespace tidewell {

std::optional<std::wstring> FirstFailedPlayCheck(const PlayCheckInput& input) {
    if (!input.programExists) {
        return std::wstring(kNoProgramMessage);
    }
    if (input.playlistCount == 0) {
        return std::wstring(kEmptyPlaylistMessage);
    }
    if (!input.monitor) {
        return MissingMonitorMessage(input.monitorNumber);
    }
    if (!MonitorHasPrimarySize(*input.monitor, input.primaryWidth, input.primaryHeight)) {
        return MonitorSizeMessage(input.monitorNumber);
    }
    return std::nullopt;
}

}  // namespace tidewell
