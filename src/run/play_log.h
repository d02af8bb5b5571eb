#pragma once
// The lines of the play log: one line per event of a run, so that whoever looks after a screen
// can see from afar what played, when, for how long, and why something did not.
//
// A line is UTF-8 text ending in CR LF, five columns separated by one tab each:
//   time      local time, ISO 8601 with milliseconds and the offset from UTC
//             ("2026-12-08T03:12:05.123+01:00")
//   event     run-start, show-start, show-placed, show-end, show-skipped, show-timeout, waiting,
//             stop, run-end, error, alert-start, alert-end, wake or monitor
//   monitor   the monitor's number (1 is the main one); empty when the event has none
//   path      the presentation's path; empty when the event has none
//   detail    show-end: "<seconds> s, exit code <code>"; show-skipped, waiting: why;
//             error: the message; otherwise free text or empty
// Control characters inside a column (tabs, line breaks of any kind, escapes) become spaces, so
// that a line is always one line, always has five columns and never drives a terminal.
#include <cstddef>
#include <string>
#include <string_view>

namespace tidewell {

enum class RunEvent {
    RunStart,
    ShowStart,
    ShowPlaced,
    ShowEnd,
    ShowSkipped,
    ShowTimeout,
    Waiting,
    Stop,
    RunEnd,
    Error,
    AlertStart,    // the announcement takes the screen; its file is the event's path
    AlertEnd,      // it gives the screen back to the list
    Wake,          // the computer was woken from sleep for a scheduled show
    MonitorMoved,  // the chosen monitor is listed at another place now; the detail says where
};

// Whether a show-start's presentation came through a share: one that answered, or one that did
// not, so that its last good copy plays.
enum class ShareAnswer { None, Answered, Away };

struct RunEventRecord {
    RunEvent event = RunEvent::Error;
    int monitor = 0;  // 0: none
    std::wstring path;
    std::wstring detail;
    // Where the run is in its list ("3 of 12"); 0 when the event comes from outside a run.
    std::size_t position = 0;
    std::size_t count = 0;
    // When the next scheduled show starts, as FormatIsoTime writes it; empty when none is awaited.
    std::string nextShow;
    // When the copy that plays was made (FormatIsoTime), for a show-start of a copy that plays
    // because its original could not be had; empty otherwise.
    std::string copyTime;
    // The name of the monitor that the number means on this computer; empty when not known.
    std::wstring monitorName;
    // For a show-start: whether its presentation came through a share, and whether that answered.
    ShareAnswer share = ShareAnswer::None;
    // The run's monitor is not connected as the event happens.
    bool monitorGone = false;
};

// The local time of an event; offsetMinutes is local time minus UTC (+60 in Paris in winter).
struct LocalTimestamp {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int offsetMinutes = 0;
};

// Local time minus UTC in minutes, from one moment read both ways: the calendar dates and times of
// day of the two readings (their offsetMinutes are not read).
int UtcOffsetMinutes(const LocalTimestamp& utc, const LocalTimestamp& local);

// "2026-12-08T03:12:05.123+01:00": the form every time of the log and the status file takes.
std::string FormatIsoTime(const LocalTimestamp& time);

// The detail of a run-start: "3 presentations, in a loop; time zone W. Europe Standard Time". The
// zone is the screen's Windows time zone key, so that a report splits its days at that zone's
// midnights; readers that do not know it read the detail as text.
std::wstring RunStartDetail(std::size_t count, bool loop, std::wstring_view zoneKey);
// The zone key of a run-start's detail; empty when it names none (a log of an older version).
std::string_view ZoneOfRunStart(std::string_view detail);

// "run-start", "show-end", ...
std::string_view RunEventName(RunEvent event);

// One whole line of the log, CR LF included.
std::string FormatLogLine(const LocalTimestamp& time, const RunEventRecord& record);

// The detail of a show-end: "83.021 s, exit code 0". Exit codes past 0xFFFF are system status
// codes, which are known by their hexadecimal form ("exit code 0xC0000005").
std::wstring ShowEndDetail(long long durationMilliseconds, unsigned long exitCode);

}  // namespace tidewell
