#pragma once
// 8-bit text in the system's ANSI code page, for the shell calls that take it.
#include <string>
#include <string_view>

namespace tidewell {

// Characters that the code page cannot hold become its default character, as Windows' own
// conversion does.
std::string ToAnsi(std::wstring_view text);

}  // namespace tidewell
