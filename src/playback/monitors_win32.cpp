#include "playback/monitors_win32.h"

#include <cstdio>
#include <cstdlib>

namespace tidewell {
namespace {

// Only the end-to-end tests set this variable: it names a file holding a number N, and the
// program then sees only the first N monitors, read again at each enumeration, so that a test can
// take a monitor away (and give it back) during a run, which no virtual display here can do.
// It is not in the usage text.
std::size_t MonitorLimitForTests() {
    const wchar_t* file = _wgetenv(L"TIDEWELL_TEST_MONITOR_LIMIT_FILE");
    std::FILE* limit = file ? _wfopen(file, L"r") : nullptr;
    if (!limit) return static_cast<std::size_t>(-1);
    unsigned count = 0;
    const bool read = std::fscanf(limit, "%u", &count) == 1;
    std::fclose(limit);
    return read ? count : static_cast<std::size_t>(-1);
}

}  // namespace

std::vector<MonitorEntry> EnumerateMonitors() {
    std::vector<MonitorEntry> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT bounds, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<MonitorEntry>*>(data)->push_back({monitor, *bounds});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    const std::size_t limit = MonitorLimitForTests();
    if (monitors.size() > limit) monitors.resize(limit);
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
