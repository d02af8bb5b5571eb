#pragma once
// Where the "Entry settings" dialog's controls go: one row per setting, its label first, the
// labels in one column. The template gives every control a first place in dialog units; once the
// dialog has its font, every text is measured and the rows are laid out again so that each text
// shows whole and the dialog is as wide as its widest row needs.
#include <windows.h>

#include <string_view>

#include "common/dialog_template_win32.h"

namespace tidewell {

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
    // The texts around the fields.
    kShowForLabel,
    kShowForUnit,
    kAdvanceLabel,
    kAdvanceUnit,
    kDaysLabel,
    kHoursAnd,
    kFromLabel,
    kUntilLabel,
};

// The dialog's template in "MS Shell Dlg 2" of `pointSize` points.
DialogTemplate EntrySettingsTemplate(std::wstring_view title, WORD pointSize);

// Sizes every text of the open dialog to itself in the dialog's font and lays the rows out again.
void FitEntrySettingsToTexts(HWND dialog);

}  // namespace tidewell
