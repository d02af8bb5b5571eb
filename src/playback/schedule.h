#pragma once
// When an entry with days, hours or dates plays. The clock and the time zone are passed in, so
// that the rules can be tried at any moment, including the days the clocks change.
#include <chrono>
#include <functional>
#include <optional>

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

}  // namespace tidewell
