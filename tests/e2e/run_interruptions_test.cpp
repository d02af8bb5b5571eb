// What comes between a run and its show: a stop while the show handed to another copy of the
// program is still to appear, and the run's monitor switched off during a show and on again.
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

TEST_F(EndedByTheTest, StopDuringAHandOff_TheHandedShowIsPlacedAndTheRunEndsWithIt) {
    const ScopedEnvironment longSearch(L"TIDEWELL_TEST_RUN_TIMINGS", L"handOffSearchMs=120000");
    standin_.Set(L"MODE", L"exit");
    Start(L"/play " + Quoted(SettingFile(StandinPath(), {Deck(L"a.ppt")})));
    ASSERT_TRUE(WaitForShows(1)) << "the program was not started";

    EXPECT_EQ(RunToEnd(L"/stop"), 0u);
    // The copy that was handed the show: the same program file, in a process of its own, whose
    // window appears when the test says.
    standin_.Set(L"MODE", L"show");
    RunningProgram copy;
    ASSERT_TRUE(StartProgram(StandinPath(), L"/S " + Quoted(Deck(L"b.ppt")), copy));
    const HWND handed = WaitForPlacedShow();
    ASSERT_NE(handed, nullptr) << "the show handed over was not placed";
    EXPECT_FALSE(::IsWindowVisible(main_)) << "the run ended before its show";
    ::PostMessageW(handed, WM_CLOSE, 0, 0);
    EXPECT_TRUE(MainWindowShown(20s)) << "the run did not end with its show";
}

// The TV of the lobby is switched off during a show: nothing of the run stays on another monitor,
// no show starts while it is off, and the run goes on on it once it is back.
TEST_F(EndedByTheTest, MonitorGoneDuringAShow_BackdropDownRunWaitsGoesOnWhenItIsBack) {
    const std::wstring limit = folder_.File(L"monitors.txt");
    const auto connect = [&](const char* count) {
        std::ofstream(std::filesystem::path(limit)) << count;
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(main_, WM_DISPLAYCHANGE, 32, 0, SMTO_BLOCK, 10000, &ignored);
    };
    const ScopedEnvironment monitors(L"TIDEWELL_TEST_MONITOR_LIMIT_FILE", limit);
    const std::wstring playLog = folder_.File(L"play.log"), status = folder_.File(L"status.json");
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    Start(L"/play /log " + Quoted(playLog) + L" /status " + Quoted(status) + L" " +
          Quoted(SettingFile(StandinPath(), {a, b})));
    const RECT second = SecondMonitor();
    const HWND first = WaitForShowOn(second);
    ASSERT_NE(first, nullptr);
    const DWORD pid = program_.info.dwProcessId;
    ASSERT_NE(WaitForWindow(pid, L"TidewellBackdrop", 10s), nullptr);

    connect("1");
    EXPECT_TRUE(WaitUntil([&] { return !WaitForWindow(pid, L"TidewellBackdrop", 0s); }, 10s))
        << "the backdrop stayed up with its monitor gone";
    EXPECT_TRUE(WaitUntil([&] { return PlayLogEvents(playLog, "waiting") > 0; }, 10s));
    // Named as this computer knows monitor 2, which the first show on it remembered.
    const std::vector<std::string> waits = PlayLogDetails(playLog, "waiting");
    EXPECT_TRUE(!waits.empty() &&
                std::regex_match(waits[0], std::regex("monitor 2, .+, is not connected")))
        << (waits.empty() ? "" : waits[0]);
    ender_.EndShow();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(first); }, 10s));
    // The run's own word that it waits rather than starting the next show (which it would be
    // "playing" then).
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::ifstream file{std::filesystem::path(status)};
            const std::string text{std::istreambuf_iterator<char>(file), {}};
            return std::regex_search(text, std::regex(R"("state"\s*:\s*"waiting")"));
        },
        10s))
        << "the run did not wait for its monitor";

    connect("2");
    EXPECT_NE(WaitForShowOn(second, first), nullptr) << "the run did not go on on monitor 2";
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
    EXPECT_EQ(ReadStandinLog(log_).back().file, b);
}

}  // namespace
}  // namespace tidewell::e2e
