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

}  // namespace tidewell
