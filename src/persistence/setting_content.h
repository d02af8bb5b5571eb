#pragma once

#include <optional>
#include <string>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

// What a setting file asks for, by line position: line 1 the monitor, line 2
// the presentation program, the rest the playlist. Whether the paths still
// name files is for the caller to test.
struct SettingContent {
    int monitor = 1;
    std::wstring programPath;
    std::vector<PlaylistEntry> presentations;
};

// A presentation line whose settings cannot be read: its path, and the item as it stood.
struct UnreadableEntryLine {
    std::wstring path;
    std::wstring item;
};

// The lines "Save setting" writes, none of them trimmed or tested.
std::vector<std::wstring> ComposeSettingLines(int monitorPosition, const std::wstring& programPath,
                                              const std::vector<PlaylistEntry>& playlist);

// Reads the decoded, non-empty lines of a setting file. Fewer than three lines,
// or a program or presentation line that no file name can be (IsPossiblePath),
// is a format error (nothing). A monitor number out of 1..monitorCount gives 1,
// which is where the selector ends up for numbers too large or below its range. A presentation
// line with a setting that cannot be read is a format error too, and names that line in
// `unreadable` when given: nothing of such a file is taken.
std::optional<SettingContent> InterpretSettingLines(const std::vector<std::wstring>& lines,
                                                    int monitorCount,
                                                    UnreadableEntryLine* unreadable = nullptr);

}  // namespace tidewell
