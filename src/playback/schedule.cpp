#include "playback/schedule.h"

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

}  // namespace tidewell
