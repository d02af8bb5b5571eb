// The playlist's commands on their own: a bare list in a plain window, no main window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/unique_handle_win32.h"
#include "playlist/playlist_commands_win32.h"
#include "support/plain_fields.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace tidewell::testing {
namespace {

struct DestroyWindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};
using OwnedWindow = UniqueHandle<DestroyWindowTraits>;

TEST(PlaylistAlone, AddFilesThenRemove_RowsSelectionAndTheWindowToldEachTime) {
    const OwnedWindow owner(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr,
                                              nullptr, nullptr, nullptr));
    const HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"",
                                        WS_CHILD | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL, 0, 0,
                                        400, 300, owner.get(), nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    ScriptedDialogs dialogs;
    RecordedErrors errors;
    int told = 0;
    PlaylistCommands commands(owner.get(), list, dialogs, errors, [&] { ++told; });

    TempFolder folder{L"tidewell-playlist-alone"};
    const std::wstring a = folder.Touch(L"a.ppt");
    const std::wstring b = folder.Touch(L"b.pps");
    dialogs.AnswerFiles({a, folder.File(L"missing.ppt"), b});
    commands.AddFiles();
    EXPECT_EQ(dialogs.shownDialogs, std::vector<std::wstring>{L"TntOpenDialog1"});
    EXPECT_EQ(commands.View().Paths(), (std::vector<std::wstring>{a, b}));
    EXPECT_EQ(commands.View().SelectedIndex(), 1);
    EXPECT_GE(told, 1);

    const int before = told;
    commands.MoveUp();
    EXPECT_EQ(commands.View().Paths(), (std::vector<std::wstring>{b, a}));
    commands.Remove();
    EXPECT_EQ(commands.View().Paths(), std::vector<std::wstring>{a});
    EXPECT_GT(told, before);
    EXPECT_TRUE(errors.messages.empty());
}

}  // namespace
}  // namespace tidewell::testing
