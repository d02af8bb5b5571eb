// The stored preferences on their own: the registry, the playlist's rows and the two fields as
// plain values, no window.
#include <windows.h>

#include <gtest/gtest.h>

#include "persistence/preferences_win32.h"
#include "persistence_support.h"
#include "support/form_fixture.h"
#include "support/plain_fields.h"

namespace tidewell::testing {
namespace {

TEST(PreferencesAlone, SaveThenLoad_UsableEntriesProgramAndMonitorComeBack) {
    ScratchFolder folder;
    const std::wstring program = folder.File(L"player.exe");
    const std::wstring a = folder.File(L"a.ppt");
    const std::wstring gone = folder / L"gone.ppt";
    const std::wstring key = UniqueTestKeyPath();

    PlainRows rows;
    rows.entries = {a, gone, a};
    PlainFields fields;
    fields.program = program;
    fields.number = 2;
    Preferences(key, rows, fields, fields).Save();

    PlainRows restored;
    PlainFields restoredFields;
    restoredFields.count = 3;
    Preferences(key, restored, restoredFields, restoredFields).Load();
    EXPECT_EQ(PathsOf(restored.entries), (std::vector<std::wstring>{a, a}))
        << "the missing file is left out";
    EXPECT_EQ(restored.selected, 0);
    EXPECT_EQ(restoredFields.program, program);
    EXPECT_EQ(restoredFields.number, 2);

    // A monitor number past what the selector offers now is not taken.
    PlainFields oneMonitor;
    oneMonitor.count = 1;
    PlainRows again;
    Preferences(key, again, oneMonitor, oneMonitor).Load();
    EXPECT_EQ(oneMonitor.number, 1);
    DeleteTestKey(key);
}

}  // namespace
}  // namespace tidewell::testing
