#pragma once
// A screen's state as others see it from afar: the status file that a run keeps replacing on a
// share, so that whoever looks after many screens sees at a glance which one plays what, and
// which one went quiet. The document is JSON, one object with the keys the README lists.
#include <optional>
#include <string>
#include <string_view>

#include "run/play_log.h"
#include "run/run_machine.h"

namespace tidewell {

// Alert: a show of the announcement plays, or is about to, instead of the list.
enum class ScreenState { Playing, Closing, Resting, Waiting, Stopped, Alert };

// "playing", "closing", "resting", "waiting", "stopped", "alert".
std::string_view ScreenStateName(ScreenState state);

// The run's own state as others see it: a show that starts, plays or is looked for is "playing";
// a run that waits for its monitor is "waiting".
ScreenState ScreenStateOf(RunState state);

// Where an event leaves the screen when no run tells its state: a start that waits for its
// setting file, program or monitor, and gives up when stopped. While a run lives, its own states
// (ScreenStateOf) say where it is, and a "waiting" event only brings the reason.
ScreenState ScreenStateAfter(ScreenState before, RunEvent event);

// Whether the display and the system are kept on in this state: while a show plays or is about to
// start, not while the screen waits for a time or after the run.
bool KeepsScreenAwake(ScreenState state);

struct RunStatus {
    ScreenState state = ScreenState::Stopped;
    std::wstring detail;       // what a waiting or resting screen waits for
    int monitor = 0;           // 0: none yet
    std::wstring monitorName;  // what the monitor is called on this computer
    std::wstring presentation;
    std::size_t position = 0, count = 0;
    std::string since;     // when the state or the presentation last changed
    std::string nextShow;  // empty: none scheduled
    // The time of the copy that plays in place of an original that could not be had; empty when
    // the presentation plays as it is.
    std::string copyTime;
    std::wstring lastError;
    std::string lastErrorTime;
    bool alert = false;  // between the announcement's start and its end
};

// Takes in one event of the run that happened at `time` (FormatIsoTime).
void ApplyRunEvent(RunStatus& status, const RunEventRecord& record, const std::string& time);
// Takes in a change of the run's own state.
void ApplyRunState(RunStatus& status, RunState state, const std::string& time);

struct StatusIdentity {
    std::wstring computer;
    std::wstring user;
    std::string version;
};

// The whole status document, stamped with the time of this update.
std::string StatusDocument(const RunStatus& status, const StatusIdentity& identity,
                           const std::string& updated);

// Seconds since 1970-01-01 UTC of a time written as FormatIsoTime writes it (fractions and the
// offset honoured); none when the text is not such a time.
std::optional<long long> UtcSecondsOf(std::string_view isoTime);

}  // namespace tidewell
