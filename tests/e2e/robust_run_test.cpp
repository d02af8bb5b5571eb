// Runs that survive what the presentation program does: a program that hands the file to a copy
// of itself and ends at once, one that ends at once for nothing, one that shows a dialog instead
// of its show, one that is slow to show; a start that waits for its setting file; a stop that
// comes before the show's window. Each show ends when the test says so, never after a set time.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

// A copy of the program already runs (with a show of its own on monitor 1); every launch hands
// its file to it and ends at once. Each handed show is placed on monitor 2, and the next is
// launched only once the one before has been closed.
TEST_F(EndedByTheTest, HandOffToARunningCopy_OneShowAtATimeEachOnTheChosenMonitor) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    standin_.Set(L"MODE", L"handoff");
    RunningProgram resident;
    ASSERT_TRUE(StartProgram(StandinPath(), L"/S " + Deck(L"resident.ppt"), resident));
    const HWND residentShow = WaitForShowWindow();
    ASSERT_NE(residentShow, nullptr);

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, b})));
    const RECT second = SecondMonitor();
    const HWND first = WaitForShowOn(second);
    ASSERT_NE(first, nullptr) << "the first handed show was not placed on monitor 2";
    EXPECT_EQ(WindowCaption(first), a);
    ender_.EndShow();
    const HWND next = WaitForShowOn(second, first);
    ASSERT_NE(next, nullptr) << "the second handed show was not placed on monitor 2";
    EXPECT_EQ(WindowCaption(next), b);
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown()) << "the main window did not come back";

    ::PostMessageW(residentShow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(resident, 20s));
    std::vector<StandinShow> handed;
    for (const StandinShow& show : ReadStandinLog(log_)) {
        if (show.pid == resident.info.dwProcessId && show.file != folder_.File(L"resident.ppt")) {
            handed.push_back(show);
        }
    }
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_GE(handed[1].created, handed[0].end) << "the two shows overlapped";
    EXPECT_EQ(handed[0].placements, 1);
}

// A program that ends at once without showing anything: the run rests between its passes, each
// rest twice the last up to the longest, and leaves no thread behind per launch.
TEST_F(EndedByTheTest, ProgramEndingAtOnce_RestsDoublingBetweenPassesAndFewThreads) {
    const ScopedEnvironment timings(L"TIDEWELL_TEST_RUN_TIMINGS",
                                    L"handOffSearchMs=50,firstRestMs=300,longestRestMs=1200");
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    standin_.Set(L"MODE", L"exit");

    Start(L"/play /loop " + Quoted(SettingFile(StandinPath(), {a, b})));
    const DWORD pid = program_.info.dwProcessId;
    std::size_t mostThreads = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            mostThreads = std::max(mostThreads, ThreadCount(pid));
            return WaitForShows(8, 0ms);
        },
        60s))
        << "the run did not go on";
    EXPECT_EQ(RunToEnd(L"/stop"), 0u);
    EXPECT_TRUE(MainWindowShown());
    const std::vector<StandinShow> launches = ReadStandinLog(log_);
    for (const long long pass : {1, 2, 3}) {
        const long long rest = launches[2 * pass].start - launches[2 * pass - 1].end;
        EXPECT_GE(rest, std::min(300'000LL << (pass - 1), 1'200'000LL)) << "after pass " << pass;
    }
    EXPECT_LE(mostThreads, 8u);
}

// A program that shows a dialog instead of its show: after the time-out the dialog is asked to
// close, the program ends, and the run goes on with the next entry.
TEST_F(EndedByTheTest, DialogInsteadOfTheShow_ClosedAfterTheTimeOutAndTheRunGoesOn) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    standin_.Set(L"MODE", L"dialog");

    Start(L"/play /timeout 2 " + Quoted(SettingFile(StandinPath(), {a, b})));
    ASSERT_TRUE(WaitForShows(2, 30s)) << "the run was held by a dialog";
    ASSERT_TRUE(MainWindowShown());
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 2u);
    EXPECT_EQ(shows[0].reason, L"dialog");
    EXPECT_EQ(shows[1].file, b);
    EXPECT_GE(shows[0].end - shows[0].start, 1'500'000) << "closed before its time";
}

// A presentation that has gone by its turn is not handed to the program.
TEST_F(EndedByTheTest, PresentationGoneByItsTurn_Skipped) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    const std::wstring c = Deck(L"c.ppt");

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, b, c})));
    const HWND first = WaitForShowOn(SecondMonitor());
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(::DeleteFileW(b.c_str()));
    ender_.EndShow();
    ASSERT_NE(WaitForShowOn(SecondMonitor(), first), nullptr);
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 2u);
    EXPECT_EQ(shows[0].file, a);
    EXPECT_EQ(shows[1].file, c);
}

// The setting file on a share that is not reachable yet at logon: the start waits, tries again,
// and plays once the file is there.
TEST_F(EndedByTheTest, SettingFileAppearingLater_TheStartWaitsForItThenPlays) {
    const ScopedEnvironment timings(L"TIDEWELL_TEST_RUN_TIMINGS", L"startRetryMs=100");
    const std::wstring a = Deck(L"a.ppt");
    const std::wstring setting = folder_.File(L"Later.ppsv"), log = folder_.File(L"run.log");

    Start(L"/play /log " + Quoted(log) + L" " + Quoted(setting));
    ASSERT_TRUE(WaitUntil(NotificationAreaShown, 10s)) << "no icon told what the start waits for";
    // Past the first try again, so that a start that tries only once would be missed.
    ASSERT_TRUE(WaitUntil([&] { return PlayLogEvents(log, "waiting") >= 2; }, 20s))
        << "the start did not try again";
    EXPECT_TRUE(ReadStandinLog(log_).empty());
    SettingFile(StandinPath(), {a}, L"Later.ppsv");
    ASSERT_NE(WaitForShowOn(SecondMonitor()), nullptr) << "the start did not play";
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
}

// "/stop /now" while the program is still starting: the show that appears afterwards is closed
// and no other starts.
TEST_F(EndedByTheTest, StopNowBeforeTheShowWindowIsVisible_ThatShowIsClosedWhenItAppears) {
    const std::wstring a = Deck(L"a.ppt");
    StandinEvent showAppears(standin_, L"SHOW_EVENT");

    Start(L"/play /loop " + Quoted(SettingFile(StandinPath(), {a, a})));
    ASSERT_TRUE(
        WaitUntil([&] { return !ProcessesStartedBy(program_.info.dwProcessId).empty(); }, 20s))
        << "the run did not start the program";
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
    showAppears.Set();
    ExpectOneShowClosedAndWindowBack();
}

// The icon's menu left open (someone tapped the icon and walked away) does not hold the run.
TEST_F(EndedByTheTest, IconMenuLeftOpen_TheNextShowStartsAllTheSame) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, b})));
    const HWND first = WaitForShowOn(SecondMonitor());
    ASSERT_NE(first, nullptr);
    HWND menu = nullptr;
    for (int attempt = 0; attempt < 5 && !menu; ++attempt) {
        ASSERT_TRUE(RightClickFirstNotificationIcon());
        menu = WaitForPopupMenu(program_.info.dwProcessId, 2s);
    }
    ASSERT_NE(menu, nullptr) << "the icon showed no menu";
    ender_.EndShow();
    EXPECT_NE(WaitForShowOn(SecondMonitor(), first), nullptr) << "the open menu held the run";
    EXPECT_TRUE(::IsWindowVisible(menu));
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
}

}  // namespace
}  // namespace tidewell::e2e
