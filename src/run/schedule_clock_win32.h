#pragma once
// The clock and the time zone that a run's schedules are read by.
#include "run/schedule.h"

namespace tidewell {

// The system's clock in the time zone the system is set to, as it is at each moment asked (a
// changed clock or zone counts from then on). TIDEWELL_TEST_CLOCK ("2026-12-07T06:58:00,60")
// starts it instead at that local time, running that many times as fast: for tests of the built
// program, which cannot wait for 07:00.
ScheduleClock ScheduleClockOfProcess();

}  // namespace tidewell
