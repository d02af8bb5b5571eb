#pragma once
// "/overview FOLDER": the page of every screen whose status file is in FOLDER, written as
// FOLDER\index.html, replaced whole so that a browser reloading it never gets half a page.
#include <string>

namespace tidewell {

// The folder's %VARIABLES% are expanded. False when the page could not be written.
bool WriteOverviewPage(const std::wstring& folderAsGiven);

}  // namespace tidewell
