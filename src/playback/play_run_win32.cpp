// The play run: each queued presentation is shown by its own process of the presentation
// program, one after the other, while the main window stays hidden.
#include <exception>
#include <vector>

#include "playback/placement_watcher_win32.h"
#include "playback/play_commands_win32.h"
#include "playback/playback_state_win32.h"
#include "playback/show_wait_win32.h"
#include "playback/stop_request_win32.h"
#include "playback/switch_set.h"

namespace tidewell {
namespace {

// Brings the window back however the run ends, an error included; but never a window that is
// going (closed during the run, or the session ended), which nothing may touch any more.
class HiddenWhileRunning {
  public:
    HiddenWhileRunning(HWND window, const bool& windowGoing)
        : window_(window), windowGoing_(windowGoing) {
        ::ShowWindow(window_, SW_HIDE);
    }
    ~HiddenWhileRunning() {
        if (windowGoing_ || !::IsWindow(window_)) return;
        ::ShowWindow(window_, SW_SHOW);
        ::SetForegroundWindow(window_);
        ::BringWindowToTop(window_);
    }
    HiddenWhileRunning(const HiddenWhileRunning&) = delete;
    HiddenWhileRunning& operator=(const HiddenWhileRunning&) = delete;

  private:
    HWND window_;
    const bool& windowGoing_;
};

}  // namespace

// What a stop asked for during the run's waits has to reach.
struct PlayCommands::ActiveRun {
    RunProgress progress;
    DWORD showProcessId = 0;  // the show playing now; 0 between shows
    bool leaveWait = false;
    bool quitting = false;  // the program is ending
};

void PlayCommands::RunPlayQueue(RunOptions options) {
    const std::wstring_view switchSet = ChooseSwitchSet(RunProgramPath);
    // A show whose window cannot be placed still plays, and the run goes on; the first such
    // failure is shown once the window is back rather than ending the run with a show on screen.
    std::exception_ptr placementFailure;
    {
        HiddenWhileRunning hidden(window_, ended_);
        // The count is taken once; the queue is not expected to change while messages are
        // dispatched during the waits, but a change must not make the run read past its end.
        ActiveRun run{RunProgress(PlayQueue.size(), options.loop)};
        run_ = &run;
        struct Forget {
            ActiveRun*& active;
            ~Forget() { active = nullptr; }
        } forget{run_};
        std::optional<RunIcon> icon;
        if (runIcon_) icon.emplace(dialogs_, runIcon_, [this](StopWhen when) { Stop(when); });

        while (const auto index = NextLaunch(run)) {
            const std::wstring& entry = PlayQueue[*index];
            if (icon) icon->ShowProgress(run.progress.Position(), run.progress.Count(), entry);
            // The run holds the handle until the show has ended, so that nothing dispatched
            // during the wait can close it. A failed launch leaves nothing to wait for: the run
            // goes straight on, whatever an earlier entry left in the shared state.
            const LaunchedShow show = LaunchPresentation(
                BuildCommandLine(RunProgramPath, switchSet, entry), startPlacement_);
            if (!placementFailure) placementFailure = show.placementFailure;
            if (!show.process) continue;
            run.progress.ShowStarted();
            run.showProcessId = ::GetProcessId(show.process.get());
            run.leaveWait = false;
            run.quitting =
                !WaitForShowToEnd(show.process.get(), [&] { return run.leaveWait || ended_; });
            run.showProcessId = 0;
        }
    }
    // A window that is going has no one to show the error to.
    if (placementFailure && !ended_) std::rethrow_exception(placementFailure);
}

std::optional<std::size_t> PlayCommands::NextLaunch(ActiveRun& run) {
    // While the session may end, wait to hear whether it does before starting anything.
    if (launchesHeld_ && !ended_ && !run.quitting) {
        run.quitting = !WaitForShowToEnd(nullptr, [this] { return !launchesHeld_ || ended_; });
    }
    if (ended_ || run.quitting) return std::nullopt;
    const auto index = run.progress.NextEntry();
    if (!index || *index >= PlayQueue.size()) return std::nullopt;
    return index;
}

bool PlayCommands::Stop(StopWhen when) {
    if (!run_) return false;
    run_->progress.Stop();
    if (when == StopWhen::Now) {
        AskShowToEnd(run_->showProcessId);
        run_->leaveWait = true;
    }
    return true;
}

LaunchedShow LaunchPresentation(const std::wstring& commandLine,
                                const PlacementStarter& startPlacement) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &created)) {
        return {};
    }
    const UniqueKernelHandle thread(created.hThread);
    LaunchedShow show{UniqueKernelHandle(created.hProcess), {}};

    SharedPlaybackState& state = PlaybackState();
    state.currentProcessId.store(created.dwProcessId);
    try {
        startPlacement();
    } catch (...) {
        show.placementFailure = std::current_exception();
    }
    state.currentProcessHandle.store(created.hProcess);
    return show;
}

}  // namespace tidewell
