#include "playback/play_checks.h"

#include <gtest/gtest.h>

#include "playback/monitor_rule.h"

namespace tidewell {
namespace {

constexpr MonitorRect kPrimary{0, 0, 1024, 768};
constexpr MonitorRect kRight{1024, 0, 2048, 768};

PlayCheckInput ReadyToPlay() {
    PlayCheckInput input;
    input.programExists = true;
    input.playlistCount = 3;
    input.monitorNumber = 2;
    input.monitor = kRight;
    input.primaryWidth = 1024;
    input.primaryHeight = 768;
    return input;
}

TEST(MonitorHasPrimarySize, Rectangles_WidthThenHeightMustMatch) {
    struct Case {
        MonitorRect rect;
        bool expected;
    };
    const Case cases[] = {
        {kPrimary, true},
        {kRight, true},
        {{-1024, -200, 0, 568}, true},  // left of and above the primary
        {{1024, 0, 2048, 600}, false},  // same width, other height
        {{1024, 0, 2304, 768}, false},  // same height, other width
        {{1024, 0, 2304, 1024}, false},
        {{0, 0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MonitorHasPrimarySize(c.rect, 1024, 768), c.expected)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    }
}

TEST(MonitorSizeMessage, Number_EndsWithNumberAndSameAsMonitorOne) {
    EXPECT_EQ(MonitorSizeMessage(2),
              L"In order to run this application, please keep the size of "
              L"monitor 2 same as monitor 1");
    EXPECT_EQ(MonitorSizeMessage(12),
              L"In order to run this application, please keep the size of "
              L"monitor 12 same as monitor 1");
}

TEST(FirstFailedPlayCheck, AllPass_NoMessage) {
    EXPECT_EQ(FirstFailedPlayCheck(ReadyToPlay()), std::nullopt);
}

TEST(FirstFailedPlayCheck, SeveralFailures_OnlyTheFirstInOrderIsReported) {
    PlayCheckInput input = ReadyToPlay();
    input.monitor = MonitorRect{1024, 0, 2048, 600};
    EXPECT_EQ(FirstFailedPlayCheck(input), MonitorSizeMessage(2));

    input.playlistCount = 0;
    EXPECT_EQ(FirstFailedPlayCheck(input), std::wstring(kEmptyPlaylistMessage));

    input.programExists = false;
    EXPECT_EQ(FirstFailedPlayCheck(input), std::wstring(kNoProgramMessage));
}

TEST(FirstFailedPlayCheck, NumberNamingNoMonitor_ClearMessageAfterPlaylistCheck) {
    PlayCheckInput input = ReadyToPlay();
    input.monitorNumber = 3;
    input.monitor.reset();
    const auto message = FirstFailedPlayCheck(input);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, MissingMonitorMessage(3));
    EXPECT_NE(message->find(L"Monitor 3 "), std::wstring::npos);

    input.playlistCount = 0;
    EXPECT_EQ(FirstFailedPlayCheck(input), std::wstring(kEmptyPlaylistMessage));
}

}  // namespace
}  // namespace tidewell
