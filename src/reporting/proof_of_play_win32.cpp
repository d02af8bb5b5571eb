#include "reporting/proof_of_play_win32.h"

#include <filesystem>

#include "common/full_path_win32.h"
#include "common/whole_file_win32.h"

namespace tidewell {

std::optional<ProofOfPlay> WriteProofOfPlayReport(const std::wstring& folderAsGiven,
                                                  const DayRange& days) {
    const std::filesystem::path folder = ExpandedFullPath(folderAsGiven);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
    ProofOfPlay proof = ReadPlayLogFolder(folder, days);
    if (!ReplaceWholeFile((folder / L"report.csv").wstring(), ProofOfPlayCsv(proof))) {
        return std::nullopt;
    }
    return proof;
}

}  // namespace tidewell
