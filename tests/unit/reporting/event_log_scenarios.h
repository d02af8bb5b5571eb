#pragma once
// Runs as the play log sees them, and the events that the Application log gets from them. Shared
// by the portable test of the feed and the Win32 test of the message table, so that every event
// the feed writes is also formatted by the table the program carries.
#include <string>
#include <vector>

#include "reporting/event_log_entries.h"

namespace tidewell::testing {

struct EventLogScenario {
    const char* name;
    std::vector<RunEventRecord> records;
    std::vector<EventLogEntry> expected;
};

inline RunEventRecord Line(RunEvent event, std::wstring path = {}, std::wstring detail = {}) {
    RunEventRecord record{event, 2, std::move(path), std::move(detail)};
    record.monitorName = L"LG TV";
    return record;
}
inline RunEventRecord Started(std::wstring path, ShareAnswer share, std::string copyTime = {}) {
    RunEventRecord record = Line(RunEvent::ShowStart, std::move(path));
    record.share = share;
    record.copyTime = std::move(copyTime);
    return record;
}
inline RunEventRecord MonitorAway(RunEventRecord record) {
    record.monitorGone = true;
    return record;
}

inline std::vector<EventLogScenario> EventLogScenarios() {
    using enum EventId;
    using Level = EventLevel;
    const std::wstring monitor = L"2 (LG TV)";
    const std::wstring deck = L"\\\\fs\\lobby\\welcome.pptx";
    const std::wstring other = L"\\\\fs\\lobby\\menu.pptx";
    const std::wstring local = L"C:\\decks\\local.pptx";
    const std::wstring gone = L"monitor 2, LG TV, is not connected";
    return {
        {"a run's start and end frame it; its shows and waits are the play log's",
         {Line(RunEvent::RunStart, {}, L"3 presentations, in a loop"),
          Started(local, ShareAnswer::None), Line(RunEvent::ShowEnd, local, L"83.021 s"),
          Line(RunEvent::Waiting, {}, L"waiting for 07:00"), Line(RunEvent::Stop, {}, L"now"),
          Line(RunEvent::RunEnd)},
         {{RunStarted, Level::Information, {monitor, L"3 presentations, in a loop"}},
          {RunEnded, Level::Information, {monitor}}}},
        {"what did not play, and errors with and without a presentation",
         {Line(RunEvent::ShowSkipped, deck, L"the presentation cannot be found"),
          Line(RunEvent::ShowTimeout, deck, L"no show window after 60 s: asked to close"),
          Line(RunEvent::Error, deck, L"the show could not be placed."),
          RunEventRecord{RunEvent::Error, 0, {}, L"the play log cannot be written"}},
         {{ShowSkipped, Level::Warning, {monitor, deck, L"the presentation cannot be found"}},
          {ShowGivenUp,
           Level::Warning,
           {monitor, deck, L"no show window after 60 s: asked to close"}},
          {ShowError, Level::Error, {monitor, deck, L"the show could not be placed."}},
          {RunError, Level::Error, {L"-", L"the play log cannot be written"}}}},
        {"the share goes away and comes back once each, whatever plays between",
         {Started(deck, ShareAnswer::Away, "2026-12-08T07:12:00.000+01:00"),
          Started(other, ShareAnswer::Away, "2026-12-07T18:00:00.000+01:00"),
          Started(local, ShareAnswer::None), Started(deck, ShareAnswer::Answered),
          Started(other, ShareAnswer::Answered)},
         {{ShareAway, Level::Warning, {monitor, deck, L"2026-12-08T07:12:00.000+01:00"}},
          {ShareBack, Level::Information, {monitor, deck}}}},
        {"the monitor goes while a show plays, and is back before the next one",
         {MonitorAway(Line(RunEvent::Waiting, {}, gone)),
          MonitorAway(Line(RunEvent::ShowEnd, deck, L"12.000 s")),
          MonitorAway(Line(RunEvent::Waiting, {}, gone)),
          Line(RunEvent::MonitorMoved, {}, L"monitor 2 is connected again"),
          Started(deck, ShareAnswer::Answered)},
         {{MonitorGone, Level::Warning, {monitor, gone}},
          {MonitorBack, Level::Information, {monitor}}}},
        {"an announcement takes the screen and gives it back",
         {Line(RunEvent::AlertStart, L"\\\\fs\\lobby\\alert.ppsv"),
          Line(RunEvent::AlertEnd, L"\\\\fs\\lobby\\alert.ppsv")},
         {{AnnouncementStarted, Level::Information, {monitor, L"\\\\fs\\lobby\\alert.ppsv"}},
          {AnnouncementEnded, Level::Information, {monitor, L"\\\\fs\\lobby\\alert.ppsv"}}}},
        {"a new run starts afresh: nothing of the last one's monitor or share is said back",
         {Started(deck, ShareAnswer::Away), MonitorAway(Line(RunEvent::Waiting, {}, gone)),
          Line(RunEvent::RunStart, {}, L"1 presentation"), Started(deck, ShareAnswer::Answered)},
         {{ShareAway, Level::Warning, {monitor, deck, L""}},
          {MonitorGone, Level::Warning, {monitor, gone}},
          {RunStarted, Level::Information, {monitor, L"1 presentation"}}}},
    };
}

}  // namespace tidewell::testing
