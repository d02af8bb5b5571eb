#include "playback/run_status.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace tidewell {
namespace {

using Json = nlohmann::json;

// The keys that the README's "Seen from afar" table promises, read from the README itself.
std::set<std::string> ReadmeStatusKeys() {
    std::ifstream readme(TIDEWELL_SOURCE_DIR "/README.md");
    std::set<std::string> keys;
    bool inSection = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("### ")) inSection = line == "### Seen from afar";
        if (inSection && line.starts_with("| `"))
            keys.insert(line.substr(3, line.find('`', 3) - 3));
    }
    return keys;
}

// An event of the run, or (with `state`) a change of the run's own state.
struct Step {
    RunEventRecord record;
    std::string time;
    std::optional<RunState> state;
};

Step State(RunState state, std::string time) {
    return Step{{}, std::move(time), state};
}

RunEventRecord Event(RunEvent event, std::wstring path = {}, std::wstring detail = {},
                     std::size_t position = 0) {
    return RunEventRecord{event, 2, std::move(path), std::move(detail), position, 12};
}

TEST(StatusDocument, EventsOfARun_StateShowAndTimesAsTheTableSays) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* state;
        Json presentation, position, since, detail, lastError;
    };
    const Step start{Event(RunEvent::RunStart), "T1"};
    const Step show3{Event(RunEvent::ShowStart, L"C:\\Shows\\Caf\u00e9.pptx", L"", 3), "T2"};
    const Step placed{Event(RunEvent::ShowPlaced, L"C:\\Shows\\Caf\u00e9.pptx", L"", 3), "T3"};
    const Json cafe = "C:\\Shows\\Caf\u00e9.pptx";
    const Case cases[] = {
        {"nothing_yet", {}, "stopped", nullptr, nullptr, nullptr, nullptr, nullptr},
        {"run_started", {start}, "playing", nullptr, nullptr, "T1", nullptr, nullptr},
        {"placed_keeps_since_of_start",
         {start, show3, placed},
         "playing",
         cafe,
         3,
         "T2",
         nullptr,
         nullptr},
        {"show_ended",
         {start, show3, {Event(RunEvent::ShowEnd, L"x"), "T4"}},
         "playing",
         nullptr,
         nullptr,
         "T4",
         nullptr,
         nullptr},
        {"timeout_closes_same_show",
         {start, show3, {Event(RunEvent::ShowTimeout, L"x", L"no window"), "T4"}},
         "closing",
         cafe,
         3,
         "T4",
         nullptr,
         nullptr},
        {"waiting_in_a_run_rests",
         {start,
          {Event(RunEvent::Waiting, L"", L"resting 10 s"), "T4"},
          State(RunState::Resting, "T4")},
         "resting",
         nullptr,
         nullptr,
         "T4",
         "resting 10 s",
         nullptr},
        {"monitor_gone_waits_until_the_next_show",
         {start,
          show3,
          {Event(RunEvent::Waiting, L"", L"monitor 2 is gone"), "T5"},
          State(RunState::AwaitingMonitor, "T6")},
         "waiting",
         nullptr,
         nullptr,
         "T6",
         "monitor 2 is gone",
         nullptr},
        {"waiting_before_a_run",
         {{Event(RunEvent::Waiting, L"", L"waiting for Z:\\a"), "T1"}},
         "waiting",
         nullptr,
         nullptr,
         "T1",
         "waiting for Z:\\a",
         nullptr},
        {"error_and_stop_change_nothing_else",
         {start,
          show3,
          {Event(RunEvent::Error, L"", L"share gone"), "T5"},
          {Event(RunEvent::Stop, L"", L"now"), "T6"}},
         "playing",
         cafe,
         3,
         "T2",
         nullptr,
         "share gone"},
        {"stop_while_waiting_to_start",
         {{Event(RunEvent::Waiting, L"", L"x"), "T1"}, {Event(RunEvent::Stop), "T2"}},
         "stopped",
         nullptr,
         nullptr,
         "T2",
         nullptr,
         nullptr},
        {"run_ended",
         {start, show3, {Event(RunEvent::RunEnd), "T7"}},
         "stopped",
         nullptr,
         nullptr,
         "T7",
         nullptr,
         nullptr},
    };
    const std::set<std::string> readmeKeys = ReadmeStatusKeys();
    ASSERT_FALSE(readmeKeys.empty()) << "no key table in the README's \"Seen from afar\"";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunStatus status;
        for (const Step& step : c.steps) {
            if (step.state) {
                ApplyRunState(status, *step.state, step.time);
            } else {
                ApplyRunEvent(status, step.record, step.time);
            }
        }
        const Json document =
            Json::parse(StatusDocument(status, {L"LOBBY-3", L"lobby", "2.35"}, "T9"));
        std::set<std::string> keys;
        for (const auto& [key, value] : document.items()) keys.insert(key);
        EXPECT_EQ(keys, readmeKeys);
        EXPECT_EQ(document["state"], c.state);
        EXPECT_EQ(document["presentation"], c.presentation);
        EXPECT_EQ(document["position"], c.position);
        EXPECT_EQ(document["since"], c.since);
        EXPECT_EQ(document["detail"], c.detail);
        EXPECT_EQ(document["lastError"], c.lastError);
        EXPECT_EQ(document["updated"], "T9");
        EXPECT_EQ(document["computer"], "LOBBY-3");
    }
}

TEST(ScreenState, OnlyARunThatShowsOrIsAboutToKeepsTheScreenAwake) {
    const std::pair<RunState, bool> cases[] = {
        {RunState::Launching, true},        {RunState::Showing, true},
        {RunState::AwaitingHandOff, true},  {RunState::Closing, true},
        {RunState::Resting, true},          {RunState::Held, true},
        {RunState::AwaitingMonitor, false}, {RunState::Over, false},
    };
    for (const auto& [state, awake] : cases) {
        EXPECT_EQ(KeepsScreenAwake(ScreenStateOf(state)), awake) << static_cast<int>(state);
    }
}

TEST(UtcSecondsOf, OffsetsFractionsAndNonsense) {
    const auto paris = UtcSecondsOf("2026-12-08T08:00:03.125+01:00");
    ASSERT_TRUE(paris);
    EXPECT_EQ(UtcSecondsOf("2026-12-08T07:00:03Z"), paris);
    EXPECT_EQ(UtcSecondsOf("2026-12-08T03:30:03.9-03:30"), paris);
    EXPECT_EQ(UtcSecondsOf("1970-01-01T00:00:00+00:00"), 0);
    EXPECT_EQ(*UtcSecondsOf("2025-01-01T00:00:00Z") - *UtcSecondsOf("2024-01-01T00:00:00Z"),
              366 * 86400);
    for (const char* bad : {"", "T9", "2026-12-08 08:00:03+01:00", "2026-13-08T08:00:03Z",
                            "2026-12-08T08:00:03+01", "2026-12-08T08:00:03Zjunk"}) {
        EXPECT_FALSE(UtcSecondsOf(bad)) << bad;
    }
}

}  // namespace
}  // namespace tidewell
