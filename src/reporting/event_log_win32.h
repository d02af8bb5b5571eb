#pragma once
// Writes a run's events to the Windows Application log as the source "Tidewell". The installer
// registers the source with the program's message table, so that Event Viewer shows whole
// sentences; a portable copy writes the same events, which Event Viewer then shows with their
// inserts only.
#include "reporting/event_log_entries.h"

namespace tidewell {

// Writes one event; false when the log refused it (the run goes on all the same). The source is
// registered with the log once per process, at the first event.
bool WriteToEventLog(const EventLogEntry& entry) noexcept;

}  // namespace tidewell
