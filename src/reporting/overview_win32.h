#pragma once
// "/overview FOLDER": the page of every screen whose status file is in FOLDER, written as
// FOLDER\index.html, replaced whole so that a browser reloading it never gets half a page.
// With "/report LOGS", the page shows each screen's plays of today from the logs in LOGS, added up
// in memory, and links to the report.csv there when there is one.
#include <optional>
#include <string>

namespace tidewell {

// The folders' %VARIABLES% are expanded. False when the page could not be written, or a folder or
// a play log could not be read whole (the page then says so); logs that cannot be reached leave
// the page without its figures.
bool WriteOverviewPage(const std::wstring& folderAsGiven,
                       const std::optional<std::wstring>& logFolderAsGiven = std::nullopt);

}  // namespace tidewell
