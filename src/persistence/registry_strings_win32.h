#pragma once
// The registry side of the stored preferences: the key, and string values read and written with
// the rules users' existing preferences were stored by.
#include <windows.h>

#include <string>
#include <string_view>

#include "common/unique_handle_win32.h"

namespace tidewell {

// Opens the key below HKEY_CURRENT_USER, creating it when missing; empty when that fails.
UniqueHKEY OpenPreferencesKey(const std::wstring& path);

// The text of a string value; the empty string when the value is missing. Throws AppError with
// "Invalid data type for '...'" for a value that is not REG_SZ / REG_EXPAND_SZ (the latter is taken
// unexpanded) and "Failed to get data for '...'" when its data cannot be read.
std::wstring ReadRegistryString(HKEY key, const wchar_t* name);

// Writes `text` as REG_SZ; throws AppError "Failed to set data for '...'" when refused.
void WriteRegistryString(HKEY key, const wchar_t* name, std::wstring_view text);

}  // namespace tidewell
