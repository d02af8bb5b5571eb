#pragma once
// "/report FOLDER": FOLDER\report.csv from every play log in FOLDER, replaced whole so that a
// spreadsheet or a copy made meanwhile never gets half a report.
#include <filesystem>
#include <optional>
#include <string>

#include "reporting/proof_of_play.h"

namespace tidewell {

// The figures of the play logs in `folder` (a full path), read as the screens write them, split at
// the midnights of each screen's time zone; none when the folder does not exist.
std::optional<ProofOfPlay> ReadProofOfPlay(const std::filesystem::path& folder,
                                           const DayRange& days);

// The folder's %VARIABLES% are expanded. None when the folder cannot be listed or the report
// could not be written; otherwise the figures it holds (with the logs it could not read).
std::optional<ProofOfPlay> WriteProofOfPlayReport(const std::wstring& folderAsGiven,
                                                  const DayRange& days);

}  // namespace tidewell
