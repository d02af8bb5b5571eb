#include "reporting/overview_win32.h"

#include <chrono>
#include <filesystem>

#include "common/full_path_win32.h"
#include "common/iso_date.h"
#include "common/whole_file_win32.h"
#include "reporting/overview_page.h"
#include "reporting/play_log_win32.h"
#include "reporting/proof_of_play_win32.h"
#include "reporting/report_files_win32.h"

namespace tidewell {
bool WriteOverviewPage(const std::wstring& folderAsGiven,
                       const std::optional<std::wstring>& logFolderAsGiven) {
    const std::filesystem::path folder = ExpandedFullPath(folderAsGiven);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return false;
    const long long now = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    const std::string builtAt = FormatIsoTime(LocalTimestampNow());
    std::optional<ReportOnPage> report;
    bool logsRead = true;
    if (logFolderAsGiven) {
        // The page's figures are its own, added up in memory: the report.csv in the logs' folder
        // is the administrator's (of a month, say), never replaced by the page's. A logs' folder
        // that cannot be reached costs the page its figures, never the page: the screens' states
        // matter most when something is down.
        const std::filesystem::path logFolder = ExpandedFullPath(*logFolderAsGiven);
        // Today is this computer's today: the page is read where it is made.
        const int today = *DayOfIsoDate(builtAt.substr(0, 10));
        const std::optional<ProofOfPlay> proof = ReadProofOfPlay(logFolder, {today, today});
        logsRead = proof && proof->unreadFiles.empty();
        if (proof) {
            const std::filesystem::path csv = logFolder / L"report.csv";
            report = FiguresOfToday(
                *proof,
                std::filesystem::is_regular_file(csv, error) ? AddressFromPage(folder, csv) : "",
                today);
        }
    } else if (std::filesystem::is_regular_file(folder / L"report.csv", error)) {
        // A report written beside the status files (by a nightly task, say) is linked as it is.
        report = ReportOnPage{"report.csv", std::nullopt};
    }
    ScreensOfFolder screens = ReadScreenFolder(folder, SharedReportFiles());
    const bool whole = screens.listedWhole;
    const std::string page = OverviewPage(std::move(screens), now, builtAt, report);
    return ReplaceWholeFile((folder / L"index.html").wstring(), page) && logsRead && whole;
}

}  // namespace tidewell
