#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

// The monitor number as stored in the registry and in setting files: plain
// decimal, no sign, no leading zeros.
std::wstring MonitorNumberText(int position);

// The stored monitor number when it names one of `monitorCount` monitors
// (1 to the count); nothing when it is unreadable or out of range.
std::optional<int> ParseMonitorNumber(std::wstring_view text, int monitorCount);

// The stored monitor number when it names a monitor beyond the `monitorCount` there are now (one
// that is off, or not plugged in yet), up to what the selector can hold; nothing otherwise.
std::optional<int> AbsentMonitorNumber(std::wstring_view text, int monitorCount);

}  // namespace tidewell
