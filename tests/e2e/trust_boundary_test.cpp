// What the program trusts is a file, never a text, and what comes from outside cannot stop it:
// the built program started as a user or a scheduled task starts it, with files planted as a
// stranger would plant them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "playback/playing_marker_win32.h"
#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

// The child started next has this folder as its current one, as the "Play" verb of a setting file
// makes the file's folder current.
class ScopedCurrentFolder {
  public:
    explicit ScopedCurrentFolder(const std::wstring& folder) {
        ::GetCurrentDirectoryW(MAX_PATH, before_);
        ::SetCurrentDirectoryW(folder.c_str());
    }
    ~ScopedCurrentFolder() { ::SetCurrentDirectoryW(before_); }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

  private:
    wchar_t before_[MAX_PATH] = {};
};

// A folder below %ProgramFiles% (which only administrators can change on Windows; the test prefix
// may), removed again at the end.
class ProgramFilesFolder {
  public:
    ProgramFilesFolder() {
        wchar_t programFiles[MAX_PATH] = {};
        ::ExpandEnvironmentStringsW(L"%ProgramFiles%", programFiles, MAX_PATH);
        name_ = L"tidewell-e2e-" + std::to_wstring(::GetCurrentProcessId());
        path_ = std::wstring(programFiles) + L"\\" + name_;
        std::filesystem::create_directories(path_);
    }
    ~ProgramFilesFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::wstring& Name() const { return name_; }
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring name_, path_;
};

void CopyStandin(const std::wstring& to) {
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), to.c_str(), FALSE)) << to;
}

// Step one: a setting file whose program line is relative, played by hand, plays PowerPoint where
// it is installed and makes that file the chosen program. Step two: the same line in a file that
// a stranger put in another folder means the stranger's program there, and nothing starts.
TEST_F(Unattended, RelativeProgramLine_ApprovalIsTheFileNotTheText) {
    ProgramFilesFolder installed;
    const std::wstring powerPoint = installed.Path() + L"\\POWERPNT.EXE";
    CopyStandin(powerPoint);
    const std::wstring line = L"Program Files\\" + installed.Name() + L"\\POWERPNT.EXE";
    standin_.Set(L"SECONDS", L"0.3");
    ASSERT_TRUE(preferences_.Store({}, L"", 1));

    // Step one: at the root of the drive of %ProgramFiles%, which is also the current folder.
    const std::wstring drive = std::filesystem::path(installed.Path()).root_path().wstring();
    const std::wstring mailed = drive + installed.Name() + L".ppsv";
    WriteSettingFile(mailed, {L"2", line, Deck(L"mailed.ppt")});
    {
        const ScopedCurrentFolder current(drive);
        Start(Quoted(mailed));
    }
    ASSERT_TRUE(WaitForRows(1));
    ::PostMessageW(::FindWindowExW(main_, nullptr, L"Button", L"Play All"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForShows(1)) << "PowerPoint where it is installed did not play";
    ASSERT_TRUE(MainWindowShown());
    CloseAndWait();
    ::DeleteFileW(mailed.c_str());
    EXPECT_EQ(preferences_.Value(L"chosenpptexfile"), powerPoint);
    EXPECT_EQ(preferences_.Value(L"pptexfile"), powerPoint);

    // Step two: the stranger's folder holds a program under the same relative name.
    const std::wstring share = folder_.AddFolder(L"share");
    CopyStandin(share + L"\\" + line);
    const std::wstring stranger = share + L"\\lobby.ppsv";
    WriteSettingFile(stranger, {L"2", line, Deck(L"stranger.ppt")});
    {
        const ScopedCurrentFolder current(share);
        Start(L"/play " + Quoted(stranger));
    }
    HWND box = MessageBox();
    ASSERT_NE(box, nullptr) << "the stranger's program was not refused";
    EXPECT_NE(MessageBoxText(box).find(share + L"\\" + line), std::wstring::npos);
    PressOk(box);
    CloseAndWait();
    EXPECT_EQ(ReadStandinLog(log_).size(), 1u) << "a program started in step two";
}

// The viewer gets its switches by the file that starts, however the line spells it.
TEST_F(Unattended, ViewerSpelledOtherwise_StartedWithTheViewersSwitches) {
    const std::wstring viewer = folder_.AddFolder(L"Viewer") + L"\\PPTVIEW.EXE";
    CopyStandin(viewer);
    ASSERT_TRUE(preferences_.Store({}, viewer, 1));
    std::wstring slashed = viewer;
    std::ranges::replace(slashed, L'\\', L'/');
    standin_.Set(L"SECONDS", L"0.3");
    const std::wstring a = Deck(L"a.ppt");
    for (const std::wstring& spelled : {slashed, viewer + L"."}) {
        Start(L"/play /exit " + Quoted(SettingFile(spelled, {a})), false);
        ASSERT_EQ(WaitForExit(program_, 60s), 0u) << spelled;
    }
    const std::vector<StandinShow> shows = ReadStandinLog(log_);
    ASSERT_EQ(shows.size(), 2u);
    for (const StandinShow& show : shows) EXPECT_EQ(show.switches, L"/S /F");
}

// An object of another type under the marker's name makes taking the marker fail otherwise than
// "already exists": that means taken, not free.
TEST_F(Unattended, MarkerNameHeldByAnotherKindOfObject_PlayEndsWithThree) {
    const std::wstring marker = PlayingMarkerName();
    ASSERT_FALSE(marker.ends_with(L".")) << "the user's SID was not found";
    const UniqueKernelHandle squatter(::CreateEventW(nullptr, TRUE, FALSE, marker.c_str()));
    ASSERT_TRUE(squatter);
    standin_.Set(L"SECONDS", L"0.3");
    Start(L"/play " + Quoted(SettingFile(StandinPath(), {Deck(L"a.ppt")})), false);
    EXPECT_EQ(WaitForExit(program_, 20s), 3u);
    EXPECT_TRUE(ReadStandinLog(log_).empty());
}

// "App Paths\POWERPNT.EXE" in HKEY_LOCAL_MACHINE, as an installer writes it, removed at the end.
class AppPathsRegistration {
  public:
    AppPathsRegistration(DWORD type, const std::wstring& value) {
        HKEY key = nullptr;
        ok_ = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                &key, nullptr) == ERROR_SUCCESS;
        if (!ok_) return;
        ok_ = ::RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
              ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    ~AppPathsRegistration() { ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey); }
    bool Written() const { return ok_; }

  private:
    static constexpr wchar_t kKey[] =
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\POWERPNT.EXE";
    bool ok_ = false;
};

// PowerPoint where the system's registration says it is counts, also as "%SystemDrive%\..."; a
// registration that needs a variable of whoever started Tidewell counts for nothing.
TEST_F(Unattended, AppPathsRegistration_CountsWithTheSystemsVariablesOnly) {
    const std::wstring office = folder_.AddFolder(L"Office");
    const std::wstring powerPoint = office + L"\\POWERPNT.EXE";
    CopyStandin(powerPoint);
    ASSERT_TRUE(preferences_.Store({}, L"", 1));
    standin_.Set(L"SECONDS", L"0.3");
    const std::wstring a = Deck(L"a.ppt");
    {
        const AppPathsRegistration registered(REG_EXPAND_SZ,
                                              L"\"%SystemDrive%" + powerPoint.substr(2) + L"\"");
        ASSERT_TRUE(registered.Written());
        Start(L"/play /exit " + Quoted(SettingFile(powerPoint, {a})), false);
        EXPECT_EQ(WaitForExit(program_, 60s), 0u);
        EXPECT_EQ(ReadStandinLog(log_).size(), 1u) << "the registered PowerPoint did not play";
    }
    const ScopedEnvironment variable(L"TIDEWELL_E2E_OFFICE", office);
    const AppPathsRegistration registered(REG_EXPAND_SZ, L"%TIDEWELL_E2E_OFFICE%\\POWERPNT.EXE");
    ASSERT_TRUE(registered.Written());
    Start(L"/play " + Quoted(SettingFile(powerPoint, {a})));
    HWND box = MessageBox();
    ASSERT_NE(box, nullptr) << "a registration by the caller's variable counted";
    PressOk(box);
    CloseAndWait();
    EXPECT_EQ(ReadStandinLog(log_).size(), 1u);
}

}  // namespace
}  // namespace tidewell::e2e
