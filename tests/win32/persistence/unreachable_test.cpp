// Paths whose drive, share or folder does not answer are not gone; the monitor number of a monitor
// that is off; which program counts as the user's own. The stored and loaded entries themselves are
// tested end to end, on a drive really unplugged and a folder that really may not be read.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/resource.h"
#include "common/file_exists_win32.h"
#include "persistence/preferences_key.h"
#include "persistence/registry_strings_win32.h"
#include "persistence_support.h"
#include "launch/path_check_win32.h"
#include "launch/unattended_launch_win32.h"
#include "playlist/playlist_view_win32.h"
#include "support/form_fixture.h"

namespace tidewell::testing {
namespace {

using Paths = std::vector<std::wstring>;

// A drive letter that no drive has here: a stick that is not plugged in.
std::wstring AbsentDrive() {
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'D'; --letter) {
        if (!(drives & (1u << (letter - L'A')))) return std::wstring(1, letter) + L":\\";
    }
    ADD_FAILURE() << "every drive letter is taken";
    return L"Y:\\";
}

const std::wstring kAbsentShare = L"\\\\tidewell-no-such-server\\lobby\\";

TEST(Presence, OnlyWhatCouldBeLookedAtAndIsNotThereIsGone) {
    ScratchFolder folder;
    const std::wstring present = folder.File(L"a.ppt");
    folder.File(L"b.ppt");
    const std::wstring subfolder = folder / L"sub.ppt";
    ASSERT_TRUE(::CreateDirectoryW(subfolder.c_str(), nullptr));
    const std::wstring drive = AbsentDrive();
    const struct {
        std::wstring path;
        Presence presence;
    } cases[] = {
        {present, Presence::Present},
        {folder / L"b.ppt", Presence::Present},
        {folder / L"gone.ppt", Presence::Gone},
        {folder / L"missing folder\\a.ppt", Presence::Gone},
        {subfolder, Presence::Gone},
        {L"", Presence::Gone},
        {drive + L"Shows\\a.ppt", Presence::Unreachable},
        {drive + L"Shows\\b.ppt", Presence::Unreachable},
        {drive + L"c.ppt", Presence::Unreachable},
        {kAbsentShare + L"Shows\\a.ppt", Presence::Unreachable},
        {kAbsentShare + L"Shows\\b.ppt", Presence::Unreachable},
    };
    Paths paths;
    std::vector<Presence> expected;
    for (const auto& c : cases) {
        paths.push_back(c.path);
        expected.push_back(c.presence);
        EXPECT_EQ(PresenceOf(c.path), c.presence) << c.path;
    }
    EXPECT_EQ(PresenceOfAll(paths), expected);
}

class Unreachable : public FormFixture {
  protected:
    void Store(const wchar_t* name, const std::wstring& text) {
        UniqueHKEY key = OpenPreferencesKey(keyPath_);
        ASSERT_TRUE(key);
        WriteRegistryString(key.get(), name, text);
    }
    std::wstring Stored(const wchar_t* name) {
        UniqueHKEY key = OpenPreferencesKey(keyPath_);
        return key ? ReadRegistryString(key.get(), name) : L"<no key>";
    }
    void Close() {
        ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(form_->IsClosed());
    }

    ScratchFolder folder_;
};

TEST_F(Unreachable, RestoredEntryOnAnAbsentDrive_MarkedInTheListWhereverItMoves) {
    const std::wstring present = folder_.File(L"here.ppt");
    Store(L"files", AbsentDrive() + L"a.ppt\r\n" + present);
    CreateForm();
    PlaylistView& rows = form_->Playlist();
    ASSERT_EQ(rows.Count(), 2u);
    EXPECT_TRUE(rows.IsUnreachable(0));
    EXPECT_FALSE(rows.IsUnreachable(1));
    rows.MoveSelectedDown();
    EXPECT_FALSE(rows.IsUnreachable(0));
    EXPECT_TRUE(rows.IsUnreachable(1));
}

TEST_F(Unreachable, AbsentMonitor_StoredAgainUntilChosenAppliedWhenItAppears) {
    Store(L"monitorc", L"2");
    const std::vector<MonitorEntry> one = MonitorsOfSize({{0, 0, 1024, 768}});
    CreateForm(one);
    EXPECT_EQ(MonitorNumber(), 1);
    Close();
    EXPECT_EQ(Stored(L"monitorc"), L"2");

    // The second monitor is switched on while Tidewell runs.
    enumerateMonitors_ = [] { return MonitorsOfSize({{0, 0, 1024, 768}, {1024, 0, 2048, 768}}); };
    form_.reset();
    CreateForm(one);
    EXPECT_EQ(MonitorNumber(), 1);
    ::SendMessageW(form_->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(2048, 768));
    EXPECT_EQ(MonitorNumber(), 2);
    int low = 0, high = 0;
    ::SendMessageW(Control(IDC_TntUpDown1), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(high, 2);

    // With three stored and two there, the user's own choice wins.
    Store(L"monitorc", L"3");
    form_.reset();
    CreateForm(MonitorsOfSize({{0, 0, 1024, 768}, {1024, 0, 2048, 768}}));
    SetMonitorNumber(2);
    ::SendMessageW(form_->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2),
                   reinterpret_cast<LPARAM>(Control(IDC_TntUpDown1)));
    Close();
    EXPECT_EQ(Stored(L"monitorc"), L"2");
}

TEST_F(Unreachable, ProgramPickedWithTheFolderButton_StoredAsChosenAndKnownByItsShortName) {
    const std::wstring mine = folder_.File(L"my player with a long name.exe");
    CreateForm();
    dialogs_.AnswerFiles({mine});
    Click(IDC_TntSpeedButton1);
    Close();
    EXPECT_EQ(Stored(L"chosenpptexfile"), mine);

    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(::GetShortPathNameW(mine.c_str(), shortName.data(), MAX_PATH));
    ASSERT_NE(shortName, mine);
    for (wchar_t& c : shortName) c = c == L'\\' ? L'/' : static_cast<wchar_t>(::towlower(c));
    EXPECT_TRUE(MayStartProgramUnattended(*CheckProgram(L" " + shortName + L" "), mine));
    EXPECT_FALSE(MayStartProgramUnattended(*CheckProgram(folder_.File(L"theirs.exe")), mine));
    EXPECT_FALSE(MayStartProgramUnattended(*CheckProgram(kAbsentShare + L"POWERPNT.EXE"), L""));
}

}  // namespace
}  // namespace tidewell::testing
