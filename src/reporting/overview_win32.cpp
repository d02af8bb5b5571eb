#include "reporting/overview_win32.h"

#include <chrono>
#include <filesystem>

#include "common/full_path_win32.h"
#include "common/whole_file_win32.h"
#include "reporting/overview_page.h"
#include "reporting/play_log_win32.h"

namespace tidewell {

bool WriteOverviewPage(const std::wstring& folderAsGiven) {
    const std::wstring folder = ExpandedFullPath(folderAsGiven);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return false;
    const long long now = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    const std::string page =
        OverviewPage(ReadScreenFolder(folder), now, FormatIsoTime(LocalTimestampNow()));
    return ReplaceWholeFile((std::filesystem::path(folder) / L"index.html").wstring(), page);
}

}  // namespace tidewell
