#include "reporting/overview_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>

#include "common/iso_date.h"
#include "reporting/run_status.h"
#include "scratch_folder.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;

class ScreenFolder : public ScratchFolder {
  protected:
    // The file is written at `written` by the file server's clock; by default when the screen's
    // own clock says it was updated.
    void WriteStatus(const std::string& name, const std::string& updated, bool withError = true,
                     const std::string& copyTime = "", const std::string& written = "") {
        RunStatus status;
        RunEventRecord start{RunEvent::ShowStart, 2, L"C:\\Shows\\Menu.ppsx", L"", 3, 12};
        start.copyTime = copyTime;
        start.monitorName = L"LG TV";
        ApplyRunEvent(status, start, "2026-12-08T08:00:03.125+01:00");
        if (withError) {
            ApplyRunEvent(status, {RunEvent::Error, 2, L"", L"<script>alert(1)</script>"}, "T");
        }
        Write(name + ".json", StatusDocument(status, {L"PC", L"lobby", "2.35"}, updated));
        WrittenAt(name + ".json", written.empty() ? updated : written);
    }
    void WrittenAt(const std::string& file, const std::string& time) {
        const std::chrono::sys_seconds at{std::chrono::seconds{*UtcSecondsOf(time)}};
        fs::last_write_time(folder_ / fs::u8path(file), std::chrono::file_clock::from_sys(at));
    }
};

std::vector<std::string> Cards(const std::string& page) {
    const std::regex card(
        "<article "
        "class=\"([^\"]*)\"[^>]*>\\s*(?:<a[^>]*>)?<(img|div)[^>]*>[^<]*(?:</div>)?(?:</a>)?"
        "\\s*<h2>([^<]*)</h2>");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), card);
         it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[3].str() + ":" + (*it)[1].str() + ":" + (*it)[2].str());
    }
    return found;
}

TEST_F(ScreenFolder, StatusFilesAndPictures_OneCardEachStaleAndUnreadableMarked) {
    const long long now = *UtcSecondsOf("2026-12-08T08:10:00.000+01:00");
    const std::string fresh = "2026-12-08T08:09:50.000+01:00";
    WriteStatus("fresh", fresh);
    Write("fresh.png", "png");
    WriteStatus("other zone", "2026-12-08T07:07:30.000+00:00");  // 2.5 min: not yet stale
    WriteStatus("quiet", "2026-12-08T08:03:20.000+01:00");
    Write("broken.json", "{\"state\": \"play");
    Write("not a status.json", "[1, 2]");
    for (const char* file : {"broken.json", "not a status.json"}) WrittenAt(file, fresh);
    Write("picture only.PNG", "png");
    Write("index.html", "old page");
    WriteStatus("R&D 'west'", "2026-12-08T08:09:50.000+01:00", true,
                "2026-12-08T07:12:00.000+01:00");

    const std::string page = OverviewPage(ReadScreenFolder(folder_), now, "2026-12-08T08:10:00");

    EXPECT_EQ(Cards(page), (std::vector<std::string>{
                               "R&amp;D &#39;west&#39;:card:div",
                               "broken:card unreadable:div",
                               "fresh:card:img",
                               "not a status:card unreadable:div",
                               "other zone:card:div",
                               "picture only:card:img",
                               "quiet:card stale:div",
                           }));
    EXPECT_NE(page.find("src=\"picture%20only.PNG\""), std::string::npos);
    EXPECT_NE(page.find("6 min"), std::string::npos) << "the stale card says how old it is";
    EXPECT_NE(page.find("3 of 12"), std::string::npos);
    EXPECT_NE(page.find("monitor 2 (LG TV)"), std::string::npos) << "the card names the monitor";
    EXPECT_NE(page.find("plays its copy of 2026-12-08 07:12:00"), std::string::npos)
        << "a screen whose share is down says so";
    EXPECT_EQ(page.find("<script"), std::string::npos) << "a status's text is text, never markup";
}

TEST_F(ScreenFolder, Fleet_CountsFirstThenScreensThatNeedSomeoneThenTodaysFigures) {
    const long long now = *UtcSecondsOf("2026-12-08T08:10:00.000+01:00");
    const std::string fresh = "2026-12-08T08:09:50.000+01:00";
    for (const char* name : {"a", "c", "e"}) WriteStatus(name, fresh, false);
    WriteStatus("b", fresh);
    WriteStatus("d", "2026-12-08T08:00:00.000+01:00", false);
    Write("a.png", "png");
    const int today = *DayOfIsoDate("2026-12-08");
    ProofOfPlay proof;
    proof.rows = {{"A", today, "x.pptx", {2, 65'400}},
                  {"A", today, "y.pptx", {1, 4'000}},
                  {"c", today - 1, "x.pptx", {9, 900'000}}};

    const std::string page = OverviewPage(ReadScreenFolder(folder_), now, fresh,
                                          FiguresOfToday(proof, "report.csv", today));

    std::vector<std::string> order;
    for (const std::string& card : Cards(page)) order.push_back(card.substr(0, card.find(':')));
    EXPECT_EQ(order, (std::vector<std::string>{"b", "d", "a", "c", "e"}));
    EXPECT_NE(page.find(">5 screens: 4 playing, 1 not heard of for 3 minutes<"), std::string::npos);
    EXPECT_NE(page.find("<h2>a</h2>"), std::string::npos);
    EXPECT_NE(page.find("today: 3 plays, 69 s on screen"), std::string::npos);
    EXPECT_NE(page.find("today: 0 plays, 0 s on screen"), std::string::npos) << "c: only yesterday";
    EXPECT_NE(page.find("loading=\"lazy\""), std::string::npos);
    EXPECT_NE(page.find("href=\"report.csv\""), std::string::npos);
    EXPECT_EQ(AddressFromPage("/srv/screens", "/srv/screens/report.csv"), "report.csv");
    EXPECT_EQ(AddressFromPage("/srv/screens", "/srv/play logs/report.csv"),
              "file:///srv/play%20logs/report.csv");
}

// A screen's clock may be wrong; the file server's is one for all. Every screen that needs someone
// gets one line above the cards, with a link to its card.
TEST_F(ScreenFolder, WrongClocksCaseAndTroubles_JudgedByTheFileAndListedAboveTheCards) {
    const long long now = *UtcSecondsOf("2026-12-08T08:10:00.000+01:00");
    const std::string fresh = "2026-12-08T08:09:50.000+01:00";
    WriteStatus("fast", "2026-12-08T11:04:00.000+01:00", false, "",
                "2026-12-08T08:04:00.000+01:00");
    WriteStatus("far ahead", "2099-01-01T00:00:00.000+01:00", false, "", fresh);
    WriteStatus("LOBBY-3", fresh, false);
    Write("lobby-3.png", "png");
    WriteStatus("log gone", fresh, false);
    WriteStatus("well", fresh, false);
    Write("crashed.json",
          "{\"state\": \"crashed\", \"since\": \"2026-12-08T07:00:00.000+01:00\", "
          "\"updated\": \"" +
              fresh + "\"}");
    WrittenAt("crashed.json", fresh);
    ProofOfPlay proof;
    proof.unreadFiles = {{"Log Gone", "Log Gone.log"}};

    const std::string page = OverviewPage(ReadScreenFolder(folder_), now, fresh,
                                          FiguresOfToday(proof, "", *DayOfIsoDate("2026-12-08")));

    EXPECT_EQ(Cards(page), (std::vector<std::string>{"crashed:card:div", "far ahead:card:div",
                                                     "fast:card stale:div", "log gone:card:div",
                                                     "LOBBY-3:card:img", "well:card:div"}));
    EXPECT_NE(page.find(">6 screens: 4 playing, 1 in a state not known, 1 not heard of for 3 "
                        "minutes<"),
              std::string::npos);
    const std::regex item("<li><a href=\"#(s\\d+)\">([^<]*)</a> ([^<]*)");
    std::vector<std::string> listed;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), item);
         it != std::sregex_iterator(); ++it) {
        listed.push_back((*it)[2].str() + ": " + (*it)[3].str());
        EXPECT_NE(page.find("id=\"" + (*it)[1].str() +
                            "\">\n<div class=\"nopicture\">no "
                            "picture</div>\n<h2>" +
                            (*it)[2].str() + "<"),
                  std::string::npos)
            << "the link leads to the card of " << (*it)[2].str();
    }
    EXPECT_EQ(listed,
              (std::vector<std::string>{
                  "crashed: state &quot;crashed&quot; ", "far ahead: clock 26321 days ahead ",
                  "fast: no news for 6 min", "log gone: play log unreadable"}));
    EXPECT_NE(page.find("clock 3 h 0 min ahead"), std::string::npos);
}

// What a status file and the page carry is read by people and scripts far away: no control
// character of a path or a message reaches either, whether Tidewell wrote the status or not.
TEST_F(ScreenFolder, ControlCharacters_NeitherInTheStatusNorOnThePage) {
    RunStatus status;
    ApplyRunEvent(status, {RunEvent::Error, 1, L"C:\\a\x1b[2J.ppt", L"x\u0085y\u2028z\u2029\x0b"},
                  "T");
    const std::string document = StatusDocument(status, {L"PC\x1b", L"lobby", "2.35"}, "T");
    Write("written.json", document);
    Write("forged.json",
          "{\"state\": \"playing\", \"updated\": \"2026-12-08T08:00:00.000+01:00\", "
          "\"detail\": \"a\\u001b]0;t\\u0007\\u2028b\\u009b\"}");
    const std::string page = OverviewPage(ReadScreenFolder(folder_), 0, "");
    for (const std::string& text : {document, page}) {
        for (const std::string control : {"\x1b", "\\u001b", "\x07", "\\u0007", "\x0b", "\\u000b",
                                          "\xc2\x85", "\xc2\x9b", "\xe2\x80\xa8", "\xe2\x80\xa9"}) {
            EXPECT_EQ(text.find(control), std::string::npos) << testing::PrintToString(control);
        }
    }
    EXPECT_NE(page.find("a ]0;t  b "), std::string::npos);
}

// A large folder is read by several readers at once: each screen still gets its own status.
TEST_F(ScreenFolder, LargeFolder_EveryScreenItsOwnStatus) {
    constexpr int kScreens = 500;
    for (int i = 0; i < kScreens; ++i) {
        Write("screen-" + std::to_string(i) + ".json",
              "{\"computer\": \"" + std::to_string(i) + "\"}");
    }
    Write("screen-7.png", "png");
    const ScreensOfFolder read = ReadScreenFolder(folder_);
    ASSERT_EQ(read.screens.size(), std::size_t{kScreens});
    for (const ScreenFiles& screen : read.screens) {
        ASSERT_TRUE(screen.status) << screen.name;
        EXPECT_EQ(screen.status->computer, screen.name.substr(7));
        EXPECT_EQ(screen.picture.empty(), screen.name != "screen-7") << screen.name;
    }
}

TEST_F(ScreenFolder, EmptyOrMissingFolder_PageWithoutCards) {
    EXPECT_TRUE(Cards(OverviewPage(ReadScreenFolder(folder_), 0, "")).empty());
    const ScreensOfFolder missing = ReadScreenFolder(folder_ / "missing");
    EXPECT_TRUE(missing.screens.empty());
    EXPECT_FALSE(missing.listedWhole);
    EXPECT_NE(OverviewPage(missing, 0, "").find("could not be read whole"), std::string::npos);
}

}  // namespace
}  // namespace tidewell
