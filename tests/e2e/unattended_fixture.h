#pragma once
// The fixture of the end-to-end tests of shows with nobody at the desk: the built program started
// with options, playing the stand-in on the second of two monitors, with preferences and a log of
// the tests' own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ranges>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "unattended_support.h"
#include "win32/support/standin_support.h"
#include "win32/support/test_presentations.h"

namespace tidewell::e2e {

using namespace std::chrono_literals;
using testing::ReadStandinLog;
using testing::StandinPath;
using testing::StandinSettings;
using testing::StandinShow;
using testing::TempFolder;

inline std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// The play log's lines, split into their tab-separated columns.
inline std::vector<std::vector<std::string>> ReadPlayLog(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::vector<std::vector<std::string>> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto& columns = lines.emplace_back();
        for (const auto column : std::views::split(line, '\t')) {
            columns.emplace_back(column.begin(), column.end());
        }
    }
    return lines;
}

// How many lines of the play log tell of this event ("stop", "waiting").
inline std::ptrdiff_t PlayLogEvents(const std::wstring& path, std::string_view event) {
    return std::ranges::count_if(
        ReadPlayLog(path), [&](const auto& line) { return line.size() > 1 && line[1] == event; });
}

// The details of the play log's lines of this event, in order.
inline std::vector<std::string> PlayLogDetails(const std::wstring& path, std::string_view event) {
    std::vector<std::string> details;
    for (const auto& line : ReadPlayLog(path)) {
        if (line.size() > 4 && line[1] == event) details.push_back(line[4]);
    }
    return details;
}

// A show of `deck` has started since the line `after` of the play log, with its start's detail
// holding `detail` (being `detail`, with `exact`).
inline bool ShowStartLogged(const std::wstring& playLog, const std::string& deck,
                            const std::string& detail, std::size_t after, bool exact = false) {
    return WaitUntil(
        [&] {
            const auto lines = ReadPlayLog(playLog);
            for (std::size_t i = after; i < lines.size(); ++i) {
                const auto& l = lines[i];
                if (l.size() == 5 && l[1] == "show-start" && l[3].ends_with(deck) &&
                    (exact ? l[4] == detail : l[4].find(detail) != std::string::npos)) {
                    return true;
                }
            }
            return false;
        },
        std::chrono::seconds(60));
}

// Monitor 2 of the two.
inline RECT SecondMonitor() {
    return MonitorRects().back();
}

class Unattended : public ::testing::Test {
  protected:
    // The user chose the stand-in in Tidewell before; every show is logged.
    void SetUp() override {
        ASSERT_TRUE(preferences_.Store({}, StandinPath(), 1));
        standin_.Set(L"LOG", log_);
    }

    void TearDown() override {
        FollowShowsOf(0);
        if (main_ && ::IsWindow(main_)) ::PostMessageW(main_, WM_CLOSE, 0, 0);
        if (program_.info.hProcess) WaitForExit(program_, 10s);
        // A show this test's run left running (the test failed half-way, say) must not stay on
        // screen into the next test, where it would be taken for a show that never ended.
        const std::vector<DWORD> started = program_.info.dwProcessId
                                               ? ProcessesStartedBy(program_.info.dwProcessId)
                                               : std::vector<DWORD>{};
        program_.Kill();
        for (const DWORD left : started) {
            const UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, left));
            if (process) ::TerminateProcess(process.get(), 1);
        }
    }

    // Starts tidewell.exe; with `waitForWindow`, until its main window has been shown. A start
    // with "/play" hides it again as soon as its run begins, which a poll can miss: the run's
    // icon then says that it was shown.
    void Start(const std::wstring& arguments, bool waitForWindow = true) {
        ASSERT_TRUE(StartProgram(ExecutableFolder() + L"\\tidewell.exe", arguments, program_));
        // An earlier test's show left on screen is never taken for one of this run's.
        FollowShowsOf(program_.info.dwProcessId);
        if (!waitForWindow) return;
        const DWORD pid = program_.info.dwProcessId;
        const bool shown = WaitUntil(
            [&] {
                main_ = WaitForWindow(pid, L"TForm1", 0s, false);
                return main_ && (::IsWindowVisible(main_) ||
                                 WaitForWindow(pid, L"TidewellRunIcon", 0s, false));
            },
            20s);
        if (!shown) main_ = nullptr;
        ASSERT_NE(main_, nullptr) << "no main window appeared";
    }

    // A setting file for monitor 2, played by `program`, with these presentations.
    std::wstring SettingFile(const std::wstring& program, const std::vector<std::wstring>& shows,
                             const std::wstring& name = L"Lobby.ppsv") {
        std::vector<std::wstring> lines = {L"2", program};
        lines.insert(lines.end(), shows.begin(), shows.end());
        const std::wstring path = folder_.File(name);
        WriteSettingFile(path, lines);
        return path;
    }

    // A whole presentation of that name in the test's folder: what the runs hand over is checked.
    std::wstring Deck(const std::wstring& name) const { return testing::PutDeck(folder_, name); }

    HWND MessageBox() {
        HWND box = WaitForMessageBox(program_.info.dwProcessId, 20s);
        EXPECT_NE(box, nullptr) << "no message box appeared";
        if (box) {
            EXPECT_EQ(WindowCaption(box), L"Tidewell");
        }
        return box;
    }

    // Presses OK on a message of the program and waits until its window has done all that OK
    // leads to (a run would have hidden it and started its program by then).
    void PressOkAndWait(HWND box) {
        PressOk(box);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 20s)) << "OK left the message";
        ASSERT_TRUE(::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr));
    }

    bool MainWindowShown(std::chrono::milliseconds timeout = 60s) {
        return WaitUntil([&] { return ::IsWindowVisible(main_) != FALSE; }, timeout);
    }

    // The playlist holds this many rows: what the command line asked has been done (the window
    // shows before its start options are worked through).
    bool WaitForRows(int count, std::chrono::milliseconds timeout = 20s) {
        const HWND list = ::FindWindowExW(main_, nullptr, L"SysListView32", nullptr);
        return list &&
               WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == count; },
                         timeout);
    }

    bool WaitForShows(std::size_t count, std::chrono::milliseconds timeout = 60s) {
        return WaitUntil([&] { return ReadStandinLog(log_).size() >= count; }, timeout);
    }

    // The show window once it has been moved to monitor 2, off the notification area's corner of
    // monitor 1 (a click that lands on the show ends it).
    static HWND WaitForPlacedShow() {
        const HWND show = WaitForShowWindow();
        const LONG left = SecondMonitor().left;
        const bool placed = show && WaitUntil(
                                        [&] {
                                            RECT r{};
                                            ::GetWindowRect(show, &r);
                                            return r.left == left;
                                        },
                                        10s);
        return placed ? show : nullptr;
    }

    // Right-clicks the run's icon and clicks an item of its menu, once the show is on monitor 2.
    // A click that the notification area takes while it is still settling is given again.
    void ChooseFromRunIcon(int item) {
        ASSERT_NE(WaitForPlacedShow(), nullptr) << "no show started on monitor 2";
        ASSERT_TRUE(WaitUntil(NotificationAreaShown, 10s)) << "no icon in the notification area";
        HWND menu = nullptr;
        for (int attempt = 0; attempt < 5 && !menu; ++attempt) {
            ASSERT_TRUE(RightClickFirstNotificationIcon());
            menu = WaitForPopupMenu(program_.info.dwProcessId, 2s);
        }
        ASSERT_NE(menu, nullptr) << "the icon showed no menu";
        ClickMenuItem(menu, item, 2);
    }

    // After "stop now": the window is back and the one show that played was asked to close.
    void ExpectOneShowClosedAndWindowBack() {
        ASSERT_TRUE(MainWindowShown(20s)) << "the main window did not come back";
        ASSERT_TRUE(WaitForShows(1));
        const std::vector<StandinShow> shows = ReadStandinLog(log_);
        ASSERT_EQ(shows.size(), 1u) << "a show started after the stop";
        EXPECT_EQ(shows[0].reason, L"close");
    }

    // Closes the main window as another program asks it to, and waits for the process to end.
    void CloseAndWait() {
        ::PostMessageW(main_, WM_CLOSE, 0, 0);
        ASSERT_EQ(WaitForExit(program_, 20s), 0u) << "the program did not end after the close";
    }

    TempFolder folder_;
    // Each test starts with no local copies: what one test copied never plays in another.
    TempFolder copies_{L"tidewell-e2e-copies"};
    ScopedEnvironment copiesFolder_{L"TIDEWELL_COPIES_FOLDER", copies_.Path()};
    TestPreferences preferences_;
    std::wstring log_ = folder_.File(L"shows.log");
    StandinSettings standin_;
    RunningProgram program_;
    HWND main_ = nullptr;
};

// Ends the stand-in's newest open show each time the test says so.
struct ShowEnder : StandinEvent {
    explicit ShowEnder(StandinSettings& standin) : StandinEvent(standin, L"END_EVENT") {}
    void EndShow() { Set(); }
};

// A visible slide-show window whose corner is at the monitor's, other than `except`.
inline HWND WaitForShowOn(const RECT& monitor, HWND except = nullptr,
                          std::chrono::milliseconds timeout = 30s) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = nullptr;
            for (HWND w = ::FindWindowW(L"screenClass", nullptr); w && !found;
                 w = ::FindWindowExW(nullptr, w, L"screenClass", nullptr)) {
                RECT r{};
                ::GetWindowRect(w, &r);
                if (w != except && ::IsWindowVisible(w) && r.left == monitor.left &&
                    r.top == monitor.top && IsFollowedShow(w)) {
                    found = w;
                }
            }
            return found != nullptr;
        },
        timeout);
    if (!found) {
        std::fprintf(stderr, "No show at %ld,%ld after %lld ms. What there is:\n%s", monitor.left,
                     monitor.top, static_cast<long long>(timeout.count()),
                     DescribeShows(L"standin.exe").c_str());
    }
    return found;
}

// Ends the Windows session as shutting down does: every program of the session is asked, told,
// and then ended. This test process has no window and is left alone.
inline void EndWindowsSession() {
    RunningProgram wineboot;
    const bool started =
        StartProgram(L"C:\\windows\\system32\\wineboot.exe", L"--end-session --shutdown", wineboot);
    const DWORD error = ::GetLastError();
    ASSERT_TRUE(started) << "wineboot did not start: error " << error;
    ASSERT_TRUE(WaitForExit(wineboot, 60s)) << "wineboot did not end the session";
}

// Runs whose shows end when the test says so, never after a set time.
class EndedByTheTest : public Unattended {
  protected:
    ShowEnder ender_{standin_};
};

}  // namespace tidewell::e2e
