// Shows that start and stop with nobody at the desk: the built program started with options, as
// from a batch file, the Startup folder or a scheduled task, playing the stand-in on the second
// of two monitors; stopped from a second process and from its notification icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

TEST_F(Unattended, SettingFile_LoadedOverTheStoredOnesAndStoredAtClose) {
    const std::wstring stored = Deck(L"stored.ppt");
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b \u00e9t\u00e9.pptx");
    ASSERT_TRUE(preferences_.Store({stored}, StandinPath(), 1));

    Start(Quoted(SettingFile(StandinPath(), {a, b})));
    CloseAndWait();
    EXPECT_EQ(preferences_.Value(L"files"), a + L"\r\n" + b);
    EXPECT_EQ(preferences_.Value(L"monitorc"), L"2");

    // A file that fails to load says so as "Load setting" does, and leaves what was restored.
    const std::wstring broken = folder_.File(L"broken.ppsv");
    WriteSettingFile(broken, {L"2", StandinPath()});
    Start(Quoted(broken));
    HWND box = MessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Error ppsv format!");
    PressOk(box);
    CloseAndWait();
    EXPECT_EQ(preferences_.Value(L"files"), a + L"\r\n" + b);
}

TEST_F(Unattended, Play_EveryShowInOrderOnTheFilesMonitorThenTheWindowIsBack) {
    const std::wstring a = Deck(L"first.ppt"), b = Deck(L"second.pptx");
    standin_.Set(L"SECONDS", L"0.5");

    Start(L"/PLAY " + Quoted(SettingFile(StandinPath(), {a, b, a})));
    ASSERT_TRUE(WaitForShows(3)) << "the run did not play three shows";
    ASSERT_TRUE(MainWindowShown()) << "the main window did not come back";

    const RECT second = SecondMonitor();
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 3u);
    const std::wstring expected[] = {a, b, a};
    for (std::size_t i = 0; i < shows.size(); ++i) {
        EXPECT_EQ(shows[i].file, expected[i]) << i;
        EXPECT_EQ(shows[i].left, second.left) << i;
        EXPECT_EQ(shows[i].top, second.top) << i;
    }
}

TEST_F(Unattended, Play_RefusedForAProgramTheUserDidNotChoose_PowerPointsNameOnlyWhereInstalled) {
    const std::wstring a = Deck(L"a.ppt");
    const std::wstring stranger = folder_.File(L"player.exe");
    // PowerPoint's name counts for nothing in a folder that the user, a download or a mounted
    // disk image can write.
    const std::wstring powerPoint = folder_.AddFolder(L"Office") + L"\\POWERPNT.EXE";
    standin_.Set(L"SECONDS", L"0.3");

    for (const std::wstring& program : {stranger, powerPoint}) {
        ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), program.c_str(), FALSE));
        Start(L"/play " + Quoted(SettingFile(program, {a})));
        HWND box = MessageBox();
        ASSERT_NE(box, nullptr);
        const std::wstring text = MessageBoxText(box);
        EXPECT_NE(text.find(Quoted(program)), std::wstring::npos) << text;
        EXPECT_NE(text.find(L"\"Play All\""), std::wstring::npos) << text;
        PressOk(box);
        // The file is loaded all the same: "Play All" is there for the user to press.
        HWND playAll = ::FindWindowExW(main_, nullptr, L"Button", L"Play All");
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(playAll) != FALSE; }, 5s));
        EXPECT_TRUE(ReadStandinLog(log_).empty()) << "the program named by the file was started";
        CloseAndWait();
    }
}

TEST_F(Unattended, Loop_TwoPassesThenStopFromASecondProcess_NoShowAfterIt) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    standin_.Set(L"SECONDS", L"0.4");

    EXPECT_EQ(RunToEnd(L"/stop"), 1u) << "with no Tidewell running, /stop ends with 1";
    Start(L"/play /loop " + Quoted(SettingFile(StandinPath(), {a, b})));
    ASSERT_TRUE(WaitForShows(4)) << "the loop did not play two passes";
    EXPECT_EQ(RunToEnd(L"/stop"), 0u);
    const std::size_t atStop = ReadStandinLog(log_).size();
    ASSERT_TRUE(MainWindowShown()) << "the main window did not come back";

    // The show that played when /stop came may still end after it; none starts after it.
    EXPECT_LE(ReadStandinLog(log_).size(), atStop + 1);
    EXPECT_EQ(::FindWindowW(L"screenClass", nullptr), nullptr);
    EXPECT_EQ(RunToEnd(L"-STOP"), 1u) << "with no run playing, /stop ends with 1";
}

TEST_F(Unattended, StopNow_ClosesTheShowPolitelyAndBringsTheWindowBack) {
    const std::wstring a = Deck(L"a.ppt");
    // Without a time, the show runs until it is closed.

    Start(L"/play /loop " + Quoted(SettingFile(StandinPath(), {a})));
    ASSERT_NE(WaitForShowWindow(), nullptr) << "no show started";
    EXPECT_EQ(RunToEnd(L"/stop /now"), 0u);
    ExpectOneShowClosedAndWindowBack();
}

TEST_F(EndedByTheTest, NotificationIcon_StopAfterThisPresentationThenGone) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");
    const std::wstring log = folder_.File(L"run.log");

    Start(L"/play /loop /log " + Quoted(log) + L" " + Quoted(SettingFile(StandinPath(), {a, b})));
    ChooseFromRunIcon(0);  // "Stop after this presentation"
    // The show is ended only once the run has taken the stop and done all it does for it.
    ASSERT_TRUE(WaitUntil([&] { return PlayLogEvents(log, "stop") > 0; }, 20s))
        << "the run did not take the stop";
    ASSERT_TRUE(::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr));
    ender_.EndShow();

    ASSERT_TRUE(MainWindowShown()) << "the main window did not come back";
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 1u) << "a show started after the stop";
    EXPECT_EQ(shows[0].reason, L"signal") << "the show was not left to play on";
    EXPECT_TRUE(WaitUntil([] { return !NotificationAreaShown(); }, 10s))
        << "the icon stayed after the run";
}

TEST_F(Unattended, NotificationIcon_StopNowEndsTheShow) {
    const std::wstring a = Deck(L"a.ppt");

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, a})));
    ChooseFromRunIcon(1);  // "Stop now"
    ExpectOneShowClosedAndWindowBack();
}

TEST_F(Unattended, PlayExit_StoresThePreferencesAndEnds) {
    const std::wstring a = Deck(L"a.ppt");
    standin_.Set(L"SECONDS", L"0.3");

    Start(L"/play /exit " + Quoted(SettingFile(StandinPath(), {a, a})), false);
    EXPECT_EQ(WaitForExit(program_, 60s), 0u) << "the program did not end after the run";
    EXPECT_EQ(ReadStandinLog(log_).size(), 2u);
    EXPECT_EQ(preferences_.Value(L"files"), a + L"\r\n" + a);
    EXPECT_EQ(preferences_.Value(L"monitorc"), L"2");
}

TEST_F(Unattended, Monitor_InRangeChosen_OutOfRangeRefusedNamingIt) {
    Start(L"-monitor 2");
    CloseAndWait();
    EXPECT_EQ(preferences_.Value(L"monitorc"), L"2");

    Start(L"/monitor 3");
    HWND box = MessageBox();
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"3"), std::wstring::npos) << text;
    PressOk(box);
    CloseAndWait();
    EXPECT_EQ(preferences_.Value(L"monitorc"), L"2") << "the restored monitor was not kept";
}

TEST_F(Unattended, BadOption_UsageThenEndsWithoutTouchingAnythingStored) {
    preferences_.Remove();  // a start that read or stored preferences would create the key
    Start(L"/play /shuffle", false);
    HWND box = MessageBox();
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"\"/shuffle\""), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"tidewell.exe /stop [/now]"), std::wstring::npos) << text;
    PressOk(box);
    EXPECT_EQ(WaitForExit(program_, 20s), 2u);
    EXPECT_FALSE(preferences_.KeyExists()) << "a refused start touched the preferences";

    RunningProgram usage;
    ASSERT_TRUE(StartProgram(ExecutableFolder() + L"\\tidewell.exe", L"/?", usage));
    HWND usageBox = WaitForMessageBox(usage.info.dwProcessId, 20s);
    ASSERT_NE(usageBox, nullptr);
    EXPECT_EQ(WindowCaption(usageBox), L"Tidewell");
    EXPECT_EQ(MessageBoxText(usageBox).find(L"Usage:"), 0u);
    PressOk(usageBox);
    EXPECT_EQ(WaitForExit(usage, 20s), 0u);
    EXPECT_FALSE(preferences_.KeyExists());
}

TEST_F(Unattended, EndOfSession_StoresThePreferencesAsACloseDoes) {
    const std::wstring stored = Deck(L"stored.ppt"), a = Deck(L"a.ppt");
    ASSERT_TRUE(preferences_.Store({stored, stored}, StandinPath(), 1));
    Start(Quoted(SettingFile(StandinPath(), {a})));
    ASSERT_TRUE(WaitForRows(1)) << "the setting file was not loaded";

    EndWindowsSession();
    EXPECT_TRUE(WaitForExit(program_, 20s)) << "the program outlived the session";
    EXPECT_EQ(preferences_.Value(L"files"), a);
    EXPECT_EQ(preferences_.Value(L"monitorc"), L"2");
}

TEST_F(Unattended, EndOfSession_DuringARun_StoresAndStartsNoFurtherShow) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, b})));
    ASSERT_NE(WaitForShowWindow(), nullptr) << "no show started";
    EndWindowsSession();
    EXPECT_TRUE(WaitForExit(program_, 20s)) << "the program outlived the session";
    EXPECT_EQ(preferences_.Value(L"files"), a + L"\r\n" + b);
    for (const StandinShow& show : ReadStandinLog(log_)) EXPECT_NE(show.file, b);
    EXPECT_EQ(::FindWindowW(L"screenClass", nullptr), nullptr) << "a show started after the end";
}

// A close request from another program while a show plays (as "taskkill" without /F sends):
// the preferences are stored, the program ends, and the next show never starts.
TEST_F(Unattended, CloseDuringARun_StoresEndsAndStartsNoFurtherShow) {
    const std::wstring a = Deck(L"a.ppt"), b = Deck(L"b.ppt");

    Start(L"/play " + Quoted(SettingFile(StandinPath(), {a, b})));
    HWND show = WaitForShowWindow();
    ASSERT_NE(show, nullptr) << "no show started";
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(program_, 20s), 0u) << "the program did not end while the show played";
    EXPECT_EQ(preferences_.Value(L"files"), a + L"\r\n" + b);

    // The show is not Tidewell's to end; once it has, nothing follows it.
    ::PostMessageW(show, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForShows(1));
    EXPECT_EQ(ReadStandinLog(log_).size(), 1u);
    EXPECT_EQ(::FindWindowW(L"screenClass", nullptr), nullptr);
}

}  // namespace
}  // namespace tidewell::e2e
