#include "persistence/monitor_number.h"

#include "common/text_rules.h"

namespace tidewell {
namespace {

// The selector holds a signed 16-bit position.
constexpr int kHighestMonitorNumber = 32767;

}  // namespace

std::wstring MonitorNumberText(int position) {
    return std::to_wstring(position);
}

std::optional<int> ParseMonitorNumber(std::wstring_view text, int monitorCount) {
    const int number = ParseIntOrDefault(text, 1);
    if (number < 1 || number > monitorCount) return std::nullopt;
    return number;
}

std::optional<int> AbsentMonitorNumber(std::wstring_view text, int monitorCount) {
    const int number = ParseIntOrDefault(text, 1);
    if (number <= monitorCount || number > kHighestMonitorNumber) return std::nullopt;
    return number;
}

}  // namespace tidewell
