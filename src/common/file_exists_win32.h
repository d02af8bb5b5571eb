#pragma once
#include <string>
#include <vector>

namespace tidewell {

// A path passes when a find-first-file lookup finds an entry that is not a directory. Wildcards are
// honoured as the lookup honours them: a pattern passes when any file matches it.
bool FileExists(const std::wstring& path);

// The paths that pass FileExists, in their order, with the same answers; folders that hold
// several of the paths are listed once instead of looking each path up.
std::vector<std::wstring> ExistingFiles(std::vector<std::wstring> paths);

}  // namespace tidewell
