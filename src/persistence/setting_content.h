#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tidewell {

// What a setting file asks for, by line position: line 1 the monitor, line 2
// the presentation program, the rest the playlist. Whether the paths still
// name files is for the caller to test.
struct SettingContent {
    int monitor = 1;
    std::wstring programPath;
    std::vector<std::wstring> presentations;
};

// The lines "Save setting" writes, none of them trimmed or tested.
std::vector<std::wstring> ComposeSettingLines(int monitorPosition, const std::wstring& programPath,
                                              const std::vector<std::wstring>& playlist);

// Reads the decoded, non-empty lines of a setting file. Fewer than three lines,
// or a program or presentation line that no file name can be (IsPossiblePath),
// is a format error (nothing). A monitor number out of 1..monitorCount gives 1,
// which is where the selector ends up for numbers too large or below its range.
std::optional<SettingContent> InterpretSettingLines(const std::vector<std::wstring>& lines,
                                                    int monitorCount);

}  // namespace tidewell
