#pragma once
// The playback commands: choosing the presentation program, and the play run that shows the
// queued presentations one after the other on the chosen monitor while the window stays hidden.
// They see the window through the playlist's rows, the program field, the Monitor selector and
// the dialog seam.
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"
#include "common/window_fields.h"
#include "playback/monitors_win32.h"
#include "playback/placement_watcher_win32.h"
#include "playback/playing_marker_win32.h"
#include "playback/play_queue.h"
#include "playback/run_icon_win32.h"
#include "playback/run_progress.h"
#include "playlist/playlist_rows.h"

namespace tidewell {

// Starts the placement watcher of the show just launched; throws when it cannot.
using PlacementStarter = std::function<void()>;

struct RunOptions {
    // After the last entry the run starts again from the top, until it is stopped.
    bool loop = false;
};

class PlayCommands {
  public:
    // `runIcon` (not owned) is shown in the notification area while a run plays; none without.
    PlayCommands(HWND window, Dialogs& dialogs, const PlaylistRows& playlist, ProgramField& program,
                 const MonitorSelector& monitor, const std::vector<MonitorEntry>& monitors,
                 PlacementStarter startPlacement = StartPlacementWatcher, HICON runIcon = nullptr);
    PlayCommands(const PlayCommands&) = delete;
    PlayCommands& operator=(const PlayCommands&) = delete;

    // The button beside the program field: the program chosen in the dialog goes into the field.
    // False when the dialog was cancelled.
    bool ChooseProgram();
    // Checks what a run needs (a program, entries, a monitor of the right size) and shows the
    // first failed check's message; otherwise queues the entries and runs them. True when the
    // checks passed and the run has ended.
    bool Play(PlaySender sender, RunOptions options = {});

    // Stopping a run from its icon or from another process: no entry follows the current one;
    // "now" also asks the current show to end and brings the window back at once. The playlist,
    // the settings and the show's process are left as they are. False when no run plays.
    bool Stop(StopWhen when);
    // The end of the Windows session may come: nothing is started until it is known.
    void HoldLaunches(bool hold) { launchesHeld_ = hold; }
    // The window is going (closed, or the session ends): a run starts nothing more, leaves its
    // wait at once and no longer touches the window.
    void EndForGood() { ended_ = true; }

    // What the last run that passed its checks worked through, and with which program.
    std::vector<std::wstring> PlayQueue;
    std::wstring RunProgramPath;

  private:
    struct ActiveRun;
    void RunPlayQueue(RunOptions options);
    std::optional<std::size_t> NextLaunch(ActiveRun& run);

    HWND window_;
    Dialogs& dialogs_;
    const PlaylistRows& playlist_;
    ProgramField& program_;
    const MonitorSelector& monitor_;
    const std::vector<MonitorEntry>& monitors_;
    PlacementStarter startPlacement_;
    FileDialog TntOpenDialog2;
    HICON runIcon_;
    ActiveRun* run_ = nullptr;
    std::optional<PlayingMarker> playing_;  // while a run plays
    bool launchesHeld_ = false;
    bool ended_ = false;
};

struct LaunchedShow {
    // Empty when the program could not be started (which is not reported: a run goes on with its
    // next entry).
    UniqueKernelHandle process;
    // Why the show's window will not be placed, when its watcher could not be started; the show
    // runs all the same.
    std::exception_ptr placementFailure;
};

// Starts one show of the presentation program and its placement watcher.
LaunchedShow LaunchPresentation(const std::wstring& commandLine,
                                const PlacementStarter& startPlacement = StartPlacementWatcher);

}  // namespace tidewell
