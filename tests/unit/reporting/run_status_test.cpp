#include "reporting/run_status.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "run/schedule.h"

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

// An event of the run at `time`, or (with `state`) a change of the run's own state.
struct Step {
    RunEventRecord record;
    std::string time;
    std::optional<RunState> state;
};

Step At(std::string time, RunEvent event, std::wstring detail = {}) {
    return {{event, 2, L"x", std::move(detail), 0, 12}, std::move(time), {}};
}

Step At(std::string time, RunState state) {
    return {{}, std::move(time), state};
}

// Each row: the steps, then the fields of the document that are not null.
TEST(StatusDocument, EventsOfARun_StateShowAndTimesAsTheTableSays) {
    const Step start = At("T1", RunEvent::RunStart);
    const Step show3{{RunEvent::ShowStart, 2, L"C:\\Shows\\Caf\u00e9.pptx", L"", 3, 12}, "T2"};
    const Step placed{{RunEvent::ShowPlaced, 2, L"C:\\Shows\\Caf\u00e9.pptx", L"", 3, 12}, "T3"};
    const std::string cafe = R"("presentation": "C:\\Shows\\Caf\u00e9.pptx", "position": 3)";
    Step nextShow = At("T4", RunEvent::Waiting, std::wstring(kNextShowPrefix) + L"07:00");
    nextShow.record.nextShow = "2026-12-07T07:00:00.000+01:00";
    Step ofCopy{{RunEvent::ShowStart, 2, L"x", L"", 3, 12}, "T2"};
    ofCopy.record.copyTime = "2026-12-08T07:12:00.000+01:00";
    Step onTv = start;
    onTv.record.monitorName = L"LG TV";
    using enum RunEvent;
    // clang-format off
    const std::tuple<const char*, std::vector<Step>, std::string> cases[] = {
        {"nothing yet", {}, R"("state": "stopped")"},
        {"run started", {start}, R"("state": "playing", "since": "T1")"},
        {"the monitor by its name", {onTv}, R"("state": "playing", "since": "T1", "monitorName": "LG TV")"},
        {"placed keeps the start's since", {start, show3, placed}, R"("state": "playing", "since": "T2", )" + cafe},
        {"show ended", {start, show3, At("T4", ShowEnd)}, R"("state": "playing", "since": "T4")"},
        {"time-out closes the same show", {start, show3, At("T4", ShowTimeout, L"no window")}, R"("state": "closing", "since": "T4", )" + cafe},
        {"waiting in a run rests", {start, At("T4", Waiting, L"resting 10 s"), At("T4", RunState::Resting)}, R"("state": "resting", "since": "T4", "detail": "resting 10 s")"},
        {"monitor gone waits until the next show", {start, show3, At("T5", Waiting, L"gone"), At("T6", RunState::AwaitingMonitor)}, R"("state": "waiting", "since": "T6", "detail": "gone")"},
        {"waiting for a scheduled show", {start, nextShow, At("T4", RunState::AwaitingTime)}, R"("state": "waiting", "since": "T4", "detail": "next show at 07:00", "nextShow": "2026-12-07T07:00:00.000+01:00")"},
        {"a show after the wait", {start, nextShow, At("T4", RunState::AwaitingTime), show3}, R"("state": "playing", "since": "T2", )" + cafe},
        {"waiting before a run", {At("T1", Waiting, L"for Z:\\a")}, R"("state": "waiting", "since": "T1", "detail": "for Z:\\a")"},
        {"error and stop change nothing else", {start, show3, At("T5", Error, L"share gone"), At("T6", Stop, L"now")}, R"("state": "playing", "since": "T2", "lastError": "share gone", )" + cafe},
        {"stop while waiting to start", {At("T1", Waiting, L"x"), At("T2", Stop)}, R"("state": "stopped", "since": "T2")"},
        {"run ended", {start, show3, At("T7", RunEnd)}, R"("state": "stopped", "since": "T7")"},
        {"the announcement plays, closing included", {start, At("T2", AlertStart), show3, At("T3", RunState::Closing), At("T4", RunState::Showing)}, R"("state": "alert", "since": "T4", "presentation": "C:\\Shows\\Caf\u00e9.pptx")"},
        {"a copy plays for an original out of reach", {start, ofCopy}, R"("state": "playing", "since": "T2", "presentation": "x", "position": 3, "source": "copy", "copyTime": "2026-12-08T07:12:00.000+01:00")"},
        {"a skipped deck is the last error", {start, show3, At("T4", ShowEnd), At("T5", ShowSkipped, L"needs a password")}, R"("state": "playing", "since": "T4", "lastError": "needs a password")"},
        {"the list again after the announcement", {start, At("T2", AlertStart), show3, At("T5", AlertEnd), At("T6", ShowEnd)}, R"("state": "playing", "since": "T6")"},
    };
    // clang-format on
    const std::set<std::string> readmeKeys = ReadmeStatusKeys();
    ASSERT_FALSE(readmeKeys.empty()) << "no key table in the README's \"Seen from afar\"";
    for (const auto& [name, steps, fields] : cases) {
        SCOPED_TRACE(name);
        RunStatus status;
        for (const Step& step : steps) {
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
        const Json expected = Json::parse("{" + fields + "}");
        for (const char* key : {"state", "presentation", "position", "since", "detail", "lastError",
                                "nextShow", "source", "copyTime", "monitorName"})
            EXPECT_EQ(document[key], expected.value(key, Json())) << key;
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
    for (const char* bad :
         {"", "T9", "2026-12-08 08:00:03+01:00", "2026-13-08T08:00:03Z", "2026-12-08T08:00:03+01",
          "2026-12-08T08:00:03Zjunk", "2026-12-08T08:00:03+99:99", "2026-12-08T08:00:03-13:00",
          "2026-12-08T08:00:03+01:60"}) {
        EXPECT_FALSE(UtcSecondsOf(bad)) << bad;
    }
}

}  // namespace
}  // namespace tidewell
