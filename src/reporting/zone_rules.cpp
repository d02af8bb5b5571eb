#include "reporting/zone_rules.h"

#include <chrono>

#include "common/iso_date.h"

namespace tidewell {
namespace {

constexpr long long kDayMs = 86'400'000;
constexpr long long kMinuteMs = 60'000;

long long FloorDiv(long long value, long long by) {
    return value / by - (value % by != 0 && (value < 0) != (by < 0));
}

// The local moment (ms since 1970 on the zone's clock) of a change in `year`.
long long LocalMomentOf(const ZoneChange& change, int year) {
    int date = change.week;
    if (change.year == 0) {
        const int first = DayNumber(year, static_cast<unsigned>(change.month), 1);
        const int firstWeekday = static_cast<int>(((first % 7) + 7 + 4) % 7);  // 1970-01-01: Thu
        date = 1 + (change.weekday - firstWeekday + 7) % 7 + (change.week - 1) * 7;
        while (date > 1 && !ValidDate(year, change.month, date)) date -= 7;
    }
    return DayNumber(year, static_cast<unsigned>(change.month), static_cast<unsigned>(date)) *
               kDayMs +
           (change.hour * 60LL + change.minute) * kMinuteMs;
}

}  // namespace

const ZoneOffsets::Year& ZoneOffsets::YearOf(const std::string& key, int year) {
    const auto [found, added] = years_.try_emplace({key, year});
    if (!added) return found->second;
    Year& out = found->second;
    const std::optional<ZoneYear> rules = rules_ ? rules_(key, year) : std::nullopt;
    if (!rules) return out;
    out.known = true;
    out.standardMs = -(rules->biasMinutes + rules->standardBiasMinutes) * kMinuteMs;
    out.daylightMs = -(rules->biasMinutes + rules->daylightBiasMinutes) * kMinuteMs;
    if (rules->toStandard.month > 0 && rules->toDaylight.month > 0) {
        // Each change is given on the clock it ends.
        out.daylightFromUtcMs = LocalMomentOf(rules->toDaylight, year) - out.standardMs;
        out.standardFromUtcMs = LocalMomentOf(rules->toStandard, year) - out.daylightMs;
    }
    return out;
}

std::optional<long long> ZoneOffsets::At(const std::string& key, long long utcMs) {
    // The year of the moment in UTC: a change is never within a day of a new year.
    using namespace std::chrono;
    const int year =
        static_cast<int>(year_month_day{sys_days{days{FloorDiv(utcMs, kDayMs)}}}.year());
    const Year& rules = YearOf(key, year);
    if (!rules.known) return std::nullopt;
    if (rules.daylightFromUtcMs == rules.standardFromUtcMs) return rules.standardMs;
    // North of the equator daylight time lies within the year; south of it, around its turn.
    const bool daylight = rules.daylightFromUtcMs < rules.standardFromUtcMs
                              ? utcMs >= rules.daylightFromUtcMs && utcMs < rules.standardFromUtcMs
                              : utcMs >= rules.daylightFromUtcMs || utcMs < rules.standardFromUtcMs;
    return daylight ? rules.daylightMs : rules.standardMs;
}

}  // namespace tidewell
