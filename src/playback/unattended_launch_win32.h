#pragma once
// The unattended-start rule with what only the system knows: a path's full and long form, and
// whether its drive is a local one.
#include <string>

namespace tidewell {

// Full, with 8.3 parts made long where the file exists; as given when the system cannot tell.
std::wstring FullLongPath(const std::wstring& path);

// MayStartUnattended for the program's path as the field shows it and the program the user chose.
bool MayStartProgramUnattended(const std::wstring& programPath, const std::wstring& userChosen);

}  // namespace tidewell
