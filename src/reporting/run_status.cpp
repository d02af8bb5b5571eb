#include "reporting/run_status.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iterator>

#include "common/plain_text.h"

namespace tidewell {
namespace {

// In the order the README lists the keys, for a person who opens the file.
using Json = nlohmann::ordered_json;

Json TextOrNull(std::wstring_view text) {
    return text.empty() ? Json(nullptr) : Json(PlainUtf8(text));
}

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

}  // namespace

std::string_view ScreenStateName(ScreenState state) {
    // In the order of the enumeration.
    constexpr std::string_view kNames[] = {"playing", "closing", "resting",
                                           "waiting", "stopped", "alert"};
    const auto index = static_cast<std::size_t>(state);
    return index < std::size(kNames) ? kNames[index] : "stopped";
}

ScreenState ScreenStateOf(RunState state) {
    switch (state) {
        case RunState::Launching:
        case RunState::Showing:
        case RunState::AwaitingHandOff:
        case RunState::Held:
            return ScreenState::Playing;
        case RunState::Closing:
            return ScreenState::Closing;
        case RunState::Resting:
            return ScreenState::Resting;
        case RunState::AwaitingMonitor:
        case RunState::AwaitingTime:
        case RunState::AwaitingReach:
            return ScreenState::Waiting;
        case RunState::Over:
            return ScreenState::Stopped;
    }
    // A state the run has gained since: it waits for something before its next show.
    return ScreenState::Waiting;
}

ScreenState ScreenStateAfter(ScreenState before, RunEvent event) {
    switch (event) {
        case RunEvent::RunStart:
        case RunEvent::ShowStart:
        case RunEvent::ShowPlaced:
        case RunEvent::ShowEnd:
            return ScreenState::Playing;
        case RunEvent::ShowTimeout:
            return ScreenState::Closing;
        case RunEvent::Waiting:
            return KeepsScreenAwake(before) ? before : ScreenState::Waiting;
        case RunEvent::RunEnd:
            return ScreenState::Stopped;
        case RunEvent::Stop:
            // A start that waited gives up; a run plays its show to the end first.
            return before == ScreenState::Waiting ? ScreenState::Stopped : before;
        case RunEvent::ShowSkipped:
        case RunEvent::Error:
        case RunEvent::AlertStart:
        case RunEvent::AlertEnd:
        case RunEvent::Wake:
        case RunEvent::MonitorMoved:
            return before;
    }
    return before;
}

bool KeepsScreenAwake(ScreenState state) {
    return state == ScreenState::Playing || state == ScreenState::Closing ||
           state == ScreenState::Resting || state == ScreenState::Alert;
}

namespace {

void SetState(RunStatus& status, ScreenState state, std::wstring presentation,
              const std::string& time) {
    // While the announcement has the screen, its shows are what the screen plays.
    if (state == ScreenState::Alert) state = ScreenState::Playing;
    if (status.alert && state == ScreenState::Playing) state = ScreenState::Alert;
    if (state != ScreenState::Waiting && state != ScreenState::Resting) status.detail.clear();
    if (state != ScreenState::Waiting) status.nextShow.clear();
    if (state != status.state || presentation != status.presentation || status.since.empty()) {
        status.since = time;
    }
    status.state = state;
    status.presentation = std::move(presentation);
}

}  // namespace

void ApplyRunEvent(RunStatus& status, const RunEventRecord& record, const std::string& time) {
    // A presentation skipped (not whole, needs a password, cannot be found) is as much the
    // run's last error as an error line.
    if (record.event == RunEvent::Error || record.event == RunEvent::ShowSkipped) {
        status.lastError = record.detail;
        status.lastErrorTime = time;
        if (record.event == RunEvent::Error) return;
    }
    if (record.event == RunEvent::AlertStart || record.event == RunEvent::AlertEnd) {
        status.alert = record.event == RunEvent::AlertStart;
    }
    // A run that has ended plays nothing, whatever it was playing when it was stopped.
    if (record.event == RunEvent::RunEnd) status.alert = false;
    const ScreenState state = ScreenStateAfter(status.state, record.event);
    std::wstring presentation = status.presentation;
    if (record.event == RunEvent::ShowStart || record.event == RunEvent::ShowPlaced) {
        presentation = record.path;
        // The announcement has no place in the list.
        status.position = status.alert ? 0 : record.position;
        status.count = record.count;
    } else if (state != ScreenState::Closing && record.event != RunEvent::Stop &&
               record.event != RunEvent::ShowSkipped && !status.alert &&
               record.event != RunEvent::AlertEnd) {
        presentation.clear();
    }
    if (record.monitor > 0) {
        status.monitor = record.monitor;
        status.monitorName = record.monitorName;
    }
    if (record.event == RunEvent::ShowStart) status.copyTime = record.copyTime;
    if (presentation.empty()) status.copyTime.clear();
    SetState(status, state, std::move(presentation), time);
    if (record.event == RunEvent::Waiting) {
        status.detail = record.detail;
        status.nextShow = record.nextShow;
    }
}

void ApplyRunState(RunStatus& status, RunState state, const std::string& time) {
    SetState(status, ScreenStateOf(state), status.presentation, time);
}

std::string StatusDocument(const RunStatus& status, const StatusIdentity& identity,
                           const std::string& updated) {
    const bool showing = !status.presentation.empty();
    const Json document = {
        {"computer", TextOrNull(identity.computer)},
        {"user", TextOrNull(identity.user)},
        {"version", identity.version},
        {"state", ScreenStateName(status.state)},
        {"detail", TextOrNull(status.detail)},
        {"monitor", status.monitor > 0 ? Json(status.monitor) : Json(nullptr)},
        {"monitorName", status.monitor > 0 ? TextOrNull(status.monitorName) : Json(nullptr)},
        {"presentation", TextOrNull(status.presentation)},
        {"position", showing && status.position > 0 ? Json(status.position) : Json(nullptr)},
        {"count", status.count > 0 ? Json(status.count) : Json(nullptr)},
        {"since", TextOrNull(status.since)},
        {"updated", updated},
        {"nextShow", TextOrNull(status.nextShow)},
        {"source", showing && !status.copyTime.empty() ? Json("copy") : Json(nullptr)},
        {"copyTime", showing ? TextOrNull(status.copyTime) : Json(nullptr)},
        {"lastError", TextOrNull(status.lastError)},
        {"lastErrorTime", TextOrNull(status.lastErrorTime)},
    };
    // A name that is not valid text (a broken surrogate in a path) is written with a stand-in
    // character rather than costing the whole document.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\r\n";
}

std::optional<long long> UtcSecondsOf(std::string_view isoTime) {
    const std::string text(isoTime);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute,
                    &second, &consumed) != 6 ||
        consumed != 19) {
        return std::nullopt;
    }
    std::size_t at = 19;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    }
    int offsetMinutes = 0;
    if (at < text.size() && text[at] == 'Z') {
        ++at;
    } else {
        int offsetHours = 0, offsetRest = 0;
        if (at >= text.size() || (text[at] != '+' && text[at] != '-') ||
            std::sscanf(text.c_str() + at + 1, "%2d:%2d%n", &offsetHours, &offsetRest, &consumed) !=
                2 ||
            consumed != 5) {
            return std::nullopt;
        }
        // Only the offsets the world uses: "+99:99" is no time anybody's clock showed.
        if (offsetRest > 59) return std::nullopt;
        offsetMinutes = (text[at] == '-' ? -1 : 1) * (offsetHours * 60 + offsetRest);
        if (offsetMinutes < -12 * 60 || offsetMinutes > 14 * 60) return std::nullopt;
        at += 6;
    }
    if (at != text.size() || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60) {
        return std::nullopt;
    }
    const long long days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return days * 86400 + hour * 3600 + minute * 60 + second - offsetMinutes * 60LL;
}

}  // namespace tidewell
