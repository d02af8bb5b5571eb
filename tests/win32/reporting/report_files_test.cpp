#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "persistence/persistence_support.h"
#include "reporting/proof_of_play_win32.h"
#include "reporting/report_files_win32.h"
#include "reporting/run_status.h"

namespace tidewell::testing {
namespace {

// A screen rotates its log with one rename of the file that a report may be reading; the rename
// must take (else the screen's log outgrows its bound), and the report reads the old file whole.
TEST(SharedReportFiles, ALogRotatedWhileItIsRead_RenameTakesAndTheReadGetsItWhole) {
    ScratchFolder folder;
    const std::wstring log = folder / L"LOBBY-3.log";
    folder.File(L"LOBBY-3.log", Bytes{'o', 'l', 'd'});
    folder.File(L"LOBBY-3.json");
    const ReportFiles files = SharedReportFiles();
    int listed = 0;
    const long long now = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    EXPECT_TRUE(files.list(folder.Path(), [&](const FoundFile& found) {
        ++listed;
        EXPECT_LT(std::abs(found.writtenUtcSeconds - now), 120) << "written just now";
    }));
    EXPECT_EQ(listed, 2);

    const std::unique_ptr<ReadableFile> reading = files.open(log);
    ASSERT_TRUE(reading);
    EXPECT_TRUE(::MoveFileExW(log.c_str(), (log + L".1").c_str(), MOVEFILE_REPLACE_EXISTING))
        << ::GetLastError();
    EXPECT_EQ(ReadWhole(*reading, 100), "old");
    EXPECT_FALSE(files.open(folder / L"gone.json"));
    EXPECT_FALSE(files.list(folder / L"gone", [](const FoundFile&) {}));
}

// A log that another program holds without sharing is named in the report, never taken as empty.
TEST(ReadProofOfPlay, ALogHeldByAnotherProgram_NamedAmongTheUnread) {
    ScratchFolder folder;
    const std::string line = "2026-12-08T10:00:00.000+01:00\tshow-skipped\t1\tA.pptx\t\r\n";
    folder.File(L"hall.log", Bytes(line.begin(), line.end()));
    folder.File(L"lobby.log", Bytes(line.begin(), line.end()));
    const FileHolder holder(folder / L"hall.log", FileHolder::Mode::Exclusive);
    ASSERT_TRUE(holder.Holding());
    const std::optional<ProofOfPlay> proof = ReadProofOfPlay(folder.Path(), {});
    ASSERT_TRUE(proof);
    ASSERT_EQ(proof->unreadFiles.size(), 1u);
    EXPECT_EQ(proof->unreadFiles[0].name, "hall.log");
    ASSERT_EQ(proof->rows.size(), 1u);
    EXPECT_EQ(proof->rows[0].screen, "lobby");
}

// The report splits a screen's days at its zone's midnights: the system's table of zones must give
// the changes of a zone that is not this computer's.
TEST(SystemZoneRules, CentralEuropeIn2026_ChangesAtOneInTheMorningUtc) {
    ZoneOffsets zones(SystemZoneRules());
    const auto at = [&](const char* utc) {
        return zones.At("W. Europe Standard Time", *UtcSecondsOf(utc) * 1000).value_or(-1) / 60'000;
    };
    EXPECT_EQ(at("2026-03-29T00:59:59Z"), 60);
    EXPECT_EQ(at("2026-03-29T01:00:00Z"), 120);
    EXPECT_EQ(at("2026-10-25T00:59:59Z"), 120);
    EXPECT_EQ(at("2026-10-25T01:00:00Z"), 60);
    EXPECT_EQ(at("2026-12-08T12:00:00Z"), 60);
    EXPECT_FALSE(zones.At("No Such Standard Time", 0));
    EXPECT_FALSE(LocalZoneKey().empty());
}

}  // namespace
}  // namespace tidewell::testing
