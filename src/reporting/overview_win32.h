#pragma once
// "/overview FOLDER": the page of every screen whose status file is in FOLDER, written as
// FOLDER\index.html, replaced whole so that a browser reloading it never gets half a page.
// With "/report LOGS", the proof of play of the logs in LOGS is written first, and the page links
// to it and shows each screen's plays of today.
#include <optional>
#include <string>

namespace tidewell {

// The folders' %VARIABLES% are expanded. False when the page or the report could not be written;
// a report that could not be written leaves the page without its figures.
bool WriteOverviewPage(const std::wstring& folderAsGiven,
                       const std::optional<std::wstring>& logFolderAsGiven = std::nullopt);

}  // namespace tidewell
