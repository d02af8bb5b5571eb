#pragma once
#include <string>

namespace tidewell {

// The full path as GetFullPathNameW gives it; the path itself when that fails.
std::wstring FullPathOf(const std::wstring& path);

}  // namespace tidewell
