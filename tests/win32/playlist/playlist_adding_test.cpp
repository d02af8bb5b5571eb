// "Add files", "Add folder" and files dropped from the shell, on real files in temporary folders.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/resource.h"
#include "playlist/playlist_fixture.h"
#include "support/thread_locale.h"

namespace tidewell::testing::playlist_tests {
namespace {

using Rows = std::vector<std::wstring>;

const std::wstring kGreekName = L"\x03A3\x03BB\x03B1\x03B9\x03BD\x03C4.ppt";
const std::wstring kChineseName = L"\x6F14\x793A\x6587\x7A3F.pptx";

class PlaylistAddingTest : public PlaylistFixture {
  protected:
    void Drop(const std::vector<std::wstring>& paths) {
        ::PostMessageW(ListWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
        PumpMessages();
    }
    Rows Sorted(Rows rows) {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    TempFolder folder_{L"tidewell-playlist"};
};

TEST_F(PlaylistAddingTest, AddFiles_AppendsInDialogOrderWithDuplicatesAndSelectsLast) {
    const std::wstring a = folder_.Touch(L"a.ppt");
    const std::wstring b = folder_.Touch(L"notes.txt");  // any type the user picks is taken
    const std::wstring lock = folder_.Touch(L"~$c.pptx");
    dialogs_.AnswerFiles({b, a, lock});
    dialogs_.AnswerFiles({a});
    Click(IDC_ToolButton1);
    EXPECT_EQ(ShownRows(), (Rows{b, a, lock}));
    EXPECT_EQ(List().SelectedIndex(), 2);
    Click(IDC_ToolButton1);
    EXPECT_EQ(ShownRows(), (Rows{b, a, lock, a}));
    EXPECT_EQ(List().SelectedIndex(), 3);
    EXPECT_TRUE(ControlStates().playSelected);
    ASSERT_FALSE(dialogs_.shownDialogs.empty());
    EXPECT_EQ(dialogs_.shownDialogs.front(), L"TntOpenDialog1");
}

TEST_F(PlaylistAddingTest, AddFiles_SkipsMissingFileButStillSelectsLast) {
    const std::wstring a = folder_.Touch(L"a.ppt");
    dialogs_.AnswerFiles({a, folder_.Path() + L"\\gone.ppt"});
    Click(IDC_ToolButton1);
    EXPECT_EQ(ShownRows(), (Rows{a}));
    EXPECT_EQ(List().SelectedIndex(), 0);
}

TEST_F(PlaylistAddingTest, AddFilesCancelled_ChangesNothing) {
    Fill({L"C:\\x.ppt"});
    List().SetSelectedIndex(0);
    dialogs_.AnswerCancel();
    Click(IDC_ToolButton1);
    EXPECT_EQ(ShownRows(), (Rows{L"C:\\x.ppt"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
}

TEST_F(PlaylistAddingTest, AddFiles_ColumnTakesWholeClientWidth) {
    dialogs_.AnswerFiles({folder_.Touch(L"a.ppt")});
    Click(IDC_ToolButton1);
    RECT client{};
    ::GetClientRect(ListWindow(), &client);
    EXPECT_EQ(ListView_GetColumnWidth(ListWindow(), 0), client.right);
    // Enough rows for a vertical scroll bar: the column follows the narrower client area.
    for (int i = 0; i < 100; ++i) List().Append(L"C:\\deck.ppt");
    PumpMessages();
    ::GetClientRect(ListWindow(), &client);
    EXPECT_EQ(ListView_GetColumnWidth(ListWindow(), 0), client.right);
}

TEST_F(PlaylistAddingTest, AddFolder_TakesPresentationsOnlyInListingOrder) {
    folder_.Touch(L"a.ppt");
    folder_.Touch(L"b.PPTX");
    folder_.Touch(L"c.ppsm");
    folder_.Touch(L"~$d.pptx");
    folder_.Touch(L"e.pp");
    folder_.Touch(L"g.pps", FILE_ATTRIBUTE_HIDDEN);
    folder_.AddFolder(L"sub.ppt");
    folder_.AddFolder(L"sub");
    folder_.Touch(L"sub\\f.ppt");
    dialogs_.folderAnswers.push_back(folder_.Path());
    Click(IDC_ToolButton2);

    Rows expected;
    for (const std::wstring& name : ListedFileNames(folder_.Path())) {
        if (name == L"a.ppt" || name == L"b.PPTX" || name == L"e.pp" || name == L"g.pps")
            expected.push_back(folder_.Path() + L"\\" + name);
    }
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(ShownRows(), expected);
    EXPECT_EQ(List().SelectedIndex(), 3);
    EXPECT_EQ(ControlStates().playSelected, true);
    ASSERT_EQ(dialogs_.folderPrompts.size(), 1u);
    EXPECT_EQ(dialogs_.folderPrompts[0], L"Please select folder");
}

TEST_F(PlaylistAddingTest, AddFolderWithTrailingBackslash_JoinsWithOneBackslash) {
    folder_.Touch(L"a.ppt");
    dialogs_.folderAnswers.push_back(folder_.Path() + L"\\");
    Click(IDC_ToolButton2);
    EXPECT_EQ(ShownRows(), (Rows{folder_.Path() + L"\\a.ppt"}));
}

TEST_F(PlaylistAddingTest, AddFolderOnDriveRoot_EntriesHaveOneBackslash) {
    // The browser hands back a drive's root with its backslash; entries must read C:\name.
    const std::wstring probe =
        L"C:\\tidewell-root-" + std::to_wstring(::GetCurrentProcessId()) + L".ppt";
    HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "this test needs write access to the root of C:";
    ::CloseHandle(file);
    dialogs_.folderAnswers.push_back(L"C:\\");
    Click(IDC_ToolButton2);
    ::DeleteFileW(probe.c_str());
    const Rows rows = ShownRows();
    EXPECT_NE(std::find(rows.begin(), rows.end(), probe), rows.end());
    for (const std::wstring& row : rows) EXPECT_NE(row.rfind(L"C:\\\\", 0), 0u) << "doubled";
}

TEST_F(PlaylistAddingTest, AddFolderWhosePathHoldsLockMark_AddsNothing) {
    const std::wstring marked = folder_.AddFolder(L"old~$decks");
    folder_.Touch(L"old~$decks\\a.ppt");
    dialogs_.folderAnswers.push_back(marked);
    Click(IDC_ToolButton2);
    EXPECT_EQ(List().Count(), 0u);
}

TEST_F(PlaylistAddingTest, AddFolderWithoutPresentations_KeepsSelectionAndCommands) {
    folder_.Touch(L"readme.txt");
    folder_.Touch(L"deck.pptm");
    Fill({L"C:\\x.ppt", L"C:\\y.ppt"});
    List().SetSelectedIndex(0);
    const CommandEnableState before = ControlStates();
    dialogs_.folderAnswers.push_back(folder_.Path());
    Click(IDC_ToolButton2);
    EXPECT_EQ(ShownRows(), (Rows{L"C:\\x.ppt", L"C:\\y.ppt"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
    EXPECT_EQ(ControlStates(), before);
}

TEST_F(PlaylistAddingTest, AddFolderCancelledOrMissing_ChangesNothing) {
    dialogs_.folderAnswers.push_back(std::nullopt);
    dialogs_.folderAnswers.push_back(folder_.Path() + L"\\does-not-exist");
    Click(IDC_ToolButton2);
    Click(IDC_ToolButton2);
    EXPECT_EQ(List().Count(), 0u);
    EXPECT_EQ(dialogs_.folderPrompts.size(), 2u);
    EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(PlaylistAddingTest, UnicodeNames_KeptExactlyByAllThreeWays) {
    const std::wstring greek = folder_.Touch(kGreekName);
    const std::wstring chinese = folder_.Touch(kChineseName);

    dialogs_.AnswerFiles({greek});
    Click(IDC_ToolButton1);
    EXPECT_EQ(ShownRows(), (Rows{greek}));

    dialogs_.folderAnswers.push_back(folder_.Path());
    Click(IDC_ToolButton2);
    const Rows afterFolder = ShownRows();
    ASSERT_EQ(afterFolder.size(), 3u);
    EXPECT_EQ(Sorted({afterFolder[1], afterFolder[2]}), Sorted({greek, chinese}));

    Drop({chinese});
    ASSERT_EQ(List().Count(), 4u);
    EXPECT_EQ(ShownRows()[3], chinese);
    EXPECT_EQ(List().SelectedIndex(), 3);
}

// The folder scan judges extensions in the thread's code page. "t with caron" is a letter of the
// Central European code page and stays one there, so ".pp" plus it is no presentation; the Western
// code page lacks it and writes its best fit "t", which makes the name a ".ppt".
TEST_F(PlaylistAddingTest, AddFolder_ExtensionJudgedInTheThreadsCodePage) {
    const std::wstring caron = folder_.Touch(L"caron.pp\x0165");
    {
        ThreadLocale czech(MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT));
        ASSERT_TRUE(czech.Differs()) << "the system code page must not be the Central European one";
        dialogs_.folderAnswers.push_back(folder_.Path());
        Click(IDC_ToolButton2);
        EXPECT_EQ(List().Count(), 0u);
    }
    ThreadLocale english(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    dialogs_.folderAnswers.push_back(folder_.Path());
    Click(IDC_ToolButton2);
    EXPECT_EQ(ShownRows(), (Rows{caron}));
}

TEST_F(PlaylistAddingTest, DropTwoPresentationsAndFolder_AppendsBothSkipsFolder) {
    Fill({L"C:\\first.ppt"});
    const std::wstring a = folder_.Touch(L"a.PPSX");
    const std::wstring sub = folder_.AddFolder(L"decks.ppt");
    const std::wstring b = folder_.Touch(L"b.ppt");
    Drop({a, sub, b});
    EXPECT_EQ(ShownRows(), (Rows{L"C:\\first.ppt", a, b}));
    EXPECT_EQ(List().SelectedIndex(), 2);
    EXPECT_TRUE(ControlStates().playSelected);
}

TEST_F(PlaylistAddingTest, DropOnlyRefusedFiles_ChangesNothingNotEvenSelection) {
    Fill({L"C:\\x.ppt", L"C:\\y.ppt"});
    List().SetSelectedIndex(0);
    const std::wstring lock = folder_.Touch(L"~$a.ppt");
    const std::wstring macro = folder_.Touch(L"b.pptm");
    const std::wstring text = folder_.Touch(L"c.txt");
    Drop({lock, macro, text, folder_.Path() + L"\\missing.ppt"});
    EXPECT_EQ(ShownRows(), (Rows{L"C:\\x.ppt", L"C:\\y.ppt"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
}

TEST_F(PlaylistAddingTest, DropKeepsExtensionQuirks_PrefixOfPatternAccepted) {
    const std::wstring pp = folder_.Touch(L"short.pp");
    const std::wstring upper = folder_.Touch(L"LOUD.PpT");
    Drop({pp, upper});
    EXPECT_EQ(ShownRows(), (Rows{pp, upper}));
}

TEST_F(PlaylistAddingTest, DropOnOtherWindow_IsNotTaken) {
    // Only the list is registered; a drop message for any other window passes the hook untouched.
    const std::wstring a = folder_.Touch(L"a.ppt");
    HDROP drop = MakeDrop({a});
    ::PostMessageW(Control(IDC_TntEdit1), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    PumpMessages();
    EXPECT_EQ(List().Count(), 0u);
    ::DragFinish(drop);
    EXPECT_TRUE(::GetWindowLongW(ListWindow(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(::GetWindowLongW(form_->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(PlaylistAddingTest, DropHook_MarksDropHandledAndReleasesIt) {
    const std::wstring a = folder_.Touch(L"a.ppt");
    HDROP drop = MakeDrop({a});
    ::PostMessageW(ListWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    PumpMessages();
    EXPECT_EQ(ShownRows(), (Rows{a}));
    // DragFinish frees the block; a freed global handle reports no size.
    EXPECT_EQ(::GlobalSize(drop), 0u);
}

}  // namespace
}  // namespace tidewell::testing::playlist_tests
