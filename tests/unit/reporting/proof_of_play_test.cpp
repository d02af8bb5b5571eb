#include "reporting/proof_of_play.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/iso_date.h"
#include "common/utf16.h"
#include "run/play_log.h"
#include "scratch_folder.h"

namespace tidewell {
namespace {

// One line of a play log on monitor 1, as the run writes it.
std::string L(const std::string& time, const std::string& event, const std::string& path = "",
              const std::string& detail = "") {
    return time + "\t" + event + "\t1\t" + path + "\t" + detail + "\r\n";
}

// Central Europe's rules as Windows gives them: daylight time from the last Sunday of March at
// 02:00 to the last Sunday of October at 03:00.
constexpr const char* kParis = "W. Europe Standard Time";
std::optional<ZoneYear> TestZones(const std::string& key, int) {
    if (key != kParis) return std::nullopt;
    return ZoneYear{-60, 0, -60, {0, 10, 0, 5, 3, 0}, {0, 3, 0, 5, 2, 0}};
}

// The files of the scratch folder as the report reads them, with a say in how a file opens and
// reads: a file named in `unopenable` cannot be opened, one named in `failing` fails after its
// first piece, and `onFirstRead` runs when any file is first read. A file opened holds what the
// file held then, as an open file does when its name is given to another.
struct TestFiles {
    std::vector<std::string> unopenable, failing;
    std::function<void()> onFirstRead;

    ReportFiles Files() const {
        ReportFiles files = StandardReportFiles();
        files.open = [this, standard = files.open](
                         const std::filesystem::path& path) -> std::unique_ptr<ReadableFile> {
            const std::string name = path.filename().string();
            const std::unique_ptr<ReadableFile> file = standard(path);
            if (!file || std::ranges::count(unopenable, name)) return nullptr;
            return std::make_unique<Opened>(*ReadWhole(*file, 1 << 20),
                                            std::ranges::count(failing, name) > 0, onFirstRead);
        };
        return files;
    }

    struct Opened : ReadableFile {
        Opened(std::string content, bool fails, std::function<void()> first)
            : content(std::move(content)), fails(fails), first(std::move(first)) {}
        std::optional<std::size_t> Read(char* into, std::size_t size) override {
            if (first) std::exchange(first, nullptr)();
            if (fails && at > 0) return std::nullopt;
            const std::size_t count = content.copy(into, std::min<std::size_t>(size, 64), at);
            at += count;
            return count;
        }
        std::string content;
        bool fails;
        std::function<void()> first;
        std::size_t at = 0;
    };
};

// "date path: plays seconds skipped timed-out failed without-end" of each row, then
// "file: N unread" of each log with lines that could not be read.
std::vector<std::string> Summary(const ProofOfPlay& proof) {
    std::vector<std::string> lines;
    for (const ProofRow& row : proof.rows) {
        const PlayFigures& f = row.figures;
        lines.push_back(row.screen + " " + IsoDate(row.day) + " " + row.presentation + ": " +
                        std::to_string(f.plays) + " " + std::to_string(f.milliseconds / 1000) +
                        " " + std::to_string(f.skipped) + " " + std::to_string(f.timedOut) + " " +
                        std::to_string(f.failed) + " " + std::to_string(f.withoutEnd) +
                        (row.kind == PlayKind::Announcement ? " announcement" : ""));
    }
    for (const UnreadLines& unread : proof.unread) {
        lines.push_back(unread.logName + ": " + std::to_string(unread.lines) + " unread");
    }
    for (const UnreadFile& unread : proof.unreadFiles) {
        lines.push_back(unread.screen + "/" + unread.name + ": not read");
    }
    return lines;
}

struct LogCase {
    const char* situation;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    std::vector<std::string> expected;
    DayRange days;
    TestFiles access;
    std::string localZone = kParis;  // of the computer writing the report
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
        {"a clock at 2000-01-01 set right during the show: the run's measure, on the later clock",
         {{"hall.log",
           L("2000-01-01T00:00:10.000+01:00", placed, "A.pptx") +
               L("2026-12-08T10:05:00.000+01:00", end, "A.pptx", "300.000 s, exit code 0")}},
         {"hall 2000-01-01 A.pptx: 1 0 0 0 0 0", "hall 2026-12-08 A.pptx: 0 300 0 0 0 0"}},
        {"years 0001 to 9999 claimed, with a measure past belief or none, or a clock gone back",
         {{"hall.log", L("0001-01-01T00:00:00.000+01:00", placed, "A.pptx") +
                           L("9999-12-31T00:00:00.000+01:00", end, "A.pptx") +
                           L("0001-01-01T00:00:00.000+01:00", placed, "B.pptx") +
                           L("9999-12-31T00:00:00.000+01:00", end, "B.pptx", "99999999999.000 s") +
                           L("2026-12-08T11:00:00.000+01:00", "run-start") +
                           L("2026-12-08T12:00:00.000+01:00", placed, "C.pptx") +
                           L("2026-12-08T14:00:00.000+01:00", end, "C.pptx") +
                           L("2026-12-08T12:30:00.000+01:00", "run-end")}},
         {"hall 0001-01-01 A.pptx: 1 0 0 0 0 1", "hall 0001-01-01 B.pptx: 1 0 0 0 0 1",
          "hall 2026-12-08 C.pptx: 1 0 0 0 0 1"}},
        {"across the spring change, split at the midnights of the zone the run names",
         {{"hall.log", L("2026-03-27T11:00:00.000+01:00", "run-start", "",
                         EncodeUtf8(RunStartDetail(1, false, L"W. Europe Standard Time"))) +
                           L("2026-03-27T12:00:00.000+01:00", placed, "A.pptx") +
                           L("2026-03-30T12:00:00.000+02:00", end, "A.pptx", "255600.000 s")}},
         {"hall 2026-03-27 A.pptx: 1 43200 0 0 0 0", "hall 2026-03-28 A.pptx: 0 86400 0 0 0 0",
          "hall 2026-03-29 A.pptx: 0 82800 0 0 0 0", "hall 2026-03-30 A.pptx: 0 43200 0 0 0 0"},
         {},
         {},
         "Pacific Standard Time"},
        {"a log naming no zone whose offsets are those of the computer writing the report",
         {{"hall.log", L("2026-03-27T12:00:00.000+01:00", placed, "A.pptx") +
                           L("2026-03-30T12:00:00.000+02:00", end, "A.pptx", "255600.000 s")}},
         {"hall 2026-03-27 A.pptx: 1 43200 0 0 0 0", "hall 2026-03-28 A.pptx: 0 86400 0 0 0 0",
          "hall 2026-03-29 A.pptx: 0 82800 0 0 0 0", "hall 2026-03-30 A.pptx: 0 43200 0 0 0 0"}},
        {"a log that cannot be opened, one that fails half-way, a folder listed whole",
         {{"hall.log", L("2026-12-08T10:00:00.000+01:00", "show-skipped", "A.pptx")},
          {"lobby.log", L("2026-12-08T10:00:00.000+01:00", "show-skipped", "A.pptx") +
                            L("2026-12-08T10:00:01.000+01:00", "show-skipped", "A.pptx")}},
         {"lobby 2026-12-08 A.pptx: 0 0 1 0 0 0", "hall/hall.log: not read",
          "lobby/lobby.log: not read"},
         {},
         {{"hall.log"}, {"lobby.log"}}},
        {"a rotation while the older log is read costs no generation",
         {{"hall.log.1", L("2026-12-08T10:00:00.000+01:00", "show-skipped", "A.pptx")},
          {"hall.log", L("2026-12-08T11:00:00.000+01:00", "show-skipped", "B.pptx")}},
         {"hall 2026-12-08 A.pptx: 0 0 1 0 0 0", "hall 2026-12-08 B.pptx: 0 0 1 0 0 0"},
         {},
         {{},
          {},
          [this] {
              std::filesystem::rename(folder_ / "hall.log", folder_ / "hall.log.1");
              Write("hall.log", L("2026-12-08T12:00:00.000+01:00", "show-skipped", "C.pptx"));
          }}},
        {"announcement shows apart; control characters and broken UTF-8 in a name; offsets that "
         "no clock shows",
         {{"hall.log", L("2026-12-08T10:00:00.000+01:00", "alert-start", "Fire.ppsv") +
                           L("2026-12-08T10:00:01.000+01:00", placed, "Fire.pptx") +
                           L("2026-12-08T10:00:11.000+01:00", end, "Fire.pptx") +
                           L("2026-12-08T10:00:12.000+01:00", "alert-end", "Fire.ppsv") +
                           L("2026-12-08T10:00:13.000+01:00", placed, "Fire.pptx") +
                           L("2026-12-08T10:00:14.000+01:00", "show-skipped", "A\x1b[2J\xff.pptx") +
                           L("2026-12-08T10:00:15.000+99:99", "show-skipped", "B.pptx")}},
         {"hall 2026-12-08 A [2J\xEF\xBF\xBD.pptx: 0 0 1 0 0 0",
          "hall 2026-12-08 Fire.pptx: 1 0 0 0 0 1",
          "hall 2026-12-08 Fire.pptx: 1 10 0 0 0 0 announcement", "hall.log: 1 unread"}},
    };
    for (const LogCase& c : cases) {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        for (const auto& [name, content] : c.files) Write(name, content);
        ZoneOffsets zones(TestZones);
        EXPECT_EQ(
            Summary(ReadPlayLogFolder(folder_, c.days, c.access.Files(), {&zones, c.localZone})),
            c.expected)
            << c.situation;
    }
}

TEST_F(ProofOfPlayTable, FolderThatCannotBeListed_SaidSo) {
    EXPECT_EQ(Summary(ReadPlayLogFolder(folder_ / "missing", {}, StandardReportFiles(), {})),
              std::vector<std::string>{"/missing: not read"});
}

TEST(ProofOfPlayCsv, Fields_QuotedWhereNeededAndFormulasKeptAsText) {
    ProofOfPlay proof;
    proof.rows.push_back({"=HYPERLINK(\"x\")",
                          *DayOfIsoDate("2026-12-08"),
                          "C:\\Shows\\A, \"B\".pptx",
                          {3, 1500, 1, 0, 2, 0}});
    proof.rows.push_back({"hall", *DayOfIsoDate("2026-12-09"), "-1+2.pptx", {1, 499, 0, 0, 0, 0}});
    proof.rows.push_back(
        {"hall", *DayOfIsoDate("2026-12-09"), "x;=1+1;\t@a,-b.pptx", {}, PlayKind::Announcement});
    proof.unread.push_back({"hall", "hall.log", 1});
    proof.unreadFiles.push_back({"lobby", "lobby.log"});
    EXPECT_EQ(ProofOfPlayCsv(proof),
              "\xEF\xBB\xBFscreen,date,presentation,plays,seconds on screen,skipped,timed out,"
              "failed,plays without end,kind\r\n"
              "\"'=HYPERLINK(\"\"x\"\")\",2026-12-08,\"C:\\Shows\\A, \"\"B\"\".pptx\",3,2,1,0,2,0,"
              "list\r\n"
              "hall,2026-12-09,\"'-1+2.pptx\",1,0,0,0,0,0,list\r\n"
              "hall,2026-12-09,\"x;'=1+1;'\t'@a,'-b.pptx\",0,0,0,0,0,0,announcement\r\n"
              "hall,,1 line of hall.log not understood,,,,,,,\r\n"
              "lobby,,lobby.log could not be read,,,,,,,\r\n");
}

}  // namespace
}  // namespace tidewell
