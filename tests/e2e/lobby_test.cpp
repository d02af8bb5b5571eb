// What a lobby sees and what the person who looks after it reads: black on the show's monitor
// between two shows, a play log of every event, and a looping run that follows its setting file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

COLORREF ScreenPixel(int x, int y) {
    const HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

std::string Utf8(const std::wstring& text) {
    std::string out(
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()),
                          nullptr, nullptr);
    out.pop_back();
    return out;
}

TEST_F(EndedByTheTest, Backdrop_BlackOnTheShowsMonitorBetweenShowsGoneAfterTheRun) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    // A program slow to start, as PowerPoint is: each show appears when the test lets it.
    StandinEvent showAppears(standin_, L"SHOW_EVENT");
    showAppears.Set();

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, b})));
    const RECT second = SecondMonitor();
    const HWND first = WaitForShowOn(second);
    ASSERT_NE(first, nullptr);
    ender_.EndShow();
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(first); }, 10s));

    const HWND backdrop = WaitForWindow(program_.info.dwProcessId, L"TidewellBackdrop", 0ms);
    ASSERT_NE(backdrop, nullptr) << "the desktop shows between two shows";
    RECT covered{};
    ::GetWindowRect(backdrop, &covered);
    EXPECT_TRUE(::EqualRect(&covered, &second)) << "monitor 2 is not covered exactly";
    // Black once the backdrop has repainted what the show left, while the next show is held back.
    const auto blackInTheMiddle = [&] {
        return ScreenPixel((second.left + second.right) / 2, (second.top + second.bottom) / 2) ==
               RGB(0, 0, 0);
    };
    EXPECT_TRUE(WaitUntil(blackInTheMiddle, 10s)) << "monitor 2 is not black between shows";
    EXPECT_NE(::GetForegroundWindow(), backdrop);
    EXPECT_EQ(::GetWindowLongW(backdrop, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    showAppears.Set();
    const HWND next = WaitForShowOn(second, first);
    ASSERT_NE(next, nullptr);
    const POINT middle{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    EXPECT_EQ(::GetAncestor(::WindowFromPoint(middle), GA_ROOT), next)
        << "the show is not above the backdrop";
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
    EXPECT_TRUE(WaitUntil(
        [&] { return !WaitForWindow(program_.info.dwProcessId, L"TidewellBackdrop", 0ms); }, 10s))
        << "the backdrop stayed after the run";
}

// A deck on this disk cut short (a copy broken off) is skipped, never handed to the program.
TEST_F(EndedByTheTest, PlayLog_EveryEventInOrder_BrokenDeckSkipped_UnwritableLogStopsNothing) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b \u00e9t\u00e9.ppt");
    const std::wstring broken = folder_.File(L"broken.pptx");
    testing::WriteBytes(
        broken, testing::CutShort(testing::ReadBytes(testing::TestPresentation(L"Menu.pptx"))));
    ::SetEnvironmentVariableW(L"TIDEWELL_E2E_SCREEN", L"lobby7");
    const std::wstring log = folder_.File(L"lobby7.log");

    Start(L"/play /log " + Quoted(folder_.File(L"%TIDEWELL_E2E_SCREEN%.log")) + L" " +
          Quoted(SettingFile(StandinPath(), {a, broken, b})));
    const HWND first = WaitForShowOn(SecondMonitor());
    ASSERT_NE(first, nullptr);
    ender_.EndShow();
    ASSERT_NE(WaitForShowOn(SecondMonitor(), first), nullptr);
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
    ASSERT_TRUE(WaitUntil([&] { return PlayLogEvents(log, "run-end") > 0; }, 10s))
        << "no run-end in the log";

    const auto lines = ReadPlayLog(log);
    std::vector<std::string> events;
    for (const auto& columns : lines) {
        ASSERT_EQ(columns.size(), 5u);
        EXPECT_EQ(columns[0].size(), 29u) << columns[0];  // 2026-12-08T03:12:05.123+01:00
        EXPECT_EQ(columns[0][10], 'T');
        events.push_back(columns[1]);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"run-start", "show-start", "show-placed",
                                                "show-end", "show-skipped", "show-start",
                                                "show-placed", "show-end", "run-end"}));
    EXPECT_EQ(lines[1][2], "2");
    EXPECT_EQ(lines[1][3], Utf8(a));
    EXPECT_EQ(lines[4][3], Utf8(broken));
    EXPECT_EQ(lines[4][4].rfind("not a whole presentation: ", 0), 0u) << lines[4][4];
    EXPECT_EQ(lines[5][3], Utf8(b));
    EXPECT_NE(lines[3][4].find("exit code 0"), std::string::npos) << lines[3][4];
    for (const StandinShow& show : ReadStandinLog(log_)) EXPECT_NE(show.file, broken);
    CloseAndWait();

    // A log in a folder that is not there: the run plays all the same.
    Start(L"/play /log " + Quoted(folder_.File(L"missing\\x.log")) + L" " +
          Quoted(SettingFile(StandinPath(), {a})));
    ASSERT_NE(WaitForShowOn(SecondMonitor()), nullptr) << "an unwritable log stopped the run";
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
}

TEST_F(EndedByTheTest, Loop_TakesUpItsRewrittenSettingFileAndKeepsItsListOverGarbage) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    const std::wstring setting = SettingFile(StandinPath(), {a});

    Start(L"/play /loop " + Quoted(setting));
    HWND show = WaitForShowOn(SecondMonitor());
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(WindowCaption(show), a);

    SettingFile(StandinPath(), {b, b});
    const auto next = [&] {
        ender_.EndShow();
        const HWND after = WaitForShowOn(SecondMonitor(), show);
        show = after;
        return after ? WindowCaption(after) : L"(none)";
    };
    EXPECT_EQ(next(), b) << "the next pass did not take up the rewritten file";
    {
        std::ofstream garbage(std::filesystem::path(setting), std::ios::binary | std::ios::trunc);
        garbage << "this is not a setting file";
    }
    EXPECT_EQ(next(), b);
    EXPECT_EQ(next(), b) << "a file that is no setting file ended the list";
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
    ASSERT_TRUE(MainWindowShown());
}

// Decks without slide timings paged by the run to their black end slide and past it; a show that
// would never end closed after its time on screen. Both end the run on their own.
TEST_F(Unattended, EntrySettings_DeckPagedThroughToItsEnd_ShowClosedAfterItsTime) {
    const std::wstring deck = Deck(L"deck.pptx"), still = Deck(L"still.pptx");
    standin_.Set(L"SLIDES", L"3");

    Start(L"/play /exit " +
              Quoted(SettingFile(StandinPath(), {deck + L"\tadvance=1", still + L"\tshowfor=2"})),
          false);
    ASSERT_EQ(WaitForExit(program_, 60s), 0u) << "the run did not end by itself";
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 2u);
    EXPECT_EQ(shows[0].reason, L"end") << "the deck was not paged past its end slide";
    // Three slides: two moves, the end slide, and the key that ends the show; a second apart.
    ASSERT_EQ(shows[0].pages.size(), 4u);
    for (std::size_t i = 1; i < shows[0].pages.size(); ++i) {
        EXPECT_GE(shows[0].pages[i] - shows[0].pages[i - 1], 900'000) << "page " << i;
    }
    EXPECT_EQ(shows[1].reason, L"close");
    EXPECT_TRUE(shows[1].pages.empty());
    EXPECT_GE(shows[1].end - shows[1].moved, 2'000'000) << "closed before its time on screen";
}

// A list whose only entry is due in two minutes: the run waits with the monitor black, says so in
// its log, and plays the entry when it is due. The program's schedule clock starts at 06:58 and
// runs 20 times as fast, so the two minutes take six seconds.
TEST_F(Unattended, NothingDueNow_WaitsWithTheMonitorBlackThenPlaysWhenDue) {
    const ScopedEnvironment clock(L"TIDEWELL_TEST_CLOCK", L"2026-12-07T06:58:00,20");
    const std::wstring breakfast = Deck(L"breakfast.pptx");
    const std::wstring log = folder_.File(L"lobby.log");
    standin_.Set(L"SECONDS", L"0.5");

    Start(L"/play /exit /log " + Quoted(log) + L" " +
              Quoted(SettingFile(StandinPath(), {breakfast + L"\thours=07:00-10:30"})),
          false);
    ASSERT_NE(WaitForWindow(program_.info.dwProcessId, L"TidewellBackdrop", 20s), nullptr)
        << "the monitor is not covered while the run waits";
    EXPECT_TRUE(ReadStandinLog(log_).empty()) << "a show started before its time";
    ASSERT_EQ(WaitForExit(program_, 60s), 0u) << "the run did not end after the show";
    ASSERT_EQ(ReadStandinLog(log_).size(), 1u);

    std::vector<std::string> events;
    std::string waiting;
    for (const auto& line : ReadPlayLog(log)) {
        events.push_back(line.at(1));
        if (line.at(1) == "waiting") waiting = line.at(4);
    }
    EXPECT_EQ(waiting, "next show at 07:00");
    EXPECT_EQ(events, (std::vector<std::string>{"run-start", "waiting", "show-start", "show-placed",
                                                "show-end", "run-end"}));
}

// A loop that follows its setting file waits while the file's only entry's dates are over, rather
// than ending; saved with a 07:00 entry, then with a 06:45 one, the file is read while the run
// waits, and the 06:45 entry plays at its time. The schedule clock starts at 06:00 and runs 100
// times as fast; the file is read again every half second.
TEST_F(EndedByTheTest, FollowedFileSavedWhileWaiting_WaitWorkedOutFromWhatItHoldsNow) {
    const ScopedEnvironment clock(L"TIDEWELL_TEST_CLOCK", L"2026-12-07T06:00:00,100");
    const ScopedEnvironment timings(L"TIDEWELL_TEST_RUN_TIMINGS", L"followReadMs=500");
    const std::wstring log = folder_.File(L"lobby.log");
    const std::wstring early = Deck(L"early.pptx");
    const std::vector<std::pair<std::wstring, std::string>> saves = {
        {Deck(L"advent.pptx") + L"\tuntil=2026-12-01", "nothing in the list is due any more"},
        {Deck(L"breakfast.pptx") + L"\thours=07:00-10:30", "next show at 07:00"},
        {early + L"\thours=06:45-08:00", "next show at 06:45"}};
    std::vector<std::string> said;
    for (const auto& [entry, waiting] : saves) {
        const std::wstring setting = SettingFile(StandinPath(), {entry});
        if (said.empty()) Start(L"/play /loop /log " + Quoted(log) + L" " + Quoted(setting));
        said.push_back(waiting);
        ASSERT_TRUE(WaitUntil([&] { return PlayLogDetails(log, "waiting") == said; }, 20s))
            << "the run did not wait for: " << waiting;
    }
    ASSERT_NE(WaitForShowOn(SecondMonitor()), nullptr) << "nothing played";
    EXPECT_EQ(RunToEnd(L"/stop"), 0u);
    ender_.EndShow();
    ASSERT_TRUE(MainWindowShown());
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].file, early);
}

}  // namespace
}  // namespace tidewell::e2e
