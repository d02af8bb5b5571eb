#include "run/schedule.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tidewell {
namespace {

using namespace std::chrono;

// Central European time: UTC+1, and UTC+2 from the last Sunday of March to the last Sunday of
// October, the clocks changing at 01:00 UTC.
seconds CentralEuropeanOffset(Instant at) {
    const year y = year_month_day(floor<days>(at)).year();
    const Instant summer = sys_days(y / March / Sunday[last]) + 1h;
    const Instant winter = sys_days(y / October / Sunday[last]) + 1h;
    return at >= summer && at < winter ? 2h : 1h;
}

// "2026-12-07 08:00 +1": a local time and the offset the clock has then.
Instant At(const std::wstring& text) {
    const auto date = ParseDate(text.substr(0, 10));
    const int minute = std::stoi(text.substr(11, 2)) * 60 + std::stoi(text.substr(14, 2));
    return sys_days(*date) + minutes(minute) - hours(std::stoi(text.substr(17)));
}

EntrySettings Settings(const std::wstring& items) {
    return ParseEntryLine(L"x\t" + items).entry->settings;
}

struct ScheduleCase {
    std::wstring items;
    std::wstring now;
    bool dueNow;
    std::wstring next;  // empty: never again
};

TEST(Schedule, DueNowAndNextDue_AsTheTableSays) {
    // 2026-12-07 is a Monday.
    const ScheduleCase cases[] = {
        {L"days=Mon-Fri\thours=07:00-10:30", L"2026-12-07 08:00 +1", true, L"2026-12-07 08:00 +1"},
        {L"days=Mon-Fri\thours=07:00-10:30", L"2026-12-07 10:30 +1", false, L"2026-12-08 07:00 +1"},
        {L"days=Mon-Fri\thours=07:00-10:30", L"2026-12-11 11:00 +1", false, L"2026-12-14 07:00 +1"},
        {L"days=Mon", L"2026-12-08 12:00 +1", false, L"2026-12-14 00:00 +1"},
        {L"days=Tue", L"2026-12-07 12:00 +1", false, L"2026-12-08 00:00 +1"},
        {L"days=Wed", L"2026-12-07 12:00 +1", false, L"2026-12-09 00:00 +1"},
        {L"days=Thu", L"2026-12-07 12:00 +1", false, L"2026-12-10 00:00 +1"},
        {L"days=Fri", L"2026-12-07 12:00 +1", false, L"2026-12-11 00:00 +1"},
        {L"days=Sat", L"2026-12-07 12:00 +1", false, L"2026-12-12 00:00 +1"},
        {L"days=Sun", L"2026-12-07 12:00 +1", false, L"2026-12-13 00:00 +1"},
        // A span across midnight belongs to the day it began on.
        {L"days=Fri\thours=22:00-02:00", L"2026-12-12 01:59 +1", true, L"2026-12-12 01:59 +1"},
        {L"days=Fri\thours=22:00-02:00", L"2026-12-12 02:00 +1", false, L"2026-12-18 22:00 +1"},
        {L"days=Fri\thours=22:00-02:00", L"2026-12-10 23:00 +1", false, L"2026-12-11 22:00 +1"},
        // The last day of a date range plays to its end.
        {L"from=2026-12-01\tuntil=2026-12-24", L"2026-12-24 23:59 +1", true,
         L"2026-12-24 23:59 +1"},
        {L"from=2026-12-01\tuntil=2026-12-24", L"2026-12-25 00:00 +1", false, L""},
        {L"from=2026-12-01\tuntil=2026-12-24", L"2026-11-30 12:00 +1", false,
         L"2026-12-01 00:00 +1"},
        {L"days=Sat\tuntil=2026-12-11", L"2026-12-07 12:00 +1", false, L""},
        // Spring: the clock goes from 02:00 to 03:00 on 2026-03-29.
        {L"hours=02:30-04:00", L"2026-03-29 01:00 +1", false, L"2026-03-29 03:00 +2"},
        {L"hours=05:00-06:00", L"2026-03-29 01:00 +1", false, L"2026-03-29 05:00 +2"},
        // Autumn: the clock goes from 03:00 back to 02:00 on 2026-10-25.
        {L"hours=02:00-02:15", L"2026-10-25 02:30 +2", false, L"2026-10-25 02:00 +1"},
        {L"hours=07:00-10:30", L"2026-10-24 12:00 +2", false, L"2026-10-25 07:00 +1"},
    };
    for (const ScheduleCase& c : cases) {
        const EntrySettings settings = Settings(c.items);
        const auto next = NextDue(settings, At(c.now), CentralEuropeanOffset);
        EXPECT_EQ(IsDue(settings, At(c.now), CentralEuropeanOffset), c.dueNow)
            << c.items << " " << c.now;
        EXPECT_EQ(next, c.next.empty() ? std::nullopt : std::optional(At(c.next)))
            << c.items << " " << c.now;
    }
}

TEST(Schedule, NextDue_NeverBeforeNowAndDueThenNotJustBefore) {
    std::mt19937 random(20261208);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const sys_days firstDay = sys_days(2025y / January / 1);
    for (int round = 0; round < 3000; ++round) {
        EntrySettings settings;
        if (pick(0, 1)) settings.days = static_cast<DaySet>(pick(1, kEveryDay));
        if (pick(0, 1)) {
            const int start = pick(0, 24 * 60 - 1);
            int end = pick(1, 24 * 60);
            if (end == start) end = start + 1;
            settings.hours = HourSpan{start, end};
        }
        const sys_days from = firstDay + days(pick(0, 3 * 365));
        if (pick(0, 1)) settings.from = year_month_day(from);
        if (pick(0, 1)) settings.until = year_month_day(from + days(pick(0, 60)));
        const Instant now = sys_days(firstDay) + seconds(pick(0, 3 * 365 * 86400));

        const auto next = NextDue(settings, now, CentralEuropeanOffset);
        if (!next) {
            // Never again: only a range that has ended can say so.
            ASSERT_TRUE(settings.until) << FormatEntryLine({L"x", settings});
            continue;
        }
        ASSERT_GE(*next, now) << FormatEntryLine({L"x", settings});
        ASSERT_TRUE(IsDue(settings, *next, CentralEuropeanOffset))
            << FormatEntryLine({L"x", settings});
        if (*next > now) {
            ASSERT_FALSE(IsDue(settings, *next - 1s, CentralEuropeanOffset))
                << FormatEntryLine({L"x", settings});
        }
    }
}

}  // namespace
}  // namespace tidewell
