#include "playback/placement_watcher_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launch/path_check_win32.h"
#include "launch/playback_state_win32.h"
#include "launch/show_launch_win32.h"
#include "support/standin_support.h"

namespace tidewell::testing {
namespace {

// Top-level windows of this very process, so that the search can be checked without a child.
class OwnWindows {
  public:
    // Class names are atoms, matched without regard to case and spelled as first registered:
    // a class left registered here would change the name other processes' windows report.
    ~OwnWindows() {
        for (HWND w : windows_) ::DestroyWindow(w);
        for (const std::wstring& c : classes_)
            ::UnregisterClassW(c.c_str(), ::GetModuleHandleW(nullptr));
    }
    HWND Make(const wchar_t* className, bool visible, bool enabled) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        if (::RegisterClassW(&wc)) classes_.push_back(className);
        HWND w = ::CreateWindowExW(0, className, L"", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        ::SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (!enabled) ::EnableWindow(w, FALSE);
        if (visible) ::ShowWindow(w, SW_SHOWNOACTIVATE);
        windows_.push_back(w);
        return w;
    }

  private:
    std::vector<HWND> windows_;
    std::vector<std::wstring> classes_;
};

// Receives what a watcher reports, as the main window does.
class MessageOnlyWindow {
  public:
    MessageOnlyWindow()
        : window_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr)) {}
    ~MessageOnlyWindow() { ::DestroyWindow(window_); }
    HWND Handle() const { return window_; }
    // The messages posted to it so far: (message, wParam).
    std::vector<std::pair<UINT, WPARAM>> Taken() {
        std::vector<std::pair<UINT, WPARAM>> taken;
        MSG msg;
        while (::PeekMessageW(&msg, window_, WM_APP, WM_APP + 10, PM_REMOVE)) {
            taken.emplace_back(msg.message, msg.wParam);
        }
        return taken;
    }

  private:
    HWND window_;
};

TEST(FindProcessWindow, ProcessIdZero_None) {
    OwnWindows own;
    own.Make(L"pbTestPlain", true, true);
    EXPECT_EQ(FindProcessWindow(0), nullptr);
}

TEST(FindProcessWindow, HiddenOrDisabledWindows_SkippedForFirstVisibleEnabledInOrder) {
    OwnWindows own;
    const DWORD self = ::GetCurrentProcessId();
    HWND lower = own.Make(L"pbTestPlain", true, true);
    EXPECT_EQ(FindProcessWindow(self), lower);

    own.Make(L"pbTestPlain", false, true);  // hidden, on top
    own.Make(L"pbTestPlain", true, false);  // disabled, on top
    EXPECT_EQ(FindProcessWindow(self), lower);

    HWND upper = own.Make(L"pbTestPlain", true, true);
    EXPECT_EQ(FindProcessWindow(self), upper);
    EXPECT_EQ(FindProcessWindow(self + 1000000), nullptr);
}

TEST(IsSlideShowWindow, ClassNames_OnlyTheExactCaseSensitiveNameCounts) {
    // One class at a time: spellings that differ only in case cannot be registered together.
    for (const wchar_t* other :
         {L"ScreenClass", L"screenclass", L"SCREENCLASS", L"screenClas", L"screenClass2"}) {
        OwnWindows own;
        EXPECT_FALSE(IsSlideShowWindow(own.Make(other, false, true))) << other;
    }
    OwnWindows own;
    EXPECT_TRUE(IsSlideShowWindow(own.Make(L"screenClass", false, true)));
}

// Launches the stand-in through the real launch and waits for its show to end; no window of the
// program is needed for that.
class WatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A show that must be placed ends once it is, with a generous time-out for one that
        // never is; a short show instead would race the watcher's 100 ms search.
        settings_.Set(L"LOG", log_).Set(L"UNTIL_PLACED", L"1").Set(L"SECONDS", L"20");
        PlaybackState().targetLeft.store(kTargetLeft);
        PlaybackState().targetTop.store(kTargetTop);
    }

    StandinShow Play(const std::wstring& name) {
        const DWORD before = PlaybackState().currentProcessId.load();
        const UniqueKernelHandle process =
            LaunchShow(*CheckProgram(StandinPath()), *CheckPresentation(folder_.File(name)));
        const DWORD pid = PlaybackState().currentProcessId.load();
        EXPECT_NE(pid, before) << "the stand-in did not start: " << StandinPath();
        EXPECT_TRUE(process) << "the launch hands back the process it started";
        EXPECT_EQ(PlaybackState().currentProcessHandle.load(), process.get());
        const PlacementWatcher watcher(
            WatchedShow{process.get(), pid, reports_.Handle(), kPlaced, kEnded, ++tag_});
        EXPECT_EQ(::WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
        for (const StandinShow& show : ReadStandinLog(log_)) {
            if (show.pid == pid) return show;
        }
        ADD_FAILURE() << "no log line for the show";
        return {};
    }

    static constexpr UINT kPlaced = WM_APP + 1;
    static constexpr UINT kEnded = WM_APP + 2;
    MessageOnlyWindow reports_;
    WPARAM tag_ = 0;
    static constexpr int kTargetLeft = 300;
    static constexpr int kTargetTop = 200;
    TempFolder folder_;
    std::wstring log_ = folder_.File(L"shows.log");
    StandinSettings settings_;
};

TEST_F(WatcherTest, WindowStartsDisabled_PlacedOnlyOnceEnabled) {
    settings_.Set(L"DISABLED_MS", L"500");
    const StandinShow show = Play(L"disabled.ppt");
    EXPECT_EQ(show.reason, L"placed");
    EXPECT_EQ(show.placements, 1);
    EXPECT_GE(show.moved, show.ready);
    EXPECT_GE(show.ready - show.shown, 450'000);
    EXPECT_EQ(show.left, kTargetLeft);
    EXPECT_EQ(show.top, kTargetTop);
}

// The last case is the poll's alone: a change of order sends no report that the watcher listens
// for, on Windows as under Wine, so a watcher that waited for reports would never place it.
TEST_F(WatcherTest, AnotherWindowAheadOfTheShow_PlacedOnlyAfterItClosesOrFallsBehind) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"window", L"close"}, {L"messagebox", L"close"}, {L"window", L"behind"}};
    for (const auto& [first, end] : cases) {
        const std::wstring name = std::wstring(first) + L"-" + end;
        settings_.Set(L"FIRST", first).Set(L"FIRST_MS", L"500").Set(L"FIRST_END", end);
        const StandinShow show = Play(L"first-" + name + L".ppt");
        EXPECT_EQ(show.reason, L"placed") << name;
        EXPECT_EQ(show.placements, 1) << name;
        EXPECT_GE(show.moved, show.ready) << name;
        EXPECT_GE(show.ready - show.shown, 450'000) << name;
        EXPECT_EQ(show.left, kTargetLeft) << name;
        EXPECT_EQ(show.top, kTargetTop) << name;
    }
}

TEST_F(WatcherTest, WindowAlreadyAtTarget_MovedAllTheSame) {
    settings_.Set(L"POS", L"300,200");
    const StandinShow show = Play(L"already-there.ppt");
    EXPECT_EQ(show.reason, L"placed");
    EXPECT_EQ(show.placements, 1);
    EXPECT_EQ(show.left, kTargetLeft);
    EXPECT_EQ(show.top, kTargetTop);
}

// Look-alikes are never taken; the watcher of each ends with its show, and the next real show is
// placed by its own watcher alone.
TEST_F(WatcherTest, LookAlikeClasses_NeverTakenEachWatcherEndsWithItsShow) {
    for (const std::wstring cls :
         {L"ScreenClass", L"screenclass", L"screenClas", L"screenClass2"}) {
        // Never placed, so the time-out ends them.
        settings_.Set(L"SECONDS", L"0.6").Set(L"UNTIL_PLACED", L"").Set(L"CLASS", cls);
        const StandinShow show = Play(cls + L".ppt");
        EXPECT_EQ(show.placements, 0) << show.windowClass;
        EXPECT_EQ(show.left, 0) << show.windowClass;
    }
    settings_.Set(L"SECONDS", L"20").Set(L"UNTIL_PLACED", L"1").Set(L"CLASS", L"screenClass");
    const StandinShow show = Play(L"real.ppt");
    EXPECT_EQ(show.reason, L"placed");
    EXPECT_EQ(show.placements, 1);
    EXPECT_EQ(show.left, kTargetLeft);
    EXPECT_EQ(show.top, kTargetTop);
}

// A show handed to another copy is taken only from a copy of the program that was started: any
// other program's full-screen window of that class is left alone.
TEST_F(WatcherTest, HandedOffShow_OnlyAWindowOfTheStartedProgramsFile) {
    settings_.Set(L"UNTIL_PLACED", L"");
    const std::wstring other = folder_.File(L"POWERPNT.EXE");
    ASSERT_TRUE(::CopyFileW(StandinPath().c_str(), other.c_str(), FALSE));
    const std::vector<HWND> before = SlideShowWindowsOnScreen();
    const UniqueKernelHandle process =
        LaunchShow(*CheckProgram(other), *CheckPresentation(folder_.File(L"other.ppt")));
    ASSERT_TRUE(process);
    HWND window = nullptr;
    for (int i = 0; i < 2000 && !window; ++i, ::Sleep(10)) {
        for (HWND w : SlideShowWindowsOnScreen()) {
            if (std::ranges::find(before, w) == before.end()) window = w;
        }
    }
    ASSERT_NE(window, nullptr) << "the program showed no window";
    EXPECT_EQ(HandedOffSlideShow(before, StandinPath()), nullptr);
    EXPECT_EQ(HandedOffSlideShow(before, other), window);
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 10000);
}

// The run moves on by what the watcher posts: that the show was placed, then that it ended, each
// with the show's tag; a show that never appeared reports its end all the same.
TEST_F(WatcherTest, ReportsPlacedThenEndedWithTheShowsTag) {
    std::vector<std::pair<UINT, WPARAM>> taken;
    const auto ends = [&] {
        return std::ranges::count(taken, kEnded, &std::pair<UINT, WPARAM>::first);
    };
    for (const wchar_t* mode : {L"show", L"exit"}) {
        const auto endsBefore = ends();
        settings_.Set(L"MODE", mode);
        const UniqueKernelHandle process =
            LaunchShow(*CheckProgram(StandinPath()), *CheckPresentation(folder_.File(L"told.ppt")));
        ASSERT_TRUE(process);
        PlacementWatcher watcher(WatchedShow{process.get(), ::GetProcessId(process.get()),
                                             reports_.Handle(), kPlaced, kEnded, ++tag_});
        const ULONGLONG deadline = ::GetTickCount64() + 20000;
        while (ends() == endsBefore && ::GetTickCount64() < deadline) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
            const auto more = reports_.Taken();
            taken.insert(taken.end(), more.begin(), more.end());
        }
    }
    EXPECT_EQ(taken, (std::vector<std::pair<UINT, WPARAM>>{
                         {kPlaced, tag_ - 1}, {kEnded, tag_ - 1}, {kEnded, tag_}}));
}

// A watcher placing a window of this very process: the move is sent to this thread, so the wait
// keeps its messages flowing. True once the window's corner is at the target.
bool WaitUntilPlaced(HWND window, int left, int top) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        RECT r{};
        ::GetWindowRect(window, &r);
        if (r.left == left && r.top == top) return true;
        if (::GetTickCount64() > deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Watchers started by hand for windows of this process, as a launch starts them.
class WatcherOwnWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PlaybackState().targetLeft.store(kLeft);
        PlaybackState().targetTop.store(kTop);
        PlaybackState().currentProcessId.store(::GetCurrentProcessId());
    }
    // A watcher still searching must not take windows of later tests.
    void TearDown() override { PlaybackState().currentProcessId.store(0); }

    static constexpr int kLeft = 320;
    static constexpr int kTop = 240;
    OwnWindows own_;
};

// No report of its creation or showing can come: it happened before the watcher's reports began.
TEST_F(WatcherOwnWindowsTest, ShowWindowBeforeTheWatcherStarts_Placed) {
    HWND show = own_.Make(L"screenClass", true, true);
    const PlacementWatcher watcher(
        WatchedShow{::GetCurrentProcess(), ::GetCurrentProcessId(), nullptr, 0, 0, 0});
    EXPECT_TRUE(WaitUntilPlaced(show, kLeft, kTop));
}

}  // namespace
}  // namespace tidewell::testing
