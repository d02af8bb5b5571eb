#include "playlist/settings_form.h"

namespace tidewell {
namespace {

template <class T, class Read>
FormField<T> Common(const std::vector<EntrySettings>& settings, Read read) {
    FormField<T> field;
    field.value = read(settings.front());
    for (const EntrySettings& each : settings) {
        if (!(read(each) == field.value)) field.differs = true;
    }
    if (field.differs) field.value = T{};
    return field;
}

template <class T>
void Apply(std::optional<T>& target, const FormField<std::optional<T>>& field) {
    if (!field.differs) target = field.value;
}

}  // namespace

SettingsForm FormOf(const std::vector<EntrySettings>& settings) {
    SettingsForm form;
    form.showForSeconds = Common<std::optional<int>>(
        settings, [](const EntrySettings& s) { return s.showForSeconds; });
    form.advanceSeconds = Common<std::optional<int>>(
        settings, [](const EntrySettings& s) { return s.advanceSeconds; });
    for (int day = 0; day < 7; ++day) {
        form.days[day] = Common<bool>(settings, [day](const EntrySettings& s) {
            return (s.days.value_or(kEveryDay) & (1 << day)) != 0;
        });
    }
    form.hours =
        Common<std::optional<HourSpan>>(settings, [](const EntrySettings& s) { return s.hours; });
    form.from = Common<std::optional<std::chrono::year_month_day>>(
        settings, [](const EntrySettings& s) { return s.from; });
    form.until = Common<std::optional<std::chrono::year_month_day>>(
        settings, [](const EntrySettings& s) { return s.until; });
    return form;
}

EntrySettings ApplyForm(EntrySettings settings, const SettingsForm& form) {
    Apply(settings.showForSeconds, form.showForSeconds);
    Apply(settings.advanceSeconds, form.advanceSeconds);
    DaySet days = settings.days.value_or(kEveryDay);
    for (int day = 0; day < 7; ++day) {
        if (form.days[day].differs) continue;
        const auto bit = static_cast<DaySet>(1 << day);
        days = form.days[day].value ? days | bit : days & ~bit;
    }
    settings.days = days == kEveryDay ? std::nullopt : std::optional<DaySet>(days);
    Apply(settings.hours, form.hours);
    Apply(settings.from, form.from);
    Apply(settings.until, form.until);
    return settings;
}

std::optional<std::wstring> FormProblem(const SettingsForm& form,
                                        const std::vector<EntrySettings>& settings) {
    for (const EntrySettings& each : settings) {
        const EntrySettings applied = ApplyForm(each, form);
        if (applied.days == DaySet{0}) return L"Choose at least one day.";
        if (applied.hours && applied.hours->start == applied.hours->end) {
            return L"The hours need an end other than their start.";
        }
        if (applied.from && applied.until && *applied.until < *applied.from) {
            return L"\"Until\" is before \"From\".";
        }
    }
    return std::nullopt;
}

}  // namespace tidewell
