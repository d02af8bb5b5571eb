#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1_win32.h"
#include "app/resource.h"
#include "copies/copy_record.h"
#include "copies/local_copies_win32.h"
#include "common/app_error.h"
#include "playback/monitor_rule.h"
#include "playback/play_checks.h"
#include "run/play_queue.h"
#include "persistence/persistence_support.h"
#include "launch/playback_state_win32.h"
#include "playback/playing_marker_win32.h"
#include "playlist/playlist_view_win32.h"
#include "support/copy_notes.h"
#include "support/form_fixture.h"
#include "support/standin_support.h"
#include "support/test_presentations.h"
#include "support/user_input.h"

namespace tidewell::testing {
namespace {

const int kWidth = ::GetSystemMetrics(SM_CXSCREEN);
const int kHeight = ::GetSystemMetrics(SM_CYSCREEN);

// Records the main window's showing and hiding, to see what a run did to it.
class ShowHistory {
  public:
    explicit ShowHistory(HWND window) : window_(window) {
        ::SetWindowSubclass(window_, Record, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~ShowHistory() { ::RemoveWindowSubclass(window_, Record, 1); }
    std::vector<bool> shown;

  private:
    static LRESULT CALLBACK Record(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR self) {
        if (msg == WM_SHOWWINDOW) reinterpret_cast<ShowHistory*>(self)->shown.push_back(wp != 0);
        return ::DefSubclassProc(w, msg, wp, lp);
    }
    HWND window_;
};

class PlayCommandTest : public FormFixture {
  protected:
    void SetUp() override {
        FormFixture::SetUp();
        CreateForm(MonitorsOfSize({{0, 0, kWidth, kHeight}, {kWidth, 0, 2 * kWidth, kHeight}}));
        form_->ShowCentered();
        // A show ends once it has been placed; the time-out only ends one that never is.
        settings_.Set(L"LOG", log_).Set(L"UNTIL_PLACED", L"1").Set(L"SECONDS", L"20");
    }

    void AddEntries(const std::vector<std::wstring>& names) {
        for (const auto& name : names) form_->Playlist().Append(PutDeck(folder_, name));
    }

    // Everything a failed check must leave alone.
    void ExpectNothingStarted() {
        EXPECT_EQ(form_->Playback().PlayQueue, std::vector<PlaylistEntry>{L"earlier run"});
        EXPECT_EQ(form_->Playback().RunProgramPath, L"earlier program");
        EXPECT_EQ(PlaybackState().targetLeft.load(), -12345);
        EXPECT_TRUE(ReadStandinLog(log_).empty());
        EXPECT_TRUE(::IsWindowVisible(form_->Handle()));
    }
    void MarkEarlierRun() {
        form_->Playback().PlayQueue = {L"earlier run"};
        form_->Playback().RunProgramPath = L"earlier program";
        PlaybackState().targetLeft.store(-12345);
    }

    TempFolder folder_;
    std::wstring log_ = folder_.File(L"shows.log");
    StandinSettings settings_;
};

TEST_F(PlayCommandTest, NoProgramAndEmptyPlaylist_OnlyTheProgramMessage) {
    MarkEarlierRun();
    form_->Playback().Play(PlaySender::PlayAll);
    EXPECT_EQ(dialogs_.messages, std::vector<std::wstring>{std::wstring(kNoProgramMessage)});
    ExpectNothingStarted();
}

TEST_F(PlayCommandTest, ProgramTextNamingNoFile_ProgramMessage) {
    AddEntries({L"a.ppt"});
    MarkEarlierRun();
    const std::vector<std::wstring> texts = {kProgramPrompt, L"", folder_.Path(),
                                             folder_.File(L"missing.exe")};
    for (const std::wstring& text : texts) {
        SetProgramPath(text);
        form_->Playback().Play(PlaySender::PlayAll);
    }
    EXPECT_EQ(dialogs_.messages,
              std::vector<std::wstring>(texts.size(), std::wstring(kNoProgramMessage)));
    ExpectNothingStarted();
}

TEST_F(PlayCommandTest, AnotherRunPlays_MessageAndNothingStarts) {
    SetProgramPath(StandinPath());
    AddEntries({L"a.ppt"});
    MarkEarlierRun();
    const std::optional<PlayingMarker> otherRun = PlayingMarker::Take();
    ASSERT_TRUE(otherRun);
    Click(IDC_BitBtn1);
    EXPECT_EQ(dialogs_.messages, std::vector<std::wstring>{std::wstring(kAnotherRunPlaysMessage)});
    ExpectNothingStarted();
}

// "No" starts nothing and keeps the list; "Yes" plays and makes it the chosen program, which is
// not asked about again.
TEST_F(PlayCommandTest, ProgramThatASettingFileBrought_AskedOnceNamingItAndTheFile) {
    const std::wstring stranger = folder_.File(L"player.exe");
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), stranger.c_str(), FALSE));
    const std::wstring file = folder_.File(L"mailed.ppsv");
    WriteBytes(file, Utf16LeWithMark(L"1\r\n" + stranger + L"\r\n" + folder_.Touch(L"a.ppt")));
    dialogs_.AnswerFiles({file});
    Click(IDC_ToolButton8);
    dialogs_.questionAnswers = {false};
    MarkEarlierRun();
    Click(IDC_BitBtn1);
    ASSERT_EQ(dialogs_.questions.size(), 1u);
    EXPECT_NE(dialogs_.questions[0].find(L"\"" + stranger + L"\""), std::wstring::npos);
    EXPECT_NE(dialogs_.questions[0].find(L"\"" + file + L"\""), std::wstring::npos);
    ExpectNothingStarted();
    EXPECT_EQ(form_->Playlist().Count(), 1);

    for (int play = 0; play < 2; ++play) {
        Click(IDC_BitBtn1);
        ASSERT_TRUE(PlayToTheEnd());
    }
    EXPECT_EQ(dialogs_.questions.size(), 2u);
    EXPECT_EQ(ReadStandinLog(log_).size(), 2u);
}

// A program line means a file beside the setting file, whatever folder is current: the field shows
// that file's full path, and the question names it, never the text that led there.
TEST_F(PlayCommandTest, RelativeProgramLine_FullPathBesideTheFileShownAndAskedAbout) {
    const std::wstring stranger = folder_.File(L"player.exe");
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), stranger.c_str(), FALSE));
    const std::wstring file = folder_.File(L"mailed.ppsv");
    const std::wstring show = folder_.Touch(L"a.ppt");
    MarkEarlierRun();
    for (const wchar_t* line : {L"player.exe", L"sub\\..\\player.exe", L".\\player.exe."}) {
        SCOPED_TRACE(line);
        WriteBytes(file, Utf16LeWithMark(L"1\r\n" + std::wstring(line) + L"\r\n" + show));
        dialogs_.AnswerFiles({file});
        Click(IDC_ToolButton8);
        EXPECT_EQ(ProgramPath(), stranger);
        dialogs_.questions.clear();
        dialogs_.questionAnswers = {false};
        Click(IDC_BitBtn1);
        ASSERT_EQ(dialogs_.questions.size(), 1u);
        EXPECT_NE(dialogs_.questions[0].find(L"\"" + stranger + L"\""), std::wstring::npos);
    }
    ExpectNothingStarted();
}

TEST_F(PlayCommandTest, EmptyPlaylist_PlaylistMessage) {
    SetProgramPath(StandinPath());
    MarkEarlierRun();
    form_->Playback().Play(PlaySender::PlayAll);
    Click(IDC_BitBtn1);  // the context menu's "Play all", as the menu sends it
    EXPECT_EQ(dialogs_.messages, std::vector<std::wstring>(2, std::wstring(kEmptyPlaylistMessage)));
    ExpectNothingStarted();
}

TEST_F(PlayCommandTest, MonitorOfOtherHeight_SizeMessageWithItsNumber) {
    form_.reset();
    CreateForm(MonitorsOfSize({{0, 0, kWidth, kHeight}, {kWidth, 0, 2 * kWidth, kHeight - 100}}));
    SetProgramPath(StandinPath());
    AddEntries({L"a.ppt"});
    SetMonitorNumber(2);
    MarkEarlierRun();
    form_->Playback().Play(PlaySender::PlayAll);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0], MonitorSizeMessage(2));
    EXPECT_TRUE(dialogs_.messages[0].ends_with(L"2 same as monitor 1"));
    form_->ShowCentered();
    ExpectNothingStarted();
}

TEST_F(PlayCommandTest, MonitorNoLongerAnswering_ClearMessageNothingLaunched) {
    form_.reset();
    std::vector<MonitorEntry> monitors =
        MonitorsOfSize({{0, 0, kWidth, kHeight}, {kWidth, 0, 2 * kWidth, kHeight}});
    monitors[1].handle = reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x7ead0001));
    CreateForm(monitors);
    form_->ShowCentered();
    SetProgramPath(StandinPath());
    AddEntries({L"a.ppt"});
    SetMonitorNumber(2);
    MarkEarlierRun();
    form_->Playback().Play(PlaySender::PlayAll);
    EXPECT_EQ(dialogs_.messages, std::vector<std::wstring>{MissingMonitorMessage(2)});
    ExpectNothingStarted();
}

TEST_F(PlayCommandTest, PlaySelectedWithoutSelection_HidesShowsAtOnceLaunchesNothing) {
    SetProgramPath(StandinPath());
    AddEntries({L"a.ppt", L"b.ppt"});
    form_->Playlist().SetSelectedIndex(-1);
    const DWORD idBefore = PlaybackState().currentProcessId.load();
    ShowHistory history(form_->Handle());
    form_->Playback().Play(PlaySender::PlaySelected);
    ASSERT_TRUE(PlayToTheEnd());
    Click(IDC_BitBtn2);  // the context menu's "play selected", as the menu sends it
    ASSERT_TRUE(PlayToTheEnd());
    EXPECT_EQ(PlaybackState().currentProcessId.load(), idBefore) << "something was launched";
    EXPECT_EQ(history.shown, (std::vector<bool>{false, true, false, true}));
    EXPECT_TRUE(form_->Playback().PlayQueue.empty());
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(ReadStandinLog(log_).empty());
}

TEST_F(PlayCommandTest, PlayAllWithDuplicate_EveryShowInOrderOneAtATimeOnChosenMonitor) {
    SetProgramPath(StandinPath());
    AddEntries({L"first.ppt", L"\u00e9t\u00e9 \u65e5\u672c.pptx", L"first.ppt"});
    SetMonitorNumber(2);
    ShowHistory history(form_->Handle());
    form_->Playback().Play(PlaySender::PlayAll);
    ASSERT_TRUE(PlayToTheEnd());

    EXPECT_EQ(form_->Playback().PlayQueue, form_->Playlist().Entries());
    EXPECT_EQ(form_->Playback().RunProgramPath, StandinPath());
    EXPECT_EQ(PlaybackState().targetLeft.load(), kWidth);
    EXPECT_EQ(PlaybackState().targetTop.load(), 0);
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 3u);
    for (std::size_t i = 0; i < shows.size(); ++i) {
        EXPECT_EQ(shows[i].file, form_->Playlist().Entry(static_cast<int>(i)).path) << i;
        EXPECT_EQ(shows[i].switches, L"/S") << i;
        EXPECT_EQ(shows[i].left, kWidth) << i;
        EXPECT_EQ(shows[i].top, 0) << i;
        EXPECT_EQ(shows[i].reason, L"placed") << i;
        if (i > 0) {
            EXPECT_GE(shows[i].start, shows[i - 1].end) << i;
        }
    }
    EXPECT_EQ(history.shown, (std::vector<bool>{false, true}));
    EXPECT_TRUE(::IsWindowVisible(form_->Handle()));
    EXPECT_EQ(executionStates_,
              (std::vector<EXECUTION_STATE>{
                  ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED, ES_CONTINUOUS}))
        << "the display is kept on once for the whole run and let go at its end";
}

// A copy folder for `original` whose note says that no list has named it for 31 days.
std::wstring AgedCopyFolder(const std::wstring& original) {
    const std::wstring folder = CopiesFolder() + L"\\" + CopyFolderName(original);
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    EXPECT_TRUE(AgeCopyNote(folder + L"\\" + kCopyNoteName));
    return folder;
}

TEST_F(PlayCommandTest,
       PlaySelectedFromMenuWithViewer_OnlySelectedEntryFullScreen_ListsCopiesKept) {
    const std::wstring viewer = folder_.File(L"PptView.Exe");
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), viewer.c_str(), FALSE));
    SetProgramPath(viewer);
    AddEntries({L"a.ppt", L"b.ppt", L"c.ppt"});
    const std::wstring listed = AgedCopyFolder(folder_.File(L"c.ppt"));
    const std::wstring unlisted = AgedCopyFolder(folder_.File(L"gone.ppt"));
    form_->Playlist().SetSelectedIndex(1);
    Click(IDC_BitBtn2);  // the context menu's "play selected", as the menu sends it
    ASSERT_TRUE(PlayToTheEnd());
    // The entries that did not play are still the list's: their copies stay.
    const auto there = [](const std::wstring& folder) {
        return ::GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    ASSERT_TRUE(PumpUntil([&] { return !there(unlisted); }, std::chrono::seconds(10)));
    EXPECT_TRUE(there(listed));

    EXPECT_EQ(form_->Playback().PlayQueue, std::vector<PlaylistEntry>{folder_.File(L"b.ppt")});
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].file, folder_.File(L"b.ppt"));
    EXPECT_EQ(shows[0].switches, L"/S /F");
    EXPECT_EQ(shows[0].left, 0);
}

TEST_F(PlayCommandTest, ProgramThatCannotStart_EveryEntryFailsRunEndsAtOnce) {
    const std::wstring notAProgram = folder_.File(L"broken.exe");
    HANDLE h =
        ::CreateFileW(notAProgram.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(h, "not a program", 13, &written, nullptr);
    ::CloseHandle(h);
    SetProgramPath(notAProgram);
    AddEntries({L"a.ppt", L"b.ppt"});
    const DWORD idBefore = PlaybackState().currentProcessId.load();
    ShowHistory history(form_->Handle());
    Click(IDC_BitBtn1);  // the context menu's "Play all", as the menu sends it
    ASSERT_TRUE(PlayToTheEnd());
    EXPECT_EQ(form_->Playback().PlayQueue.size(), 2u);
    EXPECT_EQ(PlaybackState().currentProcessId.load(), idBefore);
    EXPECT_EQ(history.shown, (std::vector<bool>{false, true}));
    EXPECT_TRUE(dialogs_.messages.empty());
}

// Runs whose placement watchers cannot be started, as when the system has no threads to spare.
class PlayWithoutPlacement : public PlayCommandTest {
  protected:
    void SetUp() override {
        startPlacementWatcher_ = [](WatchedShow) -> std::unique_ptr<PlacementWatcher> {
            throw AppError(kFailure);
        };
        // No copy of the program is handed a show: the search for one is only waited out.
        runTimings_.handOffSearchMs = 100;
        PlayCommandTest::SetUp();
        // Nothing places the shows: each ends by itself.
        settings_.Set(L"UNTIL_PLACED", L"0").Set(L"SECONDS", L"1");
    }
    static constexpr wchar_t kFailure[] = L"Cannot start the slide-show placement. No threads";
};

TEST_F(PlayWithoutPlacement, EveryShowPlaysToItsEndAndTheErrorFollowsOnceTheWindowIsBack) {
    SetProgramPath(StandinPath());
    AddEntries({L"a.ppt", L"b.ppt"});
    ShowHistory history(form_->Handle());
    Click(IDC_BitBtn1);
    ASSERT_TRUE(PlayToTheEnd());

    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 2u) << "the run stopped at the first show";
    EXPECT_EQ(shows[0].file, folder_.File(L"a.ppt"));
    EXPECT_EQ(shows[1].file, folder_.File(L"b.ppt"));
    EXPECT_GE(shows[1].start, shows[0].end) << "the window came back while a show was on screen";
    EXPECT_EQ(shows[0].placements, 0);
    EXPECT_EQ(history.shown, (std::vector<bool>{false, true}));
    EXPECT_EQ(dialogs_.errors, std::vector<std::wstring>{std::wstring(kFailure) + L"."})
        << "shown once for the whole run";
    EXPECT_EQ(dialogs_.errorOwnerShown, std::vector<bool>{true})
        << "shown before the window is back";
}

TEST_F(PlayCommandTest, SpeedButton_OkPutsPathInEditCancelKeepsIt) {
    dialogs_.AnswerFiles({L"C:\\Programs\\PPTVIEW.EXE"});
    dialogs_.AnswerCancel();
    Click(IDC_TntSpeedButton1);
    EXPECT_EQ(ProgramPath(), L"C:\\Programs\\PPTVIEW.EXE");
    Click(IDC_TntSpeedButton1);
    EXPECT_EQ(ProgramPath(), L"C:\\Programs\\PPTVIEW.EXE");
    EXPECT_EQ(dialogs_.shownDialogs,
              (std::vector<std::wstring>{L"TntOpenDialog2", L"TntOpenDialog2"}));
}

}  // namespace
}  // namespace tidewell::testing
