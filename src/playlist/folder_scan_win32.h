#pragma once
#include <string>
#include <vector>

namespace tidewell {

// The presentations found directly in `folder` (no trailing backslash), as folder + "\" + name,
// in the order the file system lists them. Subfolders are neither taken nor entered; hidden,
// system and read-only files are taken like any other. `filter` is the open dialog's whole filter
// text. A folder that cannot be listed yields nothing.
std::vector<std::wstring> ScanFolderForPresentations(const std::wstring& folder,
                                                     const std::wstring& filter);

}  // namespace tidewell
