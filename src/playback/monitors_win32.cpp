#include "playback/monitors_win32.h"

#include <cstdio>
#include <cstdlib>

#include "playback/monitor_identity_win32.h"

namespace tidewell {
namespace {

// Only the end-to-end tests set these variables; they are not in the usage text. Each names a
// file that is read again at each enumeration, so that a test can change what the program sees
// during a run, which no virtual display here can do.
std::FILE* OpenTestFile(const wchar_t* variable) {
    const wchar_t* file = _wgetenv(variable);
    return file ? _wfopen(file, L"r") : nullptr;
}

// A number N: the program sees only the first N monitors (takes a monitor away, and gives it
// back).
std::size_t MonitorLimitForTests() {
    std::FILE* limit = OpenTestFile(L"TIDEWELL_TEST_MONITOR_LIMIT_FILE");
    if (!limit) return static_cast<std::size_t>(-1);
    unsigned count = 0;
    const bool read = std::fscanf(limit, "%u", &count) == 1;
    std::fclose(limit);
    return read ? count : static_cast<std::size_t>(-1);
}

// Places in Windows' own list, from 1 ("2 1"): the program sees those monitors in that order, as
// Windows lists monitors anew after a reboot or a driver update.
void ReorderForTests(std::vector<MonitorEntry>& monitors) {
    std::FILE* order = OpenTestFile(L"TIDEWELL_TEST_MONITOR_ORDER_FILE");
    if (!order) return;
    std::vector<MonitorEntry> reordered;
    unsigned place = 0;
    while (std::fscanf(order, "%u", &place) == 1) {
        if (place >= 1 && place <= monitors.size()) reordered.push_back(monitors[place - 1]);
    }
    std::fclose(order);
    monitors = std::move(reordered);
}

}  // namespace

std::vector<MonitorEntry> EnumerateMonitors() {
    std::vector<MonitorEntry> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT bounds, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<MonitorEntry>*>(data)->push_back(
                {monitor, *bounds, ReadMonitorIdentity(monitor)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    ReorderForTests(monitors);
    const std::size_t limit = MonitorLimitForTests();
    if (monitors.size() > limit) monitors.resize(limit);
    return monitors;
}

namespace {

std::optional<MonitorRect> BoundsNow(const MonitorEntry& entry) {
    RECT bounds = entry.bounds;
    if (entry.handle) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(entry.handle, &info)) return std::nullopt;
        bounds = info.rcMonitor;
    }
    return MonitorRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

}  // namespace

std::optional<MonitorRect> ChosenMonitorBounds(const std::vector<MonitorEntry>& monitors,
                                               int number) {
    if (number < 1 || static_cast<std::size_t>(number) > monitors.size()) return std::nullopt;
    return BoundsNow(monitors[static_cast<std::size_t>(number) - 1]);
}

FoundMonitor FindMonitor(const std::vector<MonitorEntry>& monitors, int number,
                         const std::optional<MonitorIdentity>& remembered, bool byNumberWhenGone) {
    std::vector<MonitorIdentity> listed;
    for (const MonitorEntry& entry : monitors) listed.push_back(entry.identity);
    FoundMonitor found{LocateMonitor(number, remembered, listed), std::nullopt};
    switch (found.place.found) {
        case MonitorFound::ByNumber:
        case MonitorFound::ByIdentity:
            found.bounds = BoundsNow(monitors[found.place.index]);
            break;
        case MonitorFound::Gone:
            if (byNumberWhenGone) found.bounds = ChosenMonitorBounds(monitors, number);
            break;
        case MonitorFound::None:
            break;
    }
    return found;
}

}  // namespace tidewell
