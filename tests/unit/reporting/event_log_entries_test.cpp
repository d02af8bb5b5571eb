#include "reporting/event_log_entries.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "event_log_scenarios.h"

namespace tidewell {
namespace {

using testing::EventLogScenarios;

const char* LevelName(EventLevel level) {
    switch (level) {
        case EventLevel::Error:
            return "Error";
        case EventLevel::Warning:
            return "Warning";
        case EventLevel::Information:
            break;
    }
    return "Information";
}

// The README's table of event ids: id -> level, as an administrator reads them.
std::map<unsigned, std::string> ReadmeEventLevels() {
    std::ifstream readme(TIDEWELL_SOURCE_DIR "/README.md");
    std::map<unsigned, std::string> levels;
    bool inSection = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("#")) inSection = line.ends_with("In the Windows Event Log");
        if (!inSection || !line.starts_with("| ") || !std::isdigit(line[2])) continue;
        const std::size_t levelAt = line.find("| ", 2) + 2;
        levels[std::stoul(line.substr(2))] =
            line.substr(levelAt, line.find(' ', levelAt) - levelAt);
    }
    return levels;
}

TEST(EventLogFeed, RunsGiveTheEventsAnAdministratorWatchesFor_EachSaidOnce) {
    std::map<unsigned, std::string> written;
    for (const auto& scenario : EventLogScenarios()) {
        SCOPED_TRACE(scenario.name);
        EventLogFeed feed;
        std::vector<EventLogEntry> events;
        for (const RunEventRecord& record : scenario.records) {
            for (EventLogEntry& event : feed.Take(record)) events.push_back(std::move(event));
        }
        ASSERT_EQ(events.size(), scenario.expected.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(events[i].id, scenario.expected[i].id);
            EXPECT_EQ(events[i].level, scenario.expected[i].level);
            EXPECT_EQ(events[i].inserts, scenario.expected[i].inserts);
            written[static_cast<unsigned>(events[i].id)] = LevelName(events[i].level);
        }
    }
    // The README's table documents every event, with the level it is written at.
    EXPECT_EQ(written, ReadmeEventLevels());
}

}  // namespace
}  // namespace tidewell
