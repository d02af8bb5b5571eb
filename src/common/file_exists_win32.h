#pragma once
#include <string>

namespace tidewell {

// A path passes when a find-first-file lookup finds an entry that is not a directory. Wildcards are
// honoured as the lookup honours them: a pattern passes when any file matches it.
bool FileExists(const std::wstring& path);

}  // namespace tidewell
