#pragma once
// "/report FOLDER": FOLDER\report.csv from every play log in FOLDER, replaced whole so that a
// spreadsheet or a copy made meanwhile never gets half a report.
#include <string>

#include "reporting/proof_of_play.h"

namespace tidewell {

// The folder's %VARIABLES% are expanded. None when the folder cannot be listed or the report
// could not be written; otherwise the figures it holds.
std::optional<ProofOfPlay> WriteProofOfPlayReport(const std::wstring& folderAsGiven,
                                                  const DayRange& days);

}  // namespace tidewell
