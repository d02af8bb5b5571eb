#pragma once
// Which registry key, below HKEY_CURRENT_USER, holds the stored preferences. A developer (and
// every end-to-end test and benchmark) can point the program at another key through the
// environment, so that running it never touches that person's own playlist.
#include <string>
#include <string_view>

namespace tidewell {

inline constexpr wchar_t kPreferencesKeyPath[] = L"SOFTWARE\\hollowfin\\lanternrow";
inline constexpr wchar_t kPreferencesKeyVariable[] = L"TIDEWELL_PREFERENCES_KEY";

// The variable's value when it is set and not empty, else the program's own key.
std::wstring ChoosePreferencesKey(std::wstring_view variableValue);

}  // namespace tidewell
