#pragma once
// The "Entry settings" dialog: time on screen, slide pace, days, hours and dates of the selected
// entries, with the system's date and time pickers in the user's locale.
#include <windows.h>

#include <optional>
#include <vector>

#include "playlist/settings_form.h"

namespace tidewell {

inline constexpr wchar_t kEntrySettingsTitle[] = L"Entry settings";

// The dialog's controls, besides IDOK and IDCANCEL.
enum EntrySettingsControl : int {
    kShowForEdit = 100,
    kAdvanceEdit,
    kFirstDayBox,  // seven boxes, Monday first
    kHoursBox = kFirstDayBox + 7,
    kHoursStart,
    kHoursEnd,
    kFromPicker,
    kUntilPicker,
};

// Shows the dialog over `owner` for these entries' settings (at least one) until OK or Cancel. The
// form as the user left it after OK (a form FormProblem accepts), or none.
std::optional<SettingsForm> RunEntrySettingsDialog(HWND owner,
                                                   const std::vector<EntrySettings>& settings);

}  // namespace tidewell
