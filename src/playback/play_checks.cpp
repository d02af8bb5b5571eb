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

std::wstring AwaitedByFailedCheck(const PlayCheckInput& input, std::wstring_view programPath) {
    if (!input.programExists) {
        return programPath.empty() ? L"the presentation program" : std::wstring(programPath);
    }
    if (input.playlistCount == 0) return L"presentations to play";
    const std::wstring monitor = L"monitor " + std::to_wstring(input.monitorNumber);
    return input.missingMonitorName.empty() ? monitor : monitor + L", " + input.missingMonitorName;
}

std::wstring WaitingTip(std::wstring_view awaited) {
    return L"Tidewell: waiting for " + std::wstring(awaited);
}

}  // namespace tidewell
