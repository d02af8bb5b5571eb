#pragma once
#include <string>
#include <string_view>

namespace tidewell {

// The Error box ends a message with "." when its last character sorts after "." (a letter or
// digit, say), so that "Stream write error" reads as a sentence while "...!" or "..." stay.
std::wstring ErrorBoxText(std::wstring_view message);

}  // namespace tidewell
