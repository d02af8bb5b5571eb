#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "playback/monitor_rule.h"

namespace tidewell {

inline constexpr std::wstring_view kNoProgramMessage =
    L"Please select MS PowerPoint or MS PowerPoint Viewer executable file!";
inline constexpr std::wstring_view kEmptyPlaylistMessage =
    L"Please add MS PowerPoint presentation files to display!";
inline constexpr std::wstring_view kAnotherRunPlaysMessage =
    L"Another Tidewell is playing on this desktop. Stop it first (click its icon in the "
    L"notification area), then press \"Play All\" again.";

// What a play command knows when it starts, gathered from the window and
// the system by the caller.
struct PlayCheckInput {
    bool programExists = false;
    std::size_t playlistCount = 0;
    int monitorNumber = 1;
    // The chosen monitor's rectangle; none when the number names no monitor.
    std::optional<MonitorRect> monitor;
    // The name of the remembered monitor when it is the one that is not connected.
    std::wstring missingMonitorName;
    int primaryWidth = 0;
    int primaryHeight = 0;
};

// The message of the first check that fails, in the order the user should
// fix them: program, playlist, monitor. None when the play may start.
std::optional<std::wstring> FirstFailedPlayCheck(const PlayCheckInput& input);

// What a start with nobody at the desk waits for while that check fails: the program's path (or
// "the presentation program" when none is named), "presentations to play", or "monitor N" (with
// its name when known: "monitor 2, LG TV").
std::wstring AwaitedByFailedCheck(const PlayCheckInput& input, std::wstring_view programPath);

// The notification icon's tip while a start waits: "Tidewell: waiting for Z:\Shows\Lobby.ppsv".
std::wstring WaitingTip(std::wstring_view awaited);

}  // namespace tidewell
