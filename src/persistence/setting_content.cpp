#include "persistence/setting_content.h"

#include <algorithm>

#include "common/path_characters.h"
#include "persistence/monitor_number.h"

namespace tidewell {

std::vector<std::wstring> ComposeSettingLines(int monitorPosition, const std::wstring& programPath,
                                              const std::vector<PlaylistEntry>& playlist) {
    std::vector<std::wstring> lines;
    lines.reserve(playlist.size() + 2);
    lines.push_back(MonitorNumberText(monitorPosition));
    lines.push_back(programPath);
    for (const PlaylistEntry& entry : playlist) lines.push_back(FormatEntryLine(entry));
    return lines;
}

std::optional<SettingContent> InterpretSettingLines(const std::vector<std::wstring>& lines,
                                                    int monitorCount,
                                                    UnreadableEntryLine* unreadable) {
    if (lines.size() < 3) return std::nullopt;
    // A file that names what no file name can be was made to start something else. An entry's
    // path ends at its first TAB: what follows are the entry's own settings.
    const auto possibleEntry = [](const std::wstring& line) {
        return IsPossiblePath(std::wstring_view(line).substr(0, line.find(L'\t')));
    };
    if (!IsPossiblePath(lines[1]) || !std::all_of(lines.begin() + 2, lines.end(), possibleEntry)) {
        return std::nullopt;
    }
    SettingContent content;
    content.monitor = ParseMonitorNumber(lines[0], monitorCount).value_or(1);
    content.programPath = lines[1];
    for (auto line = lines.begin() + 2; line != lines.end(); ++line) {
        ParsedEntryLine parsed = ParseEntryLine(*line);
        if (!parsed.entry) {
            if (unreadable) *unreadable = {line->substr(0, line->find(L'\t')), parsed.error->item};
            return std::nullopt;
        }
        content.presentations.push_back(std::move(*parsed.entry));
    }
    return content;
}

}  // namespace tidewell
