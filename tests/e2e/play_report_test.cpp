// Two screens play short lists with /log into one folder, and /report adds their logs up, alone
// and for the overview page. Run by
// tests/e2e/play_report_test.sh, which names the folder and reads the report back with a CSV
// reader of its own.
#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

class PlayReport : public Unattended {
  protected:
    // One screen's run to its end, its log and status file named as %COMPUTERNAME% would name
    // them on that screen.
    void PlayScreen(const std::wstring& name, const std::vector<std::wstring>& shows) {
        const std::wstring files = logs_ + L"\\" + name;
        Start(L"/play /exit /log " + Quoted(files + L".log") + L" /status " +
                  Quoted(files + L".json") + L" " + Quoted(SettingFile(StandinPath(), shows)),
              false);
        ASSERT_EQ(WaitForExit(program_, 60s), 0u) << name << ": the run did not end";
    }

    std::wstring logs_ = []() -> std::wstring {
        wchar_t folder[MAX_PATH] = {};
        return ::GetEnvironmentVariableW(L"TIDEWELL_E2E_LOGS", folder, MAX_PATH) ? folder : L"";
    }();
};

TEST_F(PlayReport, DISABLED_TwoScreensPlayWithLogs_ReportWritten) {
    ASSERT_FALSE(logs_.empty()) << "TIDEWELL_E2E_LOGS names no folder";
    standin_.Set(L"SECONDS", L"3");
    // A comma, a letter outside ASCII and a formula behind a semicolon in names: the report must
    // quote and keep them, and no spreadsheet may run the formula, whatever its separator.
    const std::wstring a = Deck(L"Welcome.ppt"), b = Deck(L"Menu, \u00e9t\u00e9.ppt"),
                       c = Deck(L"x;=1+1;.ppt");
    PlayScreen(L"hall", {a, b});
    PlayScreen(L"lobby", {b, a, c, b});
    // The administrator's report of a range of days is his: the page's figures never replace it.
    EXPECT_EQ(RunToEnd(L"/report " + Quoted(logs_) + L" /from 2000-01-01 /until 2000-01-02"), 0u);
    const std::filesystem::path csv = logs_ + L"\\report.csv";
    const auto ranged = std::filesystem::file_size(csv);
    const std::filesystem::path page = logs_ + L"\\index.html";
    EXPECT_EQ(RunToEnd(L"/overview " + Quoted(logs_) + L" /report " + Quoted(logs_ + L"\\gone")),
              4u);
    EXPECT_TRUE(std::filesystem::exists(page)) << "logs out of reach cost the page";
    std::filesystem::remove(page);
    EXPECT_EQ(RunToEnd(L"/overview " + Quoted(logs_) + L" /report " + Quoted(logs_)), 0u);
    EXPECT_EQ(std::filesystem::file_size(csv), ranged) << "the page rewrote the report";
    EXPECT_EQ(RunToEnd(L"/report " + Quoted(logs_)), 0u);
    EXPECT_EQ(RunToEnd(L"/report " + Quoted(logs_ + L"\\missing")), 4u);
}

}  // namespace
}  // namespace tidewell::e2e
