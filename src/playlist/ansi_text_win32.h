#pragma once
#include <string>

namespace tidewell {

// The text as it comes back after a trip through the thread's ANSI code page: characters the code
// page lacks become its replacement (or best-fit) characters. The folder scan judges extensions
// on this form, as the 8-bit file APIs would see the name.
std::wstring AnsiRoundTrip(const std::wstring& text);

}  // namespace tidewell
