#pragma once
// Quoting an argument for a command line that the started program splits with the system's rules
// (CommandLineToArgvW, and the C runtime's, which agree with it here).
#include <string>
#include <string_view>

namespace tidewell {

// Appends `argument` between quotes so that it is read back as exactly one argument, whatever it
// holds: backslashes are doubled where a quote follows them (the closing one included), and a
// quote inside is escaped. Not for the program's own name, which is read by other rules.
void AppendQuotedArgument(std::wstring& line, std::wstring_view argument);

}  // namespace tidewell
