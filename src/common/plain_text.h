#pragma once
// Text that leaves the program for a reader we do not know: a log line that a script splits on
// line breaks, a status file, a page, a terminal that follows the log. Names and messages come
// from files and shares that anybody may write, so no control character of theirs may reach it:
// a line break would forge a line, an escape sequence would drive the terminal.
#include <string>
#include <string_view>

namespace tidewell {

// Whether the text holds a character that PlainUtf8 would make a space.
bool HasControlCharacter(std::wstring_view text);

// UTF-8 with every C0 control character, DEL, every C1 control character and the Unicode line
// and paragraph separators (U+2028, U+2029) made one space each. Other bytes stay as they are.
std::string PlainUtf8(std::string_view utf8);
// The same in place.
void MakePlainUtf8(std::string& utf8);

// The same for wide text, which is encoded as UTF-8 first (an unpaired surrogate becomes U+FFFD).
std::string PlainUtf8(std::wstring_view text);

}  // namespace tidewell
