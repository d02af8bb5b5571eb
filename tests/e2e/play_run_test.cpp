// The built program plays a stored playlist with the stand-in presentation program on the
// second of two monitors, as a user would: the preferences are seeded in the registry, the
// program is started, "Play All" is clicked, and the stand-in's log tells where each show went.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

// Starts tidewell.exe with the preferences the test stored and plays through "Play All".
class PlayFixture : public Unattended {
  protected:
    void StartAndPlayAll() {
        Start(L"");
        playAll_ = ::FindWindowExW(main_, nullptr, L"Button", L"Play All");
        ASSERT_NE(playAll_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(playAll_) != FALSE; }, 5s))
            << "\"Play All\" stayed disabled: the stored playlist was not loaded";
        ::PostMessageW(playAll_, BM_CLICK, 0, 0);
    }

    HWND playAll_ = nullptr;
};

TEST_F(PlayFixture, PlayAllOnMonitorTwo_EveryShowInOrderOneAtATimeAtItsCorner) {
    const std::vector<RECT> monitors = MonitorRects();
    ASSERT_GE(monitors.size(), 2u) << "the end-to-end tests need two monitors";
    const std::wstring a = Deck(L"first show.ppt");
    const std::wstring b = Deck(L"\u00e9t\u00e9 \u65e5\u672c \u00c5.pptx");
    const std::vector<std::wstring> playlist = {a, b, a};
    ASSERT_TRUE(preferences_.Store(playlist, StandinPath(), 2));
    // Each show ends once it has been placed; the time-out only ends one that never is.
    standin_.Set(L"UNTIL_PLACED", L"1").Set(L"SECONDS", L"20");

    StartAndPlayAll();
    ASSERT_NE(WaitForShowWindow(), nullptr) << "no show started";
    EXPECT_FALSE(::IsWindowVisible(main_)) << "the main window stays up during the show";
    ASSERT_TRUE(MainWindowShown()) << "the main window did not come back";

    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), playlist.size());
    for (std::size_t i = 0; i < shows.size(); ++i) {
        EXPECT_EQ(shows[i].file, playlist[i]) << i;
        EXPECT_EQ(shows[i].switches, L"/S") << i;
        EXPECT_EQ(shows[i].reason, L"placed") << i;
        EXPECT_GE(shows[i].placements, 1) << i;
        EXPECT_EQ(shows[i].left, monitors[1].left) << i;
        EXPECT_EQ(shows[i].top, monitors[1].top) << i;
        if (i > 0) {
            EXPECT_GE(shows[i].start, shows[i - 1].end) << "shows overlap at " << i;
        }
    }
    // The window is shown first and brought to the front right after: give that a moment.
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main_; }, 5s))
        << "the main window is back but not in front";
    // The click gave "Play All" the focus before the window went; it has it again.
    EXPECT_TRUE(WaitUntil([&] { return FocusedControlOf(main_) == playAll_; }, 5s))
        << "the focus did not come back to \"Play All\"";
}

TEST_F(PlayFixture, ProgramGoneMidRun_RemainingLaunchesFailAndWindowBackAtOnce) {
    const std::wstring player = folder_.File(L"player.exe");
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), player.c_str(), FALSE));
    const std::vector<std::wstring> playlist = {Deck(L"a.ppt"), Deck(L"b.ppt"), Deck(L"c.ppt")};
    ASSERT_TRUE(preferences_.Store(playlist, player, 2));  // a show runs until it is closed
    // Every wait of a run far longer than the test waits, so that a run held by one never ends.
    const ScopedEnvironment timings(
        L"TIDEWELL_TEST_RUN_TIMINGS",
        L"closeGraceMs=600000,firstRestMs=600000,longestRestMs=600000,handOffSearchMs=600000");

    StartAndPlayAll();
    // Placed first: a show that ends unplaced within seconds is taken for one handed to another
    // copy of the program, which the run then looks for.
    const HWND show = WaitForShowOn(SecondMonitor());
    ASSERT_NE(show, nullptr) << "no show started";
    // From now on every launch of the presentation program fails; then the first show ends.
    ASSERT_TRUE(::MoveFileW(player.c_str(), folder_.File(L"player-gone.exe").c_str()));
    ::PostMessageW(show, WM_CLOSE, 0, 0);
    ASSERT_TRUE(MainWindowShown()) << "the failed launches held the run up";

    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].file, playlist[0]);
}

}  // namespace
}  // namespace tidewell::e2e
