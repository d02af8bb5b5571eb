#pragma once
#include <string>
#include <vector>

namespace tidewell {

// The arguments after the program's name, split by the system's rules for command lines (quotes
// group, backslashes before a quote escape it), as a shortcut or a scheduled task passes them.
std::vector<std::wstring> ProgramArguments();

}  // namespace tidewell
