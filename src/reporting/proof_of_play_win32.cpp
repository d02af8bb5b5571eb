#include "reporting/proof_of_play_win32.h"

#include "common/full_path_win32.h"
#include "common/plain_text.h"
#include "common/whole_file_win32.h"
#include "reporting/report_files_win32.h"

namespace tidewell {

std::optional<ProofOfPlay> ReadProofOfPlay(const std::filesystem::path& folder,
                                           const DayRange& days) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
    ZoneOffsets zones(SystemZoneRules());
    return ReadPlayLogFolder(folder, days, SharedReportFiles(),
                             {&zones, PlainUtf8(std::wstring_view(LocalZoneKey()))});
}

std::optional<ProofOfPlay> WriteProofOfPlayReport(const std::wstring& folderAsGiven,
                                                  const DayRange& days) {
    const std::filesystem::path folder = ExpandedFullPath(folderAsGiven);
    std::optional<ProofOfPlay> proof = ReadProofOfPlay(folder, days);
    if (!proof || !ReplaceWholeFile((folder / L"report.csv").wstring(), ProofOfPlayCsv(*proof))) {
        return std::nullopt;
    }
    return proof;
}

}  // namespace tidewell
