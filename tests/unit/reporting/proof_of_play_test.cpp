#include "reporting/proof_of_play.h"

#include <gtest/gtest.h>

#include "common/iso_date.h"
#include "scratch_folder.h"

namespace tidewell {
namespace {

// One line of a play log on monitor 1, as the run writes it.
std::string L(const std::string& time, const std::string& event, const std::string& path = "") {
    return time + "\t" + event + "\t1\t" + path + "\t\r\n";
}

// "date path: plays seconds skipped timed-out failed without-end" of each row, then
// "file: N unread" of each log with lines that could not be read.
std::vector<std::string> Summary(const ProofOfPlay& proof) {
    std::vector<std::string> lines;
    for (const ProofRow& row : proof.rows) {
        const PlayFigures& f = row.figures;
        lines.push_back(row.screen + " " + IsoDate(row.day) + " " + row.presentation + ": " +
                        std::to_string(f.plays) + " " + std::to_string(f.milliseconds / 1000) +
                        " " + std::to_string(f.skipped) + " " + std::to_string(f.timedOut) + " " +
                        std::to_string(f.failed) + " " + std::to_string(f.withoutEnd));
    }
    for (const UnreadLines& unread : proof.unread) {
        lines.push_back(unread.logName + ": " + std::to_string(unread.lines) + " unread");
    }
    return lines;
}

struct LogCase {
    const char* situation;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    std::vector<std::string> expected;
    DayRange days;
};

class ProofOfPlayTable : public ScratchFolder {};

TEST_F(ProofOfPlayTable, LogFragments_RowsPerScreenDayAndPresentation) {
    const std::string placed = "show-placed", end = "show-end";
    const LogCase cases[] = {
        {"a show across midnight is split at midnight",
         {{"hall.log", L("2026-12-08T23:50:00.000+01:00", placed, "A.pptx") +
                           L("2026-12-09T00:10:30.400+01:00", end, "A.pptx")}},
         {"hall 2026-12-08 A.pptx: 1 600 0 0 0 0", "hall 2026-12-09 A.pptx: 0 630 0 0 0 0"}},
        {"the clock goes back an hour during a show: 20 minutes, not minus 40",
         {{"hall.log", L("2026-10-25T02:50:00.000+02:00", placed, "A.pptx") +
                           L("2026-10-25T02:10:00.000+01:00", end, "A.pptx")}},
         {"hall 2026-10-25 A.pptx: 1 1200 0 0 0 0"}},
        {"the clock goes forward after midnight: midnight is on the clock of placement",
         {{"hall.log", L("2026-03-28T23:30:00.000+01:00", placed, "A.pptx") +
                           L("2026-03-29T03:30:00.000+02:00", end, "A.pptx")}},
         {"hall 2026-03-28 A.pptx: 1 1800 0 0 0 0", "hall 2026-03-29 A.pptx: 0 9000 0 0 0 0"}},
        {"a show placed in the rotated log and ended in the new one",
         {{"Hall.LOG", L("2026-12-08T10:00:50.000+01:00", end, "A.pptx")},
          {"Hall.log.1", L("2026-12-08T10:00:00.000+01:00", placed, "A.pptx")},
          {"report.csv", "screen,date\r\n"}},
         {"Hall 2026-12-08 A.pptx: 1 50 0 0 0 0"}},
        {"power lost during a show: a play without end, the next start goes on",
         {{"hall.log", L("2026-12-08T10:00:00.000+01:00", placed, "A.pptx") +
                           L("2026-12-08T10:20:00.000+01:00", "run-start") +
                           L("2026-12-08T10:20:01.000+01:00", "show-start", "A.pptx") +
                           L("2026-12-08T10:20:03.000+01:00", placed, "A.pptx") +
                           L("2026-12-08T10:20:13.000+01:00", end, "A.pptx") +
                           L("2026-12-08T10:20:14.000+01:00", placed, "B.pptx")}},
         {"hall 2026-12-08 A.pptx: 2 10 0 0 0 1", "hall 2026-12-08 B.pptx: 1 0 0 0 0 1"}},
        {"a line cut in the middle, the next one glued to it, and a last line not whole",
         {{"hall.log", L("2026-12-08T10:00:00.000+01:00", placed, "A.pptx") +
                           "2026-12-08T10:00:05.000+01:00\tshow-e" +
                           L("2026-12-08T10:00:09.000+01:00", end, "A.pptx") +
                           L("2026-12-08T11:00:00.000+01:00", placed, "B.pptx") +
                           "\r\n2026-12-08T11:00:09.000+01:00\tshow-end\t1\tB.pptx\t9.0"}},
         {"hall 2026-12-08 A.pptx: 1 0 0 0 0 1", "hall 2026-12-08 B.pptx: 1 0 0 0 0 1",
          "hall.log: 2 unread"}},
        {"skipped, timed out and failed shows; an error or an alert's end is no row; two screens",
         {{"b.log", L("2026-12-08T10:00:00.000+01:00", "show-skipped", "A.pptx") +
                        L("2026-12-08T10:00:01.000+01:00", "show-timeout", "A.pptx") +
                        L("2026-12-08T10:00:02.000+01:00", "error", "A.pptx") +
                        L("2026-12-08T10:00:03.000+01:00", "error") +
                        L("2026-12-08T10:00:03.500+01:00", "alert-end", "Fire.ppsv") +
                        L("2026-12-08T10:00:04.000+01:00", "no-such-event", "A.pptx")},
          {"a.log", L("2026-12-08T09:00:00.000-05:00", placed, "C:\\x.pptx")}},
         {"a 2026-12-08 C:\\x.pptx: 1 0 0 0 0 1", "b 2026-12-08 A.pptx: 0 0 1 1 1 0",
          "b.log: 1 unread"}},
        {"days outside the range are left out, a show's part inside stays",
         {{"hall.log", L("2026-12-07T23:59:00.000+01:00", placed, "A.pptx") +
                           L("2026-12-08T00:01:00.000+01:00", end, "A.pptx") +
                           L("2026-12-09T10:00:00.000+01:00", "show-skipped", "A.pptx")}},
         {"hall 2026-12-08 A.pptx: 0 60 0 0 0 0"},
         {DayOfIsoDate("2026-12-08"), DayOfIsoDate("2026-12-08")}},
    };
    for (const LogCase& c : cases) {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        for (const auto& [name, content] : c.files) Write(name, content);
        EXPECT_EQ(Summary(ReadPlayLogFolder(folder_, c.days)), c.expected) << c.situation;
    }
}

TEST(ProofOfPlayCsv, Fields_QuotedWhereNeededAndFormulasKeptAsText) {
    ProofOfPlay proof;
    proof.rows.push_back({"=HYPERLINK(\"x\")",
                          *DayOfIsoDate("2026-12-08"),
                          "C:\\Shows\\A, \"B\".pptx",
                          {3, 1500, 1, 0, 2, 0}});
    proof.rows.push_back({"hall", *DayOfIsoDate("2026-12-09"), "-1+2.pptx", {1, 499, 0, 0, 0, 0}});
    proof.unread.push_back({"hall", "hall.log", 1});
    EXPECT_EQ(
        ProofOfPlayCsv(proof),
        "\xEF\xBB\xBFscreen,date,presentation,plays,seconds on screen,skipped,timed out,"
        "failed,plays without end\r\n"
        "\"'=HYPERLINK(\"\"x\"\")\",2026-12-08,\"C:\\Shows\\A, \"\"B\"\".pptx\",3,2,1,0,2,0\r\n"
        "hall,2026-12-09,\"'-1+2.pptx\",1,0,0,0,0,0\r\n"
        "hall,,1 line of hall.log not understood,,,,,,\r\n");
}

}  // namespace
}  // namespace tidewell
