#pragma once
// The play run: the queued presentations shown one after the other while the main window is
// hidden. It moves from state to state on messages to the main window (a show placed, a show
// ended, a stop, a timer, the session's end) instead of waiting in a loop of its own, so that any
// modal loop (the icon's menu, a message box, a dialog) keeps it going.
#include <windows.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"
#include "playback/backdrop_win32.h"
#include "playback/checked_paths.h"
#include "playback/placement_watcher_win32.h"
#include "playback/play_log.h"
#include "playback/run_icon_win32.h"
#include "playback/run_progress.h"

namespace tidewell {

// Messages and timers of the run on the main window; the window hands them to the run.
inline constexpr UINT kShowPlacedMessage = WM_APP + 40;
inline constexpr UINT kShowEndedMessage = WM_APP + 41;
inline constexpr UINT kRunErrorMessage = WM_APP + 42;
enum RunTimer : UINT_PTR {
    kShowTimeoutTimer = 0x7101,  // the show's window did not appear in time
    kCloseGraceTimer,            // the show was asked to close and has not ended
    kPassRestTimer,              // the rest between passes is over
    kEndPollTimer,               // a show without a watcher: is its process still running?
    kStopNowTimer,               // a show stopped "now" is asked again until it has ended
};

struct RunOptions {
    // After the last entry the run starts again from the top, until it is stopped.
    bool loop = false;
    // Started from the command line, with nobody at the desk: a presentation that is missing when
    // its turn comes is skipped, and a show whose window has not appeared after
    // `showTimeoutSeconds` (0: no limit) is asked to close.
    bool unattended = false;
    int showTimeoutSeconds = 120;
    // Called once the run has ended and the window is back (not when the window is going).
    std::function<void()> onEnded;
    // Told every event of the run (the play log); false when it could not be written down, which
    // the icon's tip then says once. None: nothing is told.
    std::function<bool(const RunEventRecord&)> report;
    // Asked before every pass after the first: the presentations that the next pass plays when
    // they changed (a setting file rewritten meanwhile), or none to keep the current ones.
    std::function<std::optional<std::vector<std::wstring>>()> entriesForNextPass;
};

// Starts the watcher of a launched show; throws when it cannot. Tests give their own.
using WatcherStarter = std::function<std::unique_ptr<PlacementWatcher>(WatchedShow)>;
std::unique_ptr<PlacementWatcher> StartPlacementWatcher(WatchedShow show);

enum class RunPhase {
    Showing,    // a show's program runs, or the window it handed the show to is on screen
    Closing,    // its window did not appear in time: it was asked to close and may still end
    Resting,    // between two passes in which no show lasted
    Held,       // the session may end: nothing starts until that is known
    Finishing,  // stopped "now": the window is back, the show is asked to close until it ends
    Over,
};

struct AimedMonitor {
    int number = 0;
    RECT bounds{};
};

// What the run needs of its surroundings.
struct RunSetup {
    HWND window = nullptr;
    HICON icon = nullptr;  // the notification icon's picture; no icon without one
    Dialogs* dialogs = nullptr;
    WatcherStarter startWatcher;
    // Writes the chosen monitor's corner into the shared playback state before each launch, so a
    // monitor that appeared during a show is used from the next show on; gives that monitor's
    // number and rectangle, or none when it is gone.
    std::function<std::optional<AimedMonitor>()> aimAtMonitor;
};

class PlayRun {
  public:
    PlayRun(RunSetup setup, std::vector<std::wstring> queue, CheckedProgram program,
            RunOptions options);
    ~PlayRun();
    PlayRun(const PlayRun&) = delete;
    PlayRun& operator=(const PlayRun&) = delete;

    // Hides the window, aims at the chosen monitor (the shared playback state is written before
    // anything is launched) and starts the first show, or ends at once when nothing can start.
    void Begin();
    // A message or timer of the run: true when it was one.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // No entry follows the current one; "now" also asks the current show to end (again, if its
    // window appears later) and brings the window back at once. False when nothing plays.
    bool Stop(StopWhen when);
    void HoldLaunches(bool hold);
    // The window is going: nothing more starts, no show is asked anything, the window is left.
    void EndForGood();

    RunPhase Phase() const { return phase_; }
    // A show plays or is to follow: a stop has something to stop.
    bool Playing() const { return phase_ != RunPhase::Over && phase_ != RunPhase::Finishing; }

  private:
    struct Show {
        std::wstring path;
        UniqueKernelHandle process;
        DWORD processId = 0;
        HWND window = nullptr;  // once placed
        ULONGLONG launched = 0;
    };

    void LaunchNext();
    bool Launch(std::size_t index);
    void TakeEntriesForNextPass();
    void OnShowPlaced(HWND window);
    void OnShowEnded(DWORD exitCode);
    void Report(RunEvent event, std::wstring path = {}, std::wstring detail = {});
    void OnTimer(UINT_PTR timer);
    void AskShowToClose();
    void LetShowGo();
    void Finish();
    void BringWindowBack();
    void KillTimers();

    RunSetup setup_;
    std::vector<std::wstring> queue_;
    CheckedProgram program_;
    RunOptions options_;
    RunProgress progress_;
    PassPacing pacing_;
    RunPhase phase_ = RunPhase::Showing;
    bool held_ = false;
    bool windowGoing_ = false;
    bool windowHidden_ = false;
    std::optional<std::size_t> restingBefore_;  // the entry that starts the pass after a rest
    std::optional<Show> show_;
    std::unique_ptr<PlacementWatcher> watcher_;
    WPARAM showTag_ = 0;
    std::optional<RunIcon> icon_;
    Backdrop backdrop_;
    int monitorNumber_ = 0;  // of the last launch
    bool reportFailureShown_ = false;
    std::exception_ptr placementFailure_;
};

}  // namespace tidewell
