// The play run: each queued presentation is shown by its own process of the presentation
// program, one after the other, while the main window stays hidden.
#include <exception>
#include <vector>

#include "playback/placement_watcher_win32.h"
#include "playback/play_commands_win32.h"
#include "playback/playback_state_win32.h"
#include "playback/show_wait_win32.h"
#include "playback/switch_set.h"

namespace tidewell {
namespace {

// Brings the window back however the run ends, an error included.
class HiddenWhileRunning {
  public:
    explicit HiddenWhileRunning(HWND window) : window_(window) { ::ShowWindow(window_, SW_HIDE); }
    ~HiddenWhileRunning() {
        ::ShowWindow(window_, SW_SHOW);
        ::SetForegroundWindow(window_);
        ::BringWindowToTop(window_);
    }
    HiddenWhileRunning(const HiddenWhileRunning&) = delete;
    HiddenWhileRunning& operator=(const HiddenWhileRunning&) = delete;

  private:
    HWND window_;
};

}  // namespace

void PlayCommands::RunPlayQueue() {
    const std::wstring_view switchSet = ChooseSwitchSet(RunProgramPath);
    // A show whose window cannot be placed still plays, and the run goes on; the first such
    // failure is shown once the window is back rather than ending the run with a show on screen.
    std::exception_ptr placementFailure;
    {
        HiddenWhileRunning hidden(window_);
        // The count is taken once; the queue is not expected to change while messages are
        // dispatched during the waits, but a change must not make the run read past its end.
        const std::size_t count = PlayQueue.size();
        for (std::size_t i = 0; i < count && i < PlayQueue.size(); ++i) {
            // The run holds the handle until the show has ended, so that nothing dispatched
            // during the wait can close it. A failed launch leaves nothing to wait for: the run
            // goes straight on, whatever an earlier entry left in the shared state.
            const LaunchedShow show = LaunchPresentation(
                BuildCommandLine(RunProgramPath, switchSet, PlayQueue[i]), startPlacement_);
            if (!placementFailure) placementFailure = show.placementFailure;
            if (show.process) WaitForShowToEnd(show.process.get());
        }
    }
    if (placementFailure) std::rethrow_exception(placementFailure);
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
