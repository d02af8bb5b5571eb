#include "run/play_log.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

const LocalTimestamp kWinterParis{2026, 12, 8, 3, 12, 5, 123, 60};

TEST(FormatLogLine, ColumnsAndTimes_MatchTable) {
    struct Case {
        const char* name;
        LocalTimestamp time;
        RunEventRecord record;
        std::string line;
    };
    const Case cases[] = {
        {"run_start_no_path",
         kWinterParis,
         {RunEvent::RunStart, 2, L"", L"2 presentations"},
         "2026-12-08T03:12:05.123+01:00\trun-start\t2\t\t2 presentations\r\n"},
        {"show_end_west_of_utc_half_hour",
         {2027, 1, 31, 23, 59, 59, 7, -210},
         {RunEvent::ShowEnd, 1, L"C:\\Shows\\a.pptx", L"83.021 s, exit code 0"},
         "2027-01-31T23:59:59.007-03:30\tshow-end\t1\tC:\\Shows\\a.pptx\t83.021 s, exit code "
         "0\r\n"},
        {"utc_and_no_monitor",
         {2026, 6, 1, 0, 0, 0, 0, 0},
         {RunEvent::Error, 0, L"", L"Cannot open file"},
         "2026-06-01T00:00:00.000+00:00\terror\t\t\tCannot open file\r\n"},
        {"unicode_path_is_utf8",
         kWinterParis,
         {RunEvent::ShowStart, 3, L"D:\\\u65e5\u672c\\Caf\u00e9.ppsx", L""},
         "2026-12-08T03:12:05.123+01:00\tshow-start\t3\tD:\\\xE6\x97\xA5\xE6\x9C\xAC\\Caf\xC3\xA9"
         ".ppsx\t\r\n"},
        {"separators_inside_fields_become_spaces",
         kWinterParis,
         {RunEvent::ShowSkipped, 1, L"a\tb.pptx", L"line one\r\nline\ttwo"},
         "2026-12-08T03:12:05.123+01:00\tshow-skipped\t1\ta b.pptx\tline one  line two\r\n"},
        {"controls_of_every_kind_become_spaces",
         kWinterParis,
         {RunEvent::Error, 1, L"a\x1b[2Jb.pptx", L"v\vf\fd\x7f c\u0085l\u2028p\u2029\u0080."},
         "2026-12-08T03:12:05.123+01:00\terror\t1\ta [2Jb.pptx\tv f d  c l p  .\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatLogLine(c.time, c.record), c.line);
    }
}

// East and west of UTC, whole, half and quarter hours, summer time, across a midnight, a year's
// end and a leap day.
TEST(UtcOffsetMinutes, LocalMinusUtc_MatchTable) {
    const struct {
        const char* zone;
        LocalTimestamp utc, local;
        int offset;
    } cases[] = {
        {"utc", {2026, 6, 1, 0, 0, 0, 0}, {2026, 6, 1, 0, 0, 0, 0}, 0},
        {"paris_winter", {2026, 12, 8, 2, 12, 5, 123}, {2026, 12, 8, 3, 12, 5, 123}, 60},
        {"paris_summer_time_past_midnight", {2026, 7, 1, 22, 30}, {2026, 7, 2, 0, 30}, 120},
        {"new_york_the_year_before", {2026, 1, 1, 3, 0}, {2025, 12, 31, 22, 0}, -300},
        {"newfoundland_half_hour", {2026, 3, 1, 12, 0}, {2026, 3, 1, 8, 30}, -210},
        {"kathmandu_on_a_leap_day", {2024, 2, 28, 20, 0}, {2024, 2, 29, 1, 45}, 345},
    };
    for (const auto& c : cases) EXPECT_EQ(UtcOffsetMinutes(c.utc, c.local), c.offset) << c.zone;
}

TEST(RunEventName, EveryEventHasItsOwnName) {
    std::string names;
    for (int e = 0; e <= static_cast<int>(RunEvent::Error); ++e) {
        names += std::string(RunEventName(static_cast<RunEvent>(e))) + " ";
    }
    EXPECT_EQ(names,
              "run-start show-start show-placed show-end show-skipped show-timeout waiting stop "
              "run-end error ");
}

TEST(ShowEndDetail, SecondsWithMillisecondsAndTheExitCode) {
    EXPECT_EQ(ShowEndDetail(83021, 0), L"83.021 s, exit code 0");
    EXPECT_EQ(ShowEndDetail(5, 1), L"0.005 s, exit code 1");
    EXPECT_EQ(ShowEndDetail(-40, 259), L"0.000 s, exit code 259");
    EXPECT_EQ(ShowEndDetail(3600000, 0xC0000005), L"3600.000 s, exit code 0xC0000005");
}

}  // namespace
}  // namespace tidewell
