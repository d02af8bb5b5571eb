#pragma once
// The playback commands: choosing the presentation program, and the play run that shows the
// queued presentations one after the other on the chosen monitor while the window stays hidden.
// They see the window through the playlist's rows, the program field, the Monitor selector and
// the dialog seam.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"
#include "common/window_fields.h"
#include "launch/checked_paths.h"
#include "playback/keep_awake_win32.h"
#include "playback/monitors_win32.h"
#include "playback/play_checks.h"
#include "playback/playing_marker_win32.h"
#include "playback/monitor_numbers_win32.h"
#include "run/play_queue.h"
#include "playback/play_run_win32.h"
#include "playlist/playlist_rows.h"

namespace tidewell {

// What the one who presses "Play" adds to the checks: a last word on the program, given the very
// program that the run will start (which the user may be asked about). None: no question.
using ProgramApproval = std::function<bool(const CheckedProgram&)>;

class PlayCommands {
  public:
    // `runIcon` (not owned) is shown in the notification area while a run plays; none without.
    PlayCommands(HWND window, Dialogs& dialogs, const PlaylistRows& playlist, ProgramField& program,
                 const MonitorSelector& monitor, const std::vector<MonitorEntry>& monitors,
                 WatcherStarter startWatcher = StartPlacementWatcher, HICON runIcon = nullptr,
                 RunTimings timings = RunTimingsOfProcess(),
                 ExecutionStateSetter setExecutionState = ::SetThreadExecutionState);
    PlayCommands(const PlayCommands&) = delete;
    PlayCommands& operator=(const PlayCommands&) = delete;

    // The button beside the program field: the program chosen in the dialog goes into the field.
    // False when the dialog was cancelled.
    bool ChooseProgram();
    // Takes the playing marker (or the one held for the start) and checks what a run needs (a
    // program, entries, a monitor of the right size), showing the first failed check's message;
    // otherwise, once `approve` agrees, queues the entries and starts the run, which goes on
    // through the window's messages and holds the marker until it ends. True when it has started.
    bool Play(PlaySender sender, RunOptions options = {}, const ProgramApproval& approve = {});
    // What Play would check, gathered now, with the program's existence as a worker found it; for
    // a start that waits until the checks pass (`unattended`: it waits for a remembered monitor).
    PlayCheckInput GatherChecks(bool programExists, bool unattended = true) const;

    // Which monitor each number means now; the checks and the runs look it up there.
    MonitorNumbers& Monitors() { return numbers_; }
    // A start with "/play" took the marker before its window appeared; it is held while the start
    // waits, and the next Play takes it over. Let go when the start gives up.
    void HoldPlayingMarker(PlayingMarker marker) { playing_ = std::move(marker); }
    void LetPlayingMarkerGo() {
        if (!IsPlaying()) playing_.reset();
    }

    // The run's messages and timers, which the window hands on; true when it was one.
    bool HandleRunMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The monitor list was read again: a run follows its monitor, or waits for it.
    void DisplayChanged();

    // Stopping a run from its icon or from another process: no entry follows the current one;
    // "now" also asks the current show to end and brings the window back at once. The playlist,
    // the settings and the show's process are left as they are. False when no run plays.
    bool Stop(StopWhen when);
    bool IsPlaying() const { return run_ && run_->Playing(); }
    // The end of the Windows session may come: nothing is started until it is known.
    void HoldLaunches(bool hold);
    // The window is going (closed, or the session ends): a run starts nothing more, lets its
    // show go and no longer touches the window.
    void EndForGood();

    // What the last run that passed its checks worked through, and with which program.
    std::vector<PlaylistEntry> PlayQueue;
    std::wstring RunProgramPath;

  private:
    std::optional<AimedMonitor> AimAtMonitor(int number, bool unattended);

    HWND window_;
    Dialogs& dialogs_;
    const PlaylistRows& playlist_;
    ProgramField& program_;
    const MonitorSelector& monitor_;
    MonitorNumbers numbers_;
    WatcherStarter startWatcher_;
    FileDialog TntOpenDialog2;
    HICON runIcon_;
    RunTimings timings_;
    std::optional<PlayingMarker> playing_;  // while a run plays, or a start waits for one
    bool launchesHeld_ = false;
    KeepAwake awake_;
    // One for the window's runs: a run's wait for its time sets it, and any other state cancels.
    std::shared_ptr<WakeTimer> wakeTimer_ = std::make_shared<WaitableWakeTimer>();
    std::unique_ptr<PlayRun> run_;
};

}  // namespace tidewell
