// Windows lists the same two monitors the other way round during a run on monitor 2 (as it does
// after a reboot or a driver update): the run stays on the screen that monitor 2 was, and its play
// log and status file say which one that is.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

TEST_F(EndedByTheTest, MonitorsListedTheOtherWayMidRun_ShowsStayOnTheirScreenLoggedOnce) {
    const std::wstring order = folder_.File(L"order.txt");
    const ScopedEnvironment reorder(L"TIDEWELL_TEST_MONITOR_ORDER_FILE", order);
    const auto listInOrder = [&](const char* places) {
        std::ofstream(std::filesystem::path(order)) << places;
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(main_, WM_DISPLAYCHANGE, 32, 0, SMTO_BLOCK, 10000, &ignored);
    };
    const std::wstring playLog = folder_.File(L"play.log"), status = folder_.File(L"status.json");
    Start(L"/play /loop /log " + Quoted(playLog) + L" /status " + Quoted(status) + L" " +
          Quoted(SettingFile(StandinPath(), {Deck(L"a.ppt"), Deck(L"b.ppt")})));
    const RECT second = SecondMonitor();
    const HWND first = WaitForShowOn(second);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(PlayLogEvents(playLog, "monitor"), 0);

    // Twice, as Windows tells of one change in several messages: said once all the same.
    listInOrder("2 1");
    listInOrder("2 1");
    ender_.EndShow();
    const HWND next = WaitForShowOn(second, first);
    EXPECT_NE(next, nullptr) << "the next show left the screen that monitor 2 was";
    ASSERT_TRUE(WaitUntil([&] { return PlayLogEvents(playLog, "monitor") > 0; }, 10s));
    const std::vector<std::string> said = PlayLogDetails(playLog, "monitor");
    ASSERT_EQ(said.size(), 1u);
    EXPECT_TRUE(std::regex_match(said[0], std::regex(R"(monitor 2 is .+ \(now listed first\))")))
        << said[0];
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::ifstream file{std::filesystem::path(status)};
            const std::string text{std::istreambuf_iterator<char>(file), {}};
            return std::regex_search(text, std::regex(R"("monitorName"\s*:\s*"[^"]+")"));
        },
        10s))
        << "the status file does not name the monitor";
}

}  // namespace
}  // namespace tidewell::e2e
