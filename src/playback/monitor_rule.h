#pragma once

#include <cstddef>
#include <string>

namespace tidewell {

// A monitor's full rectangle (not its work area) in virtual-screen pixels.
struct MonitorRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Slide-show windows keep their size when they are moved, so a show only
// fits a monitor of the primary display's size. The height is compared only
// when the widths agree.
bool MonitorHasPrimarySize(const MonitorRect& monitor, int primaryWidth, int primaryHeight);

// The message shown when monitor `monitorNumber` breaks the size rule.
std::wstring MonitorSizeMessage(int monitorNumber);

// The message shown when the chosen number names no monitor any more (the
// monitor list is taken once at start and a monitor may have gone since).
std::wstring MissingMonitorMessage(int monitorNumber);

}  // namespace tidewell
