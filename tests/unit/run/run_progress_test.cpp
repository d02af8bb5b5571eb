#include "run/run_progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace tidewell {
namespace {

// Drives a run to its end (or `limit` launches): every entry in `failing` cannot be started.
std::vector<std::size_t> Play(RunProgress& run, std::vector<bool> failing = {},
                              std::size_t limit = 20) {
    std::vector<std::size_t> played;
    while (played.size() < limit) {
        const auto next = run.NextEntry();
        if (!next) break;
        played.push_back(*next);
        run.EntryDue();
        if (*next >= failing.size() || !failing[*next]) run.ShowStarted();
    }
    return played;
}

TEST(RunProgress, OnePass_EveryEntryInOrderThenOver) {
    RunProgress run(3, false);
    EXPECT_EQ(run.Position(), 0u);
    EXPECT_EQ(Play(run), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(run.Position(), 3u);
    EXPECT_FALSE(run.NextEntry());

    RunProgress empty(0, true);
    EXPECT_FALSE(empty.NextEntry());
}

TEST(RunProgress, Loop_StartsAgainFromTheTop) {
    RunProgress run(2, true);
    EXPECT_EQ(Play(run, {}, 7), (std::vector<std::size_t>{0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(run.Position(), 1u);
    EXPECT_EQ(run.Count(), 2u);
}

TEST(RunProgress, Loop_PassThatStartedNothingEndsIt) {
    RunProgress allFail(3, true);
    EXPECT_EQ(Play(allFail, {true, true, true}), (std::vector<std::size_t>{0, 1, 2}));

    // One entry that starts keeps the loop going; failing entries are passed over each time.
    RunProgress someFail(3, true);
    EXPECT_EQ(Play(someFail, {true, false, true}, 6), (std::vector<std::size_t>{0, 1, 2, 0, 1, 2}));
}

TEST(RunProgress, Stop_NoEntryFollowsTheCurrentOne) {
    RunProgress run(5, true);
    ASSERT_EQ(run.NextEntry(), 0u);
    ASSERT_EQ(run.NextEntry(), 1u);
    run.Stop();
    EXPECT_TRUE(run.Stopped());
    EXPECT_FALSE(run.NextEntry());
    EXPECT_EQ(run.Position(), 2u);
}

TEST(RunProgress, NewPass_OnlyWhereALoopStartsAgain) {
    RunProgress run(2, true);
    std::vector<bool> newPass;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(run.NextEntry());
        run.ShowStarted();
        newPass.push_back(run.NewPass());
    }
    EXPECT_EQ(newPass, (std::vector<bool>{false, false, true, false, true}));
}

TEST(PassPacing, PassesWithoutALastingShowRestLongerUpToFiveMinutesOneThatLastsResets) {
    PassPacing pacing;
    std::vector<unsigned> rests;
    for (int pass = 0; pass < 7; ++pass) rests.push_back(pacing.RestBeforeNextPass());
    EXPECT_EQ(rests,
              (std::vector<unsigned>{10'000, 20'000, 40'000, 80'000, 160'000, 300'000, 300'000}));
    pacing.ShowLasted();
    EXPECT_EQ(pacing.RestBeforeNextPass(), 0u);
    EXPECT_EQ(pacing.RestBeforeNextPass(), 10'000u) << "the rest starts again from the shortest";
}

TEST(RunTip, CountsThenTheFileName_CutToTheShellsLimit) {
    EXPECT_EQ(RunTip(3, 12, L"C:\\Shows\\Lobby.pptx"), L"Tidewell: playing 3 of 12\nLobby.pptx");

    const std::wstring tip = RunTip(1, 2, L"C:\\Shows\\" + std::wstring(300, L'x') + L".ppt");
    EXPECT_EQ(tip.size(), 127u);
    EXPECT_EQ(tip.substr(0, 27), L"Tidewell: playing 1 of 2\nxx");
    EXPECT_EQ(tip.substr(124), L"...");

    // A pair of UTF-16 halves is kept whole or left out whole.
    const std::wstring pairAtCut =
        RunTip(1, 2, std::wstring(98, L'y') + L"\xD83D\xDE00" + L"z.ppt", 127);
    EXPECT_EQ(pairAtCut.size(), 126u);
    EXPECT_EQ(pairAtCut.substr(pairAtCut.size() - 4), L"y...");
}

}  // namespace
}  // namespace tidewell
