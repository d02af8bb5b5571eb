#include "playlist/entry_settings.h"

#include <array>
#include <cwctype>

#include "common/plain_text.h"

namespace tidewell {
namespace {

constexpr std::array<std::wstring_view, 7> kDayNames{L"Mon", L"Tue", L"Wed", L"Thu",
                                                     L"Fri", L"Sat", L"Sun"};
constexpr wchar_t kItemSeparator = L'\t';

bool SameLetters(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

// A whole number of exactly `digits` digits (any number of them for 0).
std::optional<int> Digits(std::wstring_view text, std::size_t digits = 0) {
    if (text.empty() || (digits != 0 && text.size() != digits) || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

std::optional<int> DayIndex(std::wstring_view name) {
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (SameLetters(name, kDayNames[i])) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<int> MinuteOfDay(std::wstring_view text, bool allowMidnightEnd) {
    const std::size_t colon = text.find(L':');
    if (colon == std::wstring_view::npos || colon == 0 || colon > 2) return std::nullopt;
    const auto hour = Digits(text.substr(0, colon));
    const auto minute = Digits(text.substr(colon + 1), 2);
    if (!hour || !minute || *minute > 59) return std::nullopt;
    const int value = *hour * 60 + *minute;
    if (value < 24 * 60 || (allowMidnightEnd && value == 24 * 60)) return value;
    return std::nullopt;
}

std::wstring TwoDigits(int value) {
    return {static_cast<wchar_t>(L'0' + value / 10), static_cast<wchar_t>(L'0' + value % 10)};
}

std::wstring DurationText(int seconds) {
    return seconds % 60 == 0 ? std::to_wstring(seconds / 60) + L" min"
                             : std::to_wstring(seconds) + L" s";
}

std::wstring Item(std::wstring_view name, const std::wstring& value) {
    std::wstring item(name);
    item += L'=';
    item += value;
    return item;
}

// Reads a known item into `settings`; false when its value cannot be read, true also for a
// name this version does not know (then the item is kept as it stood).
bool ReadItem(std::wstring_view item, EntrySettings& settings) {
    const std::size_t equals = item.find(L'=');
    const std::wstring_view name = item.substr(0, equals);
    const std::wstring_view value =
        equals == std::wstring_view::npos ? std::wstring_view() : item.substr(equals + 1);
    const auto read = [&](auto& field, const auto& parse) {
        field = parse(value);
        return field.has_value();
    };
    if (SameLetters(name, L"days")) return read(settings.days, ParseDays);
    if (SameLetters(name, L"hours")) return read(settings.hours, ParseHourSpan);
    if (SameLetters(name, L"from")) return read(settings.from, ParseDate);
    if (SameLetters(name, L"until")) return read(settings.until, ParseDate);
    if (SameLetters(name, L"showfor")) return read(settings.showForSeconds, ParseEntrySeconds);
    if (SameLetters(name, L"advance")) return read(settings.advanceSeconds, ParseEntrySeconds);
    settings.unknownItems.emplace_back(item);
    return true;
}

}  // namespace

std::vector<std::wstring> PathsOf(const std::vector<PlaylistEntry>& entries) {
    std::vector<std::wstring> paths;
    paths.reserve(entries.size());
    for (const PlaylistEntry& entry : entries) paths.push_back(entry.path);
    return paths;
}

std::vector<PlaylistEntry> EntriesOf(std::vector<std::wstring> paths) {
    std::vector<PlaylistEntry> entries;
    entries.reserve(paths.size());
    for (std::wstring& path : paths) entries.emplace_back(std::move(path));
    return entries;
}

namespace {

// The path before the first TAB, and each non-empty item after it, in order, until `take` says
// no. False when `take` stopped it.
template <typename Take>
bool SplitEntryLine(std::wstring_view line, PlaylistEntry& entry, Take take) {
    std::size_t end = line.find(kItemSeparator);
    entry = PlaylistEntry(std::wstring(line.substr(0, end)));
    while (end != std::wstring_view::npos) {
        const std::size_t start = end + 1;
        end = line.find(kItemSeparator, start);
        const std::wstring_view item = line.substr(start, end == line.npos ? end : end - start);
        if (!item.empty() && !take(item)) return false;
    }
    return true;
}

}  // namespace

ParsedEntryLine ParseEntryLine(std::wstring_view line) {
    PlaylistEntry entry(std::wstring{});
    std::wstring_view unreadable;
    if (!SplitEntryLine(line, entry, [&](std::wstring_view item) {
            unreadable = item;
            // Checked as a path is: an item is quoted in messages and logs.
            return !HasControlCharacter(item) && ReadItem(item, entry.settings);
        })) {
        return {std::nullopt, EntryLineError{std::wstring(unreadable)}};
    }
    const EntrySettings& settings = entry.settings;
    if (settings.from && settings.until && *settings.until < *settings.from) {
        return {std::nullopt, EntryLineError{Item(L"until", DateText(*settings.until))}};
    }
    return {std::move(entry), std::nullopt};
}

PlaylistEntry ParseEntryLineKeepingAll(std::wstring_view line) {
    ParsedEntryLine parsed = ParseEntryLine(line);
    if (parsed.entry) return std::move(*parsed.entry);
    PlaylistEntry entry(std::wstring{});
    SplitEntryLine(line, entry, [&](std::wstring_view item) {
        entry.settings.unknownItems.emplace_back(item);
        return true;
    });
    return entry;
}

std::wstring FormatEntryLine(const PlaylistEntry& entry) {
    std::wstring line = entry.path;
    const EntrySettings& settings = entry.settings;
    const auto add = [&line](std::wstring_view name, const std::wstring& value) {
        line += kItemSeparator;
        line += Item(name, value);
    };
    if (settings.days) add(L"days", DaysText(*settings.days));
    if (settings.hours) add(L"hours", HourSpanText(*settings.hours));
    if (settings.from) add(L"from", DateText(*settings.from));
    if (settings.until) add(L"until", DateText(*settings.until));
    if (settings.showForSeconds) add(L"showfor", std::to_wstring(*settings.showForSeconds));
    if (settings.advanceSeconds) add(L"advance", std::to_wstring(*settings.advanceSeconds));
    for (const std::wstring& item : settings.unknownItems) {
        line += kItemSeparator;
        line += item;
    }
    return line;
}

std::wstring DaysText(DaySet days) {
    std::wstring text;
    for (int day = 0; day < 7;) {
        if (!(days & (1 << day))) {
            ++day;
            continue;
        }
        int last = day;
        while (last + 1 < 7 && (days & (1 << (last + 1)))) ++last;
        if (!text.empty()) text += L',';
        text += kDayNames[day];
        // Two days in a row read better as a list than as a range.
        if (last - day >= 2) {
            text += L'-';
            text += kDayNames[last];
        } else if (last > day) {
            text += L',';
            text += kDayNames[last];
        }
        day = last + 1;
    }
    return text;
}

std::wstring HourSpanText(const HourSpan& hours) {
    const auto time = [](int minutes) {
        return TwoDigits(minutes / 60) + L":" + TwoDigits(minutes % 60);
    };
    return time(hours.start) + L"-" + time(hours.end);
}

std::wstring DateText(const std::chrono::year_month_day& date) {
    const int year = static_cast<int>(date.year());
    return TwoDigits(year / 100) + TwoDigits(year % 100) + L"-" +
           TwoDigits(static_cast<int>(static_cast<unsigned>(date.month()))) + L"-" +
           TwoDigits(static_cast<int>(static_cast<unsigned>(date.day())));
}

std::optional<DaySet> ParseDays(std::wstring_view text) {
    DaySet days = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(L',');
        const std::wstring_view token = text.substr(0, comma);
        text = comma == text.npos ? std::wstring_view() : text.substr(comma + 1);
        if (comma != std::wstring_view::npos && text.empty()) return std::nullopt;
        const std::size_t dash = token.find(L'-');
        const auto first = DayIndex(token.substr(0, dash));
        const auto last = dash == token.npos ? first : DayIndex(token.substr(dash + 1));
        if (!first || !last) return std::nullopt;
        // A range may wrap past Sunday: "Fri-Mon".
        for (int day = *first;; day = (day + 1) % 7) {
            days |= static_cast<DaySet>(1 << day);
            if (day == *last) break;
        }
    }
    if (days == 0) return std::nullopt;
    return days;
}

std::optional<HourSpan> ParseHourSpan(std::wstring_view text) {
    const std::size_t dash = text.find(L'-');
    if (dash == std::wstring_view::npos) return std::nullopt;
    const auto start = MinuteOfDay(text.substr(0, dash), false);
    const auto end = MinuteOfDay(text.substr(dash + 1), true);
    // A span that ends where it starts says nothing about the day.
    if (!start || !end || *start == *end) return std::nullopt;
    return HourSpan{*start, *end};
}

std::optional<std::chrono::year_month_day> ParseDate(std::wstring_view text) {
    if (text.size() != 10 || text[4] != L'-' || text[7] != L'-') return std::nullopt;
    const auto year = Digits(text.substr(0, 4), 4);
    const auto month = Digits(text.substr(5, 2), 2);
    const auto day = Digits(text.substr(8, 2), 2);
    if (!year || !month || !day) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::optional<int> ParseEntrySeconds(std::wstring_view text) {
    const auto value = Digits(text);
    if (!value || *value < 1 || *value > kMaxEntrySeconds) return std::nullopt;
    return value;
}

std::wstring SettingsSummary(const EntrySettings& settings) {
    std::vector<std::wstring> when;
    if (settings.days) when.push_back(DaysText(*settings.days));
    if (settings.hours) when.push_back(HourSpanText(*settings.hours));
    if (settings.from) when.push_back(L"from " + DateText(*settings.from));
    if (settings.until) when.push_back(L"until " + DateText(*settings.until));
    std::wstring summary;
    for (const std::wstring& part : when) summary += (summary.empty() ? L"" : L" ") + part;
    const auto add = [&summary](const std::wstring& part) {
        summary += (summary.empty() ? L"" : L" \u00B7 ") + part;
    };
    if (settings.showForSeconds) add(DurationText(*settings.showForSeconds));
    if (settings.advanceSeconds) add(L"next slide " + DurationText(*settings.advanceSeconds));
    return summary;
}

}  // namespace tidewell
