#include "run/schedule_clock_win32.h"

#include <windows.h>

#include <cstdlib>

namespace tidewell {
namespace {

using std::chrono::seconds;

// FILETIME counts 100 ns from 1601; the schedule counts seconds from 1970.
constexpr long long kFileTimeTo1970 = 11'644'473'600LL;

long long FileTimeSeconds(const FILETIME& time) {
    ULARGE_INTEGER value{};
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<long long>(value.QuadPart / 10'000'000ULL) - kFileTimeTo1970;
}

FILETIME FileTimeOf(Instant instant) {
    ULARGE_INTEGER value{};
    value.QuadPart = static_cast<ULONGLONG>(instant.time_since_epoch().count() + kFileTimeTo1970) *
                     10'000'000ULL;
    return FILETIME{value.LowPart, value.HighPart};
}

Instant SystemNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return Instant(seconds(FileTimeSeconds(now)));
}

// The zone's rules for the year of `instant` (summer time included): local minus UTC.
seconds OffsetAt(Instant instant) {
    const FILETIME utcTime = FileTimeOf(instant);
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME localTime{};
    if (!::FileTimeToSystemTime(&utcTime, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        !::SystemTimeToFileTime(&local, &localTime)) {
        return seconds(0);
    }
    return seconds(FileTimeSeconds(localTime) - FileTimeSeconds(utcTime));
}

}  // namespace

ScheduleClock ScheduleClockOfProcess() {
    ScheduleClock clock{SystemNow, OffsetAt, 1};
    const char* text = std::getenv("TIDEWELL_TEST_CLOCK");
    const auto test = text ? ParseTestClock(text) : std::nullopt;
    if (!test) return clock;
    const Instant guess((test->start - seconds(0)).time_since_epoch());
    const Instant start = guess - OffsetAt(guess);
    const ULONGLONG startTick = ::GetTickCount64();
    clock.now = [start, startTick, rate = test->rate] {
        const auto elapsedMs = static_cast<long long>(::GetTickCount64() - startTick);
        return start + seconds(elapsedMs * rate / 1000);
    };
    clock.rate = test->rate;
    return clock;
}

}  // namespace tidewell
