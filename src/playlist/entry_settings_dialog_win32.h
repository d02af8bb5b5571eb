#pragma once
// The "Entry settings" dialog: time on screen, slide pace, days, hours and dates of the selected
// entries, with the system's date and time pickers in the user's locale.
#include <windows.h>

#include <optional>
#include <vector>

#include "playlist/entry_settings_layout_win32.h"
#include "playlist/settings_form.h"

namespace tidewell {

inline constexpr wchar_t kEntrySettingsTitle[] = L"Entry settings";

// Shows the dialog over `owner` for these entries' settings (at least one) until OK or Cancel. The
// form as the user left it after OK (a form FormProblem accepts), or none. `dpi`: the density the
// dialog is drawn for, the system's when 0; tests lay it out at others.
std::optional<SettingsForm> RunEntrySettingsDialog(HWND owner,
                                                   const std::vector<EntrySettings>& settings,
                                                   int dpi = 0);

}  // namespace tidewell
