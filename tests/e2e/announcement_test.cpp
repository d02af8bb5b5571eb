// An announcement file next to a lobby's list: saved, it takes the screen from the list within
// seconds and plays in a loop; removed, or past its time, it gives the screen back to the list.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

class Announcement : public EndedByTheTest {
  protected:
    // The list plays {a, b} in a loop on monitor 2, the announcement file looked at twice a second.
    void StartLobby(const std::wstring& extra = {}) {
        Start(L"/play /loop /alert " + Quoted(alert_) + L" /log " + Quoted(playLog_) + extra +
              L" " + Quoted(SettingFile(StandinPath(), {a_, b_})));
        show_ = WaitForShowOn(SecondMonitor());
        ASSERT_NE(show_, nullptr);
        ASSERT_EQ(WindowCaption(show_), a_);
    }
    // The caption of the next show on monitor 2, once the current one has gone (a show asked to
    // close by the run ends by itself; `endIt`: the test ends it).
    std::wstring NextShow(bool endIt, std::chrono::milliseconds within = 10s) {
        if (endIt) ender_.EndShow();
        show_ = WaitForShowOn(SecondMonitor(), show_, within);
        return show_ ? WindowCaption(show_) : L"(none within the time)";
    }
    std::vector<std::string> AlertEvents() {
        std::vector<std::string> seen;
        for (const auto& line : ReadPlayLog(playLog_)) {
            if (line.at(1).starts_with("alert-")) seen.push_back(line.at(1) + " " + line.at(3));
        }
        return seen;
    }

    ScopedEnvironment timings_{L"TIDEWELL_TEST_RUN_TIMINGS", L"alertLookMs=500"};
    std::wstring a_ = Deck(L"a.ppt"), b_ = Deck(L"b.ppt");
    std::wstring fire_ = Deck(L"fire drill.pptx");
    std::wstring alert_ = folder_.File(L"Alert.ppsv");
    std::wstring playLog_ = folder_.File(L"lobby.log");
    HWND show_ = nullptr;
};

TEST_F(Announcement, SavedThenRemoved_TakesOverLoopsThenTheInterruptedEntryPlaysAgain) {
    StartLobby();
    SettingFile(StandinPath(), {fire_}, L"Alert.ppsv");
    EXPECT_EQ(NextShow(false), fire_) << "the announcement did not take over within 10 s";
    EXPECT_EQ(NextShow(true), fire_) << "the announcement does not play in a loop";

    ASSERT_TRUE(::DeleteFileW(alert_.c_str()));
    EXPECT_EQ(NextShow(false), a_) << "the interrupted entry did not come back within 10 s";
    EXPECT_EQ(NextShow(true), b_);
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
    ASSERT_TRUE(MainWindowShown());

    const std::string file(alert_.begin(), alert_.end());
    EXPECT_EQ(AlertEvents(),
              (std::vector<std::string>{"alert-start " + file, "alert-end " + file}));
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_GE(shows.size(), 3u);
    EXPECT_EQ(shows[0].reason, L"close") << "the list's show was not closed for the announcement";
}

// An administrator publishes a prepared announcement by copying it in (a copy keeps the file's
// time), withdraws it by deleting it, and publishes it again by copying the same file back.
TEST_F(Announcement, WithdrawnThenCopiedBackAsItWas_PlaysAgain) {
    const std::wstring prepared = SettingFile(StandinPath(), {fire_}, L"Prepared.ppsv");
    StartLobby();
    for (int published = 0; published < 2; ++published) {
        ASSERT_TRUE(::CopyFileW(prepared.c_str(), alert_.c_str(), FALSE));
        EXPECT_EQ(NextShow(false), fire_) << "copied in, time " << published + 1;
        ASSERT_TRUE(::DeleteFileW(alert_.c_str()));
        EXPECT_EQ(NextShow(false), a_) << "withdrawn, time " << published + 1;
    }
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
}

// Saved a moment before its deck was copied to the share: it plays once the deck is there.
TEST_F(Announcement, SavedBeforeItsDeck_PlaysOnceTheDeckArrives) {
    StartLobby();
    const std::wstring late = folder_.Path() + L"\\late news.pptx";
    SettingFile(StandinPath(), {late}, L"Alert.ppsv");
    // Looked at (and found wanting) a few times while the list plays on.
    ASSERT_TRUE(WaitUntil([&] { return PlayLogEvents(playLog_, "show-start") >= 1; }, 10s));
    EXPECT_FALSE(WaitUntil([&] { return !::IsWindow(show_); }, 2s)) << "the list gave way to nothing";
    ASSERT_EQ(Deck(L"late news.pptx"), late);
    EXPECT_EQ(NextShow(false), late) << "the announcement did not play once its deck was there";
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
}

// Once a stop is asked, an announcement no longer closes the show: the show plays to its end,
// and the run ends with it.
TEST_F(Announcement, StopAfterThisPresentationThenAnAnnouncement_TheShowPlaysToItsEnd) {
    StartLobby();
    EXPECT_EQ(RunToEnd(L"/stop"), 0u);
    SettingFile(StandinPath(), {fire_}, L"Alert.ppsv");
    // Six looks at the announcement, as long as a show could have been closed by it.
    EXPECT_FALSE(WaitUntil([&] { return !::IsWindow(show_); }, 3s)) << "the show was closed";
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 1u) << "a show started after the stop";
    EXPECT_NE(shows[0].reason, L"close");
    EXPECT_TRUE(AlertEvents().empty());
}

// Stopped while the announcement plays: its end is logged before the run's, and the status file's
// last word names no presentation.
TEST_F(Announcement, StoppedDuringTheAnnouncement_EndsItAndTheStatusNamesNothing) {
    const std::wstring status = folder_.Path() + L"\\status.json";
    StartLobby(L" /status " + Quoted(status));
    SettingFile(StandinPath(), {fire_}, L"Alert.ppsv");
    ASSERT_EQ(NextShow(false), fire_);
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
    ASSERT_TRUE(WaitUntil([&] { return PlayLogEvents(playLog_, "run-end") > 0; }, 20s));
    const std::string file(alert_.begin(), alert_.end());
    EXPECT_EQ(AlertEvents(),
              (std::vector<std::string>{"alert-start " + file, "alert-end " + file}));
    EXPECT_EQ(ReadPlayLog(playLog_).back().at(1), "run-end");
    // The status file is written behind the run: its last word comes soon after.
    std::string text;
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::ifstream read{std::filesystem::path(status)};
            text.assign(std::istreambuf_iterator<char>(read), {});
            return std::regex_search(text, std::regex(R"("state"\s*:\s*"stopped")")) &&
                   std::regex_search(text, std::regex(R"("presentation"\s*:\s*null)"));
        },
        10s))
        << text;
}

// The schedule clock starts at 23:59:50 and runs twice as fast: the announcement's last day ends
// five seconds later, and the list plays on by itself.
TEST_F(Announcement, ItsUntilPasses_TheListComesBackByItself) {
    const ScopedEnvironment clock(L"TIDEWELL_TEST_CLOCK", L"2026-12-07T23:59:50,2");
    SettingFile(StandinPath(), {fire_ + L"\tuntil=2026-12-07"}, L"Alert.ppsv");
    Start(L"/play /loop /alert " + Quoted(alert_) + L" /log " + Quoted(playLog_) + L" " +
          Quoted(SettingFile(StandinPath(), {a_, b_})));
    show_ = WaitForShowOn(SecondMonitor());
    ASSERT_NE(show_, nullptr);
    const std::wstring first = WindowCaption(show_);
    if (first == a_) {
        // The list's first show may start before the first look at the announcement ends.
        EXPECT_EQ(NextShow(false), fire_);
    } else {
        EXPECT_EQ(first, fire_);
    }
    EXPECT_EQ(NextShow(false), a_)
        << "the list did not come back when the announcement's day ended";
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
}

}  // namespace
}  // namespace tidewell::e2e
