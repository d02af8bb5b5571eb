#pragma once
#include <optional>
#include <string>

namespace tidewell {

// The full path as GetFullPathNameW gives it; none when it fails.
std::optional<std::wstring> SystemFullPath(const std::wstring& path);

// The full path as GetFullPathNameW gives it; the path itself when that fails.
std::wstring FullPathOf(const std::wstring& path);

// A path that a file names, made full against that file's own folder rather than the current
// one, which whoever opens the file chooses: "x.exe" and "..\\x.exe" from the folder, "\\x.exe"
// from its drive or share, "D:x.exe" from the folder when it is on D:, else from D:\\. A full path
// is only made full. None when the system cannot make it full.
std::optional<std::wstring> FullPathBeside(const std::wstring& fileFullPath,
                                           const std::wstring& path);

// A full path with its 8.3 parts made long where the file exists; as given when the system
// cannot tell.
std::wstring LongPathOf(const std::wstring& fullPath);

// A file named on the command line: %VARIABLES% expanded (%COMPUTERNAME%, so that many screens
// can share one command), then made a full path, once, so that neither a later change of the
// environment nor of the current folder moves the file during a run.
std::wstring ExpandedFullPath(const std::wstring& path);

}  // namespace tidewell
