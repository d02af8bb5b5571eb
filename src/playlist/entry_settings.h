#pragma once
// What one playlist entry may say about its own showing: how long it stays on screen, how fast its
// slides move on, and on which days, at which hours and between which dates it plays. Stored after
// the entry's path on the same line, so that a list without them is stored exactly as before.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// Monday is bit 0, Sunday bit 6.
using DaySet = std::uint8_t;
inline constexpr DaySet kEveryDay = 0x7F;

// Minutes of the day. A span whose end is not after its start runs past midnight; its part after
// midnight belongs to the day it started on. `end` may be 24:00.
struct HourSpan {
    int start = 0;
    int end = 24 * 60;
    bool CrossesMidnight() const { return end <= start; }
    bool operator==(const HourSpan&) const = default;
};

struct EntrySettings {
    std::optional<int> showForSeconds;  // none: until the show ends
    std::optional<int> advanceSeconds;  // none: the deck's own timings
    std::optional<DaySet> days;
    std::optional<HourSpan> hours;
    std::optional<std::chrono::year_month_day> from;
    std::optional<std::chrono::year_month_day> until;
    // Items this version does not know, each exactly as it stood ("name=value"), written back
    // after the known ones.
    std::vector<std::wstring> unknownItems;

    bool Empty() const { return *this == EntrySettings{}; }
    // Whether days, hours or dates limit when the entry plays.
    bool HasSchedule() const { return days || hours || from || until; }
    bool operator==(const EntrySettings&) const = default;
};

struct PlaylistEntry {
    // Lets a plain path stand for an entry without settings.
    PlaylistEntry(std::wstring entryPath = {}, EntrySettings entrySettings = {})
        : path(std::move(entryPath)), settings(std::move(entrySettings)) {}
    PlaylistEntry(const wchar_t* entryPath) : path(entryPath) {}

    std::wstring path;
    EntrySettings settings;
    bool operator==(const PlaylistEntry&) const = default;
};

std::vector<std::wstring> PathsOf(const std::vector<PlaylistEntry>& entries);
std::vector<PlaylistEntry> EntriesOf(std::vector<std::wstring> paths);

// The longest time on screen or between slides that is accepted, so that it fits a timer in
// milliseconds.
inline constexpr int kMaxEntrySeconds = 2'147'483;

// Why an entry line could not be read: the item, as it stood, whose value is not understood.
struct EntryLineError {
    std::wstring item;
};

// An entry line: the path, then for each setting a TAB and "name=value". Empty items are passed
// over. A line without a TAB is a path, whatever it holds.
struct ParsedEntryLine {
    std::optional<PlaylistEntry> entry;
    std::optional<EntryLineError> error;
};
ParsedEntryLine ParseEntryLine(std::wstring_view line);
// For a line written by Tidewell itself (the stored preferences), where nothing may be lost: a line
// whose settings cannot be read gives its path and keeps every item as it stood, unread.
PlaylistEntry ParseEntryLineKeepingAll(std::wstring_view line);
// The line for an entry; a path alone when it has no settings.
std::wstring FormatEntryLine(const PlaylistEntry& entry);

// The values as items show them: "Mon-Fri", "Mon,Wed,Sat", "07:00-10:30", "2026-12-24".
std::wstring DaysText(DaySet days);
std::wstring HourSpanText(const HourSpan& hours);
std::wstring DateText(const std::chrono::year_month_day& date);
// And back; none when the text is not one.
std::optional<DaySet> ParseDays(std::wstring_view text);
std::optional<HourSpan> ParseHourSpan(std::wstring_view text);
std::optional<std::chrono::year_month_day> ParseDate(std::wstring_view text);
std::optional<int> ParseEntrySeconds(std::wstring_view text);

// What the list shows after a path with settings, e.g. "Mon-Fri 07:00-10:30 · 5 min · next slide
// 10 s"; empty for an entry without known settings.
std::wstring SettingsSummary(const EntrySettings& settings);

}  // namespace tidewell
