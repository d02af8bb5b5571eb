#pragma once
#include <exception>
#include <string>
#include <string_view>

namespace tidewell {

// The Error box ends a message with "." when its last character sorts after "." (a letter or
// digit, say), so that "Stream write error" reads as a sentence while "...!" or "..." stay.
std::wstring ErrorBoxText(std::wstring_view message);

// What the Error box says about a failure that ended a command: the program's own message, or
// words for the kinds of failure that come from the library, never the library's own text
// (such as "std::bad_alloc").
std::wstring UserErrorText(std::exception_ptr error);

}  // namespace tidewell
