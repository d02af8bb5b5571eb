#pragma once
// The text rules that stored preferences and setting files share: trimming, splitting text into
// lines and joining them back, and the lenient integer parse used for monitor numbers.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// Removes every leading and trailing character at or below U+0020; inner characters stay.
std::wstring Trim(std::wstring_view text);
// The same as a view of `text`, for texts too large to copy.
std::wstring_view TrimmedView(std::wstring_view text);

// A line ends at CR, LF, U+2028 or NUL; after it one CR, then one LF, then one U+2028 are consumed.
// Scanning stops at NUL or the end, so a final line break gives no empty last line.
std::vector<std::wstring> TextToLines(std::wstring_view text);
// The line that starts at `pos`, as a view of `text`, moving `pos` past its line break; nothing
// once the lines have ended. TextToLines is every line this gives, from 0.
std::optional<std::wstring_view> NextLine(std::wstring_view text, std::size_t& pos);

// Every line followed by CR LF, the last one included.
std::wstring LinesToText(const std::vector<std::wstring>& lines);

// Leading spaces, optional sign, decimal digits or hex after "$", "x", "X", "0x", "0X"; nothing may
// follow. Anything else, or a value outside the signed 32-bit range, gives the fallback.
int ParseIntOrDefault(std::wstring_view text, int fallback);

}  // namespace tidewell
