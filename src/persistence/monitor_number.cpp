#include "persistence/monitor_number.h"

#include "common/text_rules.h"

namespace tidewell {

std::wstring MonitorNumberText(int position) {
    return std::to_wstring(position);
}

std::optional<int> ParseMonitorNumber(std::wstring_view text, int monitorCount) {
    const int number = ParseIntOrDefault(text, 1);
    if (number < 1 || number > monitorCount) return std::nullopt;
    return number;
}

}  // namespace tidewell
