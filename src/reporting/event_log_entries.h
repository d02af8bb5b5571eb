#pragma once
// What a run tells the Windows Application log: the moments that the IT department's tools (a
// log forwarder, Configuration Manager, System Center) watch for, as events of the source
// "Tidewell" with fixed ids. The play log keeps every line for a person; this keeps the few that
// need someone, and the starts and ends that frame them.
//
// The ids are those of the message table in the program's resources (tidewell_events.mc): an
// event's text there is a whole sentence, its inserts (%1, %2, ...) are the strings given here.
#include <string>
#include <vector>

#include "run/play_log.h"

namespace tidewell {

inline constexpr wchar_t kEventSourceName[] = L"Tidewell";

enum class EventId : unsigned {
    RunStarted = 100,
    RunEnded = 101,
    ShowSkipped = 200,
    ShowGivenUp = 201,
    RunError = 300,
    ShowError = 301,
    AnnouncementStarted = 400,
    AnnouncementEnded = 401,
    MonitorGone = 500,
    MonitorBack = 501,
    ShareAway = 600,
    ShareBack = 601,
};

enum class EventLevel { Information, Warning, Error };

struct EventLogEntry {
    EventId id = EventId::RunError;
    EventLevel level = EventLevel::Error;
    // %1 is always the monitor ("2", or "2 (DELL U2419H)"; "-" when none); the rest by event.
    std::vector<std::wstring> inserts;
};

// Turns a run's play-log records into events. It remembers whether the monitor and the share are
// away, so that "gone" and "back" are each said once.
class EventLogFeed {
  public:
    std::vector<EventLogEntry> Take(const RunEventRecord& record);

  private:
    bool monitorGone_ = false;
    bool shareAway_ = false;
};

}  // namespace tidewell
