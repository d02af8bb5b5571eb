#include "playback/monitor_rule.h"

namespace tidewell {

bool MonitorHasPrimarySize(const MonitorRect& monitor, int primaryWidth, int primaryHeight) {
    if (monitor.right - monitor.left != primaryWidth) {
        return false;
    }
    return monitor.bottom - monitor.top == primaryHeight;
}

std::wstring MonitorSizeMessage(int monitorNumber) {
    return L"In order to run this application, please keep the size of "
           L"monitor " +
           std::to_wstring(monitorNumber) + L" same as monitor 1";
}

std::wstring MissingMonitorMessage(int monitorNumber) {
    return L"Monitor " + std::to_wstring(monitorNumber) +
           L" is not connected any more. Please choose another monitor, or "
           L"restart Tidewell after connecting it.";
}

}  // namespace tidewell
