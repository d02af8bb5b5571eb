// The editing commands and the command-enable rule on the real main window: rows, selection and
// the enabled state of every toolbar button, push button and context-menu item they govern.
#include <gtest/gtest.h>

#include "app/resource.h"
#include "playlist/playlist_fixture.h"

namespace tidewell::testing::playlist_tests {
namespace {

using Rows = std::vector<std::wstring>;

// Columns: remove, removeAll, moveUp, moveDown, saveSetting, playAll, playSelected.
const CommandEnableState kNothing{false, false, false, false, false, false, false};
const CommandEnableState kUnselected{false, true, false, false, true, true, false};
const CommandEnableState kEverything{true, true, true, true, true, true, true};

class PlaylistCommandsTest : public PlaylistFixture {};

TEST_F(PlaylistCommandsTest, EmptyPlaylist_OnlyAddingAndLoadingEnabled) {
    EXPECT_EQ(ControlStates(), kNothing);
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton1));
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton2));
    EXPECT_TRUE(IsCommandEnabled(IDC_ToolButton8));
    EXPECT_TRUE(MenuItemEnabled(IDC_ToolButton1));
    EXPECT_TRUE(MenuItemEnabled(IDC_ToolButton2));
}

TEST_F(PlaylistCommandsTest, UserSelectsRows_SelectionEventAppliesRule) {
    Fill({L"C:\\a.ppt", L"C:\\b.ppt", L"C:\\c.ppt"});
    List().SetSelectedIndex(0);  // the selection events apply the rule
    List().SetSelectedIndex(-1);
    EXPECT_EQ(ControlStates(), kUnselected);

    ClickRow(1);
    EXPECT_EQ(List().SelectedIndex(), 1);
    EXPECT_EQ(ControlStates(), kEverything);

    ClickRow(0);
    EXPECT_EQ(List().SelectedIndex(), 0);
    EXPECT_FALSE(ControlStates().moveUp);
    EXPECT_TRUE(ControlStates().moveDown);

    ClickRow(2);
    EXPECT_TRUE(ControlStates().moveUp);
    EXPECT_FALSE(ControlStates().moveDown);

    ClickRow(3);  // the empty space below the rows
    EXPECT_EQ(List().SelectedIndex(), -1);
    EXPECT_EQ(ControlStates(), kUnselected);
}

TEST_F(PlaylistCommandsTest, RemoveFourthOfFive_SelectsThird) {
    Fill({L"A", L"B", L"C", L"D", L"E"});
    List().SetSelectedIndex(3);
    Click(IDC_ToolButton3);
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 2);
    EXPECT_EQ(ControlStates(), kEverything);
}

TEST_F(PlaylistCommandsTest, RemoveFirst_LeavesNoSelectionAndKeepsPlayAll) {
    Fill({L"A", L"B", L"C"});
    List().SetSelectedIndex(0);
    Click(IDC_ToolButton3);
    EXPECT_EQ(ShownRows(), (Rows{L"B", L"C"}));
    EXPECT_EQ(List().SelectedIndex(), -1);
    EXPECT_EQ(ControlStates(), kUnselected);
}

TEST_F(PlaylistCommandsTest, RemoveOnlyEntry_EmptiesAndDisablesEverything) {
    Fill({L"A"});
    List().SetSelectedIndex(0);
    Click(IDC_ToolButton3);
    EXPECT_EQ(List().Count(), 0u);
    EXPECT_EQ(ListView_GetItemCount(ListWindow()), 0);
    EXPECT_EQ(ControlStates(), kNothing);
}

TEST_F(PlaylistCommandsTest, RemoveAll_EmptiesListAndDisablesRule) {
    Fill({L"A", L"B", L"C"});
    List().SetSelectedIndex(1);
    Click(IDC_ToolButton4);
    EXPECT_EQ(List().Count(), 0u);
    EXPECT_EQ(ListView_GetItemCount(ListWindow()), 0);
    EXPECT_EQ(List().SelectedIndex(), -1);
    EXPECT_EQ(ControlStates(), kNothing);
}

TEST_F(PlaylistCommandsTest, MoveUpSecond_BecomesFirstSelectedAndMoveUpDisabled) {
    Fill({L"A", L"B", L"C"});
    List().SetSelectedIndex(1);
    Click(IDC_ToolButton5);
    EXPECT_EQ(ShownRows(), (Rows{L"B", L"A", L"C"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
    EXPECT_FALSE(ControlStates().moveUp);
    EXPECT_TRUE(ControlStates().moveDown);
}

TEST_F(PlaylistCommandsTest, MoveDownToLast_DisablesMoveDown) {
    Fill({L"A", L"B", L"C"});
    List().SetSelectedIndex(1);
    Click(IDC_ToolButton6);
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"C", L"B"}));
    EXPECT_EQ(List().SelectedIndex(), 2);
    EXPECT_FALSE(ControlStates().moveDown);
    // At the end nothing more happens.
    Click(IDC_ToolButton6);
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"C", L"B"}));
    EXPECT_EQ(List().SelectedIndex(), 2);
}

TEST_F(PlaylistCommandsTest, NonAnsiPaths_KeepEveryCharacterThroughMoves) {
    const std::wstring cyrillic = L"C:\\\x041F\x0440\x0435\x0437\\\x0434\x043E\x043A.pptx";
    const std::wstring chinese = L"C:\\\x6F14\x793A\\\x6587\x7A3F.ppt";
    const std::wstring greek = L"C:\\\x03A3\x03BB\x03B1\x03B9\x03BD\x03C4.pps";
    Fill({cyrillic, chinese, greek});
    List().SetSelectedIndex(2);
    Click(IDC_ToolButton5);
    Click(IDC_ToolButton5);
    EXPECT_EQ(ShownRows(), (Rows{greek, cyrillic, chinese}));
    Click(IDC_ToolButton6);
    EXPECT_EQ(ShownRows(), (Rows{cyrillic, greek, chinese}));
    EXPECT_EQ(List().Paths(), ShownRows());
}

TEST_F(PlaylistCommandsTest, SetSelectedIndex_DoesNotMoveFocusOrScroll) {
    for (int i = 0; i < 200; ++i) List().Append(L"C:\\deck" + std::to_wstring(i) + L".ppt");
    const int topBefore = ListView_GetTopIndex(ListWindow());
    const int focusBefore = ListView_GetNextItem(ListWindow(), -1, LVNI_FOCUSED);
    List().SetSelectedIndex(150);
    EXPECT_EQ(List().SelectedIndex(), 150);
    EXPECT_EQ(ListView_GetTopIndex(ListWindow()), topBefore);
    EXPECT_EQ(ListView_GetNextItem(ListWindow(), -1, LVNI_FOCUSED), focusBefore);
}

// Each case types into a fresh list, so that no earlier letter is still in its type-ahead buffer.
TEST_F(PlaylistCommandsTest, TypingALetter_SelectsRowStartingWithIt) {
    Fill({L"C:\\a.ppt", L"D:\\b.ppt", L"E:\\c.ppt"});
    ::SetFocus(ListWindow());
    ::SendMessageW(ListWindow(), WM_CHAR, L'e', 1);  // repeat count 1
    EXPECT_EQ(List().SelectedIndex(), 2);
    EXPECT_TRUE(ControlStates().moveUp);
}

TEST_F(PlaylistCommandsTest, TypingALetterNoRowStartsWith_SelectionStays) {
    Fill({L"C:\\a.ppt", L"D:\\b.ppt", L"E:\\c.ppt"});
    List().SetSelectedIndex(2);
    ::SetFocus(ListWindow());
    ::SendMessageW(ListWindow(), WM_CHAR, L'z', 1);
    EXPECT_EQ(List().SelectedIndex(), 2);
}

TEST_F(PlaylistCommandsTest, LongPath_ShownWhole) {
    const std::wstring longPath = L"C:\\" + std::wstring(600, L'x') + L".ppt";
    Fill({longPath});
    EXPECT_EQ(ShownRows(), (Rows{longPath}));
}

}  // namespace
}  // namespace tidewell::testing::playlist_tests
