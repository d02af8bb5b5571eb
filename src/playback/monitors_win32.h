#pragma once
// The display monitors as listed when the program starts, and the chosen one's bounds now.
#include <windows.h>

#include <optional>
#include <vector>

#include "playback/monitor_identity.h"
#include "playback/monitor_rule.h"

namespace tidewell {

// One display monitor as enumerated at start. The handle is asked for its bounds when a play
// starts; a null handle (tests) stands for a monitor whose bounds are the stored ones.
struct MonitorEntry {
    HMONITOR handle = nullptr;
    RECT bounds{};
    MonitorIdentity identity;
};

std::vector<MonitorEntry> EnumerateMonitors();

// Monitor `number` (from 1) of the list, its full rectangle as it is now. A monitor that has been
// unplugged since the list was made no longer answers, and a number past the list names nothing.
std::optional<MonitorRect> ChosenMonitorBounds(const std::vector<MonitorEntry>& monitors,
                                               int number);

// Where monitor `number` is in the list (see LocateMonitor), and its rectangle now when it is
// there. `byNumberWhenGone`: with the remembered monitor gone, the number's place stands in (a
// play that someone started); otherwise nothing does (a run that nobody watches waits for it).
struct FoundMonitor {
    MonitorPlace place;
    std::optional<MonitorRect> bounds;
};
FoundMonitor FindMonitor(const std::vector<MonitorEntry>& monitors, int number,
                         const std::optional<MonitorIdentity>& remembered, bool byNumberWhenGone);

}  // namespace tidewell
