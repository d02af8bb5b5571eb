#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "persistence/persistence_support.h"
#include "reporting/play_log_win32.h"

namespace tidewell::testing {
namespace {

using namespace std::chrono_literals;

std::string Text(const std::wstring& path) {
    const Bytes bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The size is tested before each line: a file at the limit still takes it, one byte more is
// renamed (replacing the older renamed one). A reader that keeps the file open, without allowing a
// rename, sees the lines as they come, and the file that cannot be renamed takes them all the same.
TEST(AppendLogLine, RotationAboveTheLimit_ReadersNeverBlockLines) {
    ScratchFolder folder;
    const std::wstring log = folder / L"screen.log";
    const std::string atLimit(kPlayLogRotationBytes, 'x');
    WriteBytes(log, Bytes(atLimit.begin(), atLimit.end()));
    folder.File(L"screen.log.1", Bytes{'o', 'l', 'd'});
    ASSERT_TRUE(AppendLogLine(log, "first\r\n"));
    EXPECT_EQ(Text(log + L".1"), "old") << "renamed at the limit";
    ASSERT_TRUE(AppendLogLine(log, "second\r\n"));
    EXPECT_EQ(Text(log), "second\r\n");
    EXPECT_EQ(Text(log + L".1"), atLimit + "first\r\n");

    UniqueFileHandle reader(::CreateFileW((log + L".1").c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    ::SetFilePointer(reader.get(), 0, nullptr, FILE_END);
    char seen[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(AppendLogLine(log + L".1", "held\r\n"));
    ASSERT_TRUE(::ReadFile(reader.get(), seen, sizeof seen, &read, nullptr));
    EXPECT_EQ(std::string(seen, read), "held\r\n");
    EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"screen.log", L"screen.log.1"}));
}

TEST(AppendLogLine, NoFolderOrAFolderInTheWay_False) {
    ScratchFolder folder;
    folder.AddFolder(L"is-a-folder.log");
    for (const std::wstring& path :
         {folder / L"missing\\screen.log", folder / L"is-a-folder.log"}) {
        EXPECT_FALSE(AppendLogLine(path, "line\r\n"));
    }
}

TEST(PlayLog, VariablesExpandedOnce_LinesInOrderStampedWithTheLocalTime) {
    ScratchFolder folder;
    ::SetEnvironmentVariableW(L"TIDEWELL_TEST_SCREEN", L"lobby-7");
    PlayLog log(folder.Path() + L"\\%TIDEWELL_TEST_SCREEN%.log");
    ::SetEnvironmentVariableW(L"TIDEWELL_TEST_SCREEN", L"changed");
    EXPECT_EQ(log.Path(), folder / L"lobby-7.log");

    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    EXPECT_TRUE(log.Write({RunEvent::RunStart, 2, L"", L""}));
    EXPECT_TRUE(log.Write({RunEvent::ShowEnd, 2, L"C:\\a.pptx", ShowEndDetail(1500, 0)}));
    ASSERT_TRUE(log.WaitWritten(10s));
    const std::string content = Text(folder / L"lobby-7.log");
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02dT", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(content.rfind(date, 0), 0u) << content;
    const auto start = content.find("\trun-start\t2\t\t\r\n");
    const auto end = content.find("\tshow-end\t2\tC:\\a.pptx\t1.500 s, exit code 0\r\n");
    EXPECT_TRUE(start != std::string::npos && end != std::string::npos && start < end) << content;
}

// A log that cannot be written costs the run nothing: Write says so from the first failed line
// on, and takes lines again once the folder is back.
TEST(PlayLog, UnwritableFolder_WriteReportsTheFailureUntilTheFolderIsBack) {
    ScratchFolder folder;
    PlayLog log(folder / L"missing\\screen.log");
    EXPECT_TRUE(log.Write({}));
    EXPECT_FALSE(log.WaitWritten(10s));
    EXPECT_FALSE(log.Write({}));

    folder.AddFolder(L"missing");
    log.Write({});
    EXPECT_TRUE(log.WaitWritten(10s));
    EXPECT_TRUE(log.Write({}));
}

}  // namespace
}  // namespace tidewell::testing
