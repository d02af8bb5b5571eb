#pragma once
// Text that no Windows file name can be. A path with a quote in it would end its argument early on
// the presentation program's command line and hand the program words of its own; wildcards,
// pipes and control characters make patterns and devices of it; a ':' past the drive letter names
// a stream. Such a path names no file that a person could have chosen, so it is refused wherever
// it enters (a setting file, the stored preferences, a drop, the command line).
#include <string_view>

namespace tidewell {

// False when the path holds '"', '<', '>', '|', '*', '?', a character below U+0020, or a ':'
// anywhere but right after a leading drive letter. The empty path passes: it names nothing, which
// the existence test says.
bool IsPossiblePath(std::wstring_view path);

}  // namespace tidewell
