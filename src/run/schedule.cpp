#include "run/schedule.h"

#include <algorithm>

namespace tidewell {
namespace {

using std::chrono::days;
using std::chrono::local_days;
using std::chrono::minutes;
using std::chrono::seconds;

// Offsets change a few times a year at most; a search that keeps finding changes is given up.
constexpr int kMaxSearchSteps = 1000;

bool DayAllowed(const EntrySettings& settings, local_days day) {
    if (settings.days) {
        const unsigned bit = std::chrono::weekday(day).iso_encoding() - 1;  // Monday 0
        if (!(*settings.days & (1u << bit))) return false;
    }
    const std::chrono::year_month_day date(day);
    return (!settings.from || *settings.from <= date) &&
           (!settings.until || date <= *settings.until);
}

seconds StartOfSpan(const EntrySettings& settings) {
    return settings.hours ? minutes(settings.hours->start) : seconds(0);
}

Instant AsInstant(LocalTime local, seconds offset) {
    return Instant((local - offset).time_since_epoch());
}

LocalTime AsLocal(Instant instant, seconds offset) {
    return LocalTime((instant + offset).time_since_epoch());
}

// The first instant in (known, changed] whose offset differs from `offset`, which `known` has and
// `changed` does not.
Instant FirstChange(Instant known, Instant changed, seconds offset, const UtcOffsetAt& offsetAt) {
    while (changed - known > seconds(1)) {
        const Instant middle = known + (changed - known) / 2;
        (offsetAt(middle) == offset ? known : changed) = middle;
    }
    return changed;
}

}  // namespace

bool IsDueAt(const EntrySettings& settings, LocalTime local) {
    const local_days day = std::chrono::floor<days>(local);
    const seconds time = local - day;
    if (!settings.hours) return DayAllowed(settings, day);
    const seconds start = minutes(settings.hours->start);
    const seconds end = minutes(settings.hours->end);
    if (!settings.hours->CrossesMidnight()) {
        return time >= start && time < end && DayAllowed(settings, day);
    }
    if (time >= start) return DayAllowed(settings, day);
    return time < end && DayAllowed(settings, day - days(1));
}

std::optional<LocalTime> NextDueLocal(const EntrySettings& settings, LocalTime local) {
    if (IsDueAt(settings, local)) return local;
    local_days day = std::chrono::floor<days>(local);
    if (settings.from) day = std::max(day, local_days(*settings.from));
    // Within a week of the first day that may play, every weekday has come once.
    for (int tries = 0; tries < 8; ++tries, day += days(1)) {
        if (settings.until && local_days(*settings.until) < day) return std::nullopt;
        const LocalTime start = day + StartOfSpan(settings);
        if (start >= local && DayAllowed(settings, day)) return start;
    }
    return std::nullopt;
}

bool IsDue(const EntrySettings& settings, Instant now, const UtcOffsetAt& offsetAt) {
    return IsDueAt(settings, AsLocal(now, offsetAt(now)));
}

// Between `now` and the next due local time, the local times the clock shows are all ones at which
// the entry does not play, however the offset changes in between, except when the clock is put
// back soon after `now` (it then shows times before the local `now` once more). So only the first
// day and the last day before the due time are searched for changes of the offset.
std::optional<Instant> NextDue(const EntrySettings& settings, Instant now,
                               const UtcOffsetAt& offsetAt) {
    Instant at = now;
    for (int step = 0; step < kMaxSearchSteps; ++step) {
        const seconds offset = offsetAt(at);
        const LocalTime local = AsLocal(at, offset);
        if (IsDueAt(settings, local)) return at;
        const auto due = NextDueLocal(settings, local);
        if (!due) return std::nullopt;
        const Instant candidate = AsInstant(*due, offset);
        const Instant probe = std::min(candidate, at + days(1));
        if (offsetAt(probe) != offset) {
            at = FirstChange(at, probe, offset, offsetAt);
            continue;
        }
        if (probe == candidate) return candidate;
        at = std::max(probe, candidate - days(1));
    }
    return std::nullopt;
}

std::optional<TestClockStart> ParseTestClock(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (text.size() < 19 || comma != 19 || text[10] != 'T') return std::nullopt;
    const std::wstring wide(text.begin(), text.end());
    const auto date = ParseDate(std::wstring_view(wide).substr(0, 10));
    const auto span = ParseHourSpan(wide.substr(11, 5) + L"-24:00");
    if (!date || !span || wide[16] != L':' || wide[17] < L'0' || wide[17] > L'5' ||
        wide[18] < L'0' || wide[18] > L'9') {
        return std::nullopt;
    }
    unsigned rate = 0;
    for (const char c : text.substr(comma + 1)) {
        if (c < '0' || c > '9' || rate > 100'000) return std::nullopt;
        rate = rate * 10 + static_cast<unsigned>(c - '0');
    }
    if (rate == 0) return std::nullopt;
    const seconds second((wide[17] - L'0') * 10 + (wide[18] - L'0'));
    return TestClockStart{local_days(*date) + minutes(span->start) + second, rate};
}

std::wstring NextShowText(LocalTime next, LocalTime now) {
    const local_days day = std::chrono::floor<days>(next);
    const auto minute = std::chrono::floor<minutes>(next - day).count();
    std::wstring time = HourSpanText(HourSpan{static_cast<int>(minute), 24 * 60});
    time.resize(5);
    if (day == std::chrono::floor<days>(now)) return time;
    static constexpr const wchar_t* kDays[] = {L"Mon", L"Tue", L"Wed", L"Thu",
                                               L"Fri", L"Sat", L"Sun"};
    static constexpr const wchar_t* kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                 L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    const std::chrono::year_month_day date(day);
    return std::wstring(kDays[std::chrono::weekday(day).iso_encoding() - 1]) + L" " +
           std::to_wstring(static_cast<unsigned>(date.day())) + L" " +
           kMonths[static_cast<unsigned>(date.month()) - 1] + L" " + time;
}

}  // namespace tidewell
