#pragma once
// The entry settings dialog's fields for one entry or several at once. A field that differs
// between the entries shows as such and, unless the user sets it, leaves each entry as it was.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

template <class T>
struct FormField {
    bool differs = false;  // the entries disagree and the user has not set it
    T value{};             // what the field shows (when it does not differ)
    void Set(T shown) {
        differs = false;
        value = std::move(shown);
    }
};

struct SettingsForm {
    FormField<std::optional<int>> showForSeconds;
    FormField<std::optional<int>> advanceSeconds;
    // One box per day, Monday first; an entry without days has every box ticked.
    std::array<FormField<bool>, 7> days;
    FormField<std::optional<HourSpan>> hours;
    FormField<std::optional<std::chrono::year_month_day>> from;
    FormField<std::optional<std::chrono::year_month_day>> until;
};

// The form for these entries' settings (at least one).
SettingsForm FormOf(const std::vector<EntrySettings>& settings);

// One entry's settings after the form: each field that does not differ replaces the entry's own;
// unknown items stay. Every box ticked means no days.
EntrySettings ApplyForm(EntrySettings settings, const SettingsForm& form);

// What is wrong with the form as the user filled it in, in words; none when it can be applied to
// every entry.
std::optional<std::wstring> FormProblem(const SettingsForm& form,
                                        const std::vector<EntrySettings>& settings);

}  // namespace tidewell
