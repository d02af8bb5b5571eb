#pragma once
// The one check that makes the launch's types: the text may be a file name, and the system's
// full path of it is what is judged and what starts.
#include <optional>
#include <string_view>

#include "launch/checked_paths.h"

namespace tidewell {

// The program field's text, trimmed: refused when it cannot be a file name, names a folder or
// anything but a Windows program (".exe": a batch file would run through "cmd", which reads "%"
// in the presentation's path), or the system cannot make it full.
std::optional<CheckedProgram> CheckProgram(std::wstring_view text);

// A playlist entry as it stands: refused when it cannot be a file name or the system cannot make
// it full.
std::optional<CheckedPresentation> CheckPresentation(std::wstring_view text);

}  // namespace tidewell
