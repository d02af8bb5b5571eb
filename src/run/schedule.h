#pragma once
// When an entry with days, hours or dates plays. The clock and the time zone are passed in, so
// that the rules can be tried at any moment, including the days the clocks change.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "playlist/entry_settings.h"

namespace tidewell {

using LocalTime = std::chrono::local_seconds;
using Instant = std::chrono::sys_seconds;
// How far local time is ahead of UTC at an instant: the machine's time zone, or a test's.
using UtcOffsetAt = std::function<std::chrono::seconds(Instant)>;

// Whether the entry plays at this local time: its day (for a span past midnight, the day the span
// began) is one of its days and within its dates, and the time is within its hours.
bool IsDueAt(const EntrySettings& settings, LocalTime local);
// The first local time at or after `local` at which the entry plays; none when it never will.
std::optional<LocalTime> NextDueLocal(const EntrySettings& settings, LocalTime local);

bool IsDue(const EntrySettings& settings, Instant now, const UtcOffsetAt& offsetAt);
// The first instant at or after `now` at which the entry plays, the clock changes of the time zone
// included (an hour skipped in spring, an hour repeated in autumn); none when it never will.
std::optional<Instant> NextDue(const EntrySettings& settings, Instant now,
                               const UtcOffsetAt& offsetAt);

// The clock a run's schedule is read by. The program's is the system's; tests of the built program
// may start it at a moment of their choosing and let it run fast (TIDEWELL_TEST_CLOCK).
struct ScheduleClock {
    std::function<Instant()> now;
    UtcOffsetAt offsetAt;
    // How many of this clock's seconds pass in one real second.
    unsigned rate = 1;
};

// "2026-12-07T06:58:00,60": the moment (local time) the clock starts at, and its rate; none when
// the text is not that.
struct TestClockStart {
    LocalTime start;
    unsigned rate = 1;
};
std::optional<TestClockStart> ParseTestClock(std::string_view text);

// "07:00" for a moment later today, "Mon 14 Dec 07:00" for a later day: when the next show is.
std::wstring NextShowText(LocalTime next, LocalTime now);
// The start of a waiting run's detail before NextShowText: the status report finds the time by it.
inline constexpr std::wstring_view kNextShowPrefix = L"next show at ";

}  // namespace tidewell
