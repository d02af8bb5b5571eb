#include "playlist/settings_form.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

EntrySettings Settings(const std::wstring& items) {
    return ParseEntryLine(L"x\t" + items).entry->settings;
}

TEST(SettingsForm, SeveralEntries_FieldsTheyShareShownOthersKeptUnlessSet) {
    const std::vector<EntrySettings> entries = {
        Settings(L"showfor=60\tdays=Mon-Fri\tnote=a"),
        Settings(L"showfor=60\tdays=Sat\tadvance=8"),
    };
    SettingsForm form = FormOf(entries);
    EXPECT_FALSE(form.showForSeconds.differs);
    EXPECT_EQ(form.showForSeconds.value, 60);
    EXPECT_TRUE(form.advanceSeconds.differs);
    EXPECT_TRUE(form.days[0].differs);
    EXPECT_FALSE(form.days[6].differs || form.days[6].value);

    form.hours.Set(HourSpan{7 * 60, 10 * 60 + 30});
    form.days[6].Set(true);
    form.days[5].Set(false);
    EXPECT_EQ(ApplyForm(entries[0], form),
              Settings(L"showfor=60\tdays=Mon-Fri,Sun\thours=07:00-10:30\tnote=a"));
    EXPECT_EQ(ApplyForm(entries[1], form),
              Settings(L"showfor=60\tdays=Sun\thours=07:00-10:30\tadvance=8"));
    EXPECT_FALSE(FormProblem(form, entries));

    // Every day ticked is no days at all; no day ticked, or dates the wrong way round, is refused.
    for (auto& day : form.days) day.Set(true);
    EXPECT_FALSE(ApplyForm(entries[1], form).days);
    for (auto& day : form.days) day.Set(false);
    EXPECT_TRUE(FormProblem(form, entries));
    form = FormOf({Settings(L"until=2026-12-01")});
    form.from.Set(ParseDate(L"2026-12-02"));
    EXPECT_TRUE(FormProblem(form, {Settings(L"until=2026-12-01")}));
}

}  // namespace
}  // namespace tidewell
