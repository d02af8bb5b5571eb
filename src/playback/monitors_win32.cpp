#include "playback/monitors_win32.h"

namespace tidewell {

std::vector<MonitorEntry> EnumerateMonitors() {
    std::vector<MonitorEntry> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT bounds, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<MonitorEntry>*>(data)->push_back({monitor, *bounds});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

std::optional<MonitorRect> ChosenMonitorBounds(const std::vector<MonitorEntry>& monitors,
                                               int number) {
    if (number < 1 || static_cast<std::size_t>(number) > monitors.size()) return std::nullopt;
    const MonitorEntry& entry = monitors[static_cast<std::size_t>(number) - 1];
    RECT bounds = entry.bounds;
    if (entry.handle) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(entry.handle, &info)) return std::nullopt;
        bounds = info.rcMonitor;
    }
    return MonitorRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

}  // namespace tidewell
