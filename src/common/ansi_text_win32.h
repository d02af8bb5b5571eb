#pragma once
// The one converter between wide text and 8-bit ANSI text. Two code pages meet the program: the
// thread's, which follows the user-interface thread's locale and is what the folder scan and
// setting files without a mark are judged in; and the system's, which is what the shell's 8-bit
// calls read their arguments in.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tidewell {

enum class AnsiCodePage { Thread, System };

// Characters that the code page cannot hold become its best-fit or default character, as
// Windows' own conversion makes them.
std::string ToAnsi(std::wstring_view text, AnsiCodePage page);
std::wstring FromAnsi(std::span<const std::uint8_t> bytes, AnsiCodePage page);

// The text as it comes back after a trip through the code page, as the 8-bit file functions
// would see a name.
std::wstring AnsiRoundTrip(std::wstring_view text, AnsiCodePage page);

}  // namespace tidewell
