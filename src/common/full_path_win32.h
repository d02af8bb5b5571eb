#pragma once
#include <optional>
#include <string>

namespace tidewell {

// The full path as GetFullPathNameW gives it; none when it fails.
std::optional<std::wstring> SystemFullPath(const std::wstring& path);

// The full path as GetFullPathNameW gives it; the path itself when that fails.
std::wstring FullPathOf(const std::wstring& path);

// A full path with its 8.3 parts made long where the file exists; as given when the system
// cannot tell.
std::wstring LongPathOf(const std::wstring& fullPath);

// A file named on the command line: %VARIABLES% expanded (%COMPUTERNAME%, so that many screens
// can share one command), then made a full path, once, so that neither a later change of the
// environment nor of the current folder moves the file during a run.
std::wstring ExpandedFullPath(const std::wstring& path);

}  // namespace tidewell
