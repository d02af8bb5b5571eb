#pragma once
// Text that no Windows file name can be. A path with a quote in it would end its argument early on
// the presentation program's command line and hand the program words of its own; wildcards,
// pipes and control characters make patterns and devices of it; a ':' past the drive letter names
// a stream. Such a path names no file that a person could have chosen, so it is refused wherever
// it enters (a setting file, the stored preferences, a drop, the command line). A program that
// reads its command line in the ANSI code page gets a quote from some look-alikes too.
#include <cstddef>
#include <string_view>

namespace tidewell {

// Windows' own limit on a path's length, "\\?\" paths included; a longer text names no file.
inline constexpr std::size_t kLongestPath = 32'767;

// False when the path holds '"', '<', '>', '|', '*', '?', a character below U+0020, a character
// that Windows' best-fit conversion to an ANSI code page turns into '"' (U+02BA, U+030E, U+FF02),
// or a ':' anywhere but right after a leading drive letter, or when it is longer than
// kLongestPath. The empty path passes: it names nothing, which the existence test says.
bool IsPossiblePath(std::wstring_view path);

// Whether the path names a Windows program: its file name (after the last '\\', '/' or ':') is
// ".exe" in any letter case after at least one character. Nothing else is started as the
// presentation program: a batch file would run through "cmd", which reads "%" in the
// presentation's path.
bool IsProgramPath(std::wstring_view path);

}  // namespace tidewell
