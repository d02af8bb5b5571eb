#pragma once
// The playback commands: choosing the presentation program, and the play run that shows the
// queued presentations one after the other on the chosen monitor while the window stays hidden.
// They see the window through the playlist's rows, the program field, the Monitor selector and
// the dialog seam.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"
#include "common/window_fields.h"
#include "playback/monitors_win32.h"
#include "playback/placement_watcher_win32.h"
#include "playback/play_queue.h"
#include "playlist/playlist_rows.h"

namespace tidewell {

// Starts the placement watcher of the show just launched; throws when it cannot.
using PlacementStarter = std::function<void()>;

class PlayCommands {
  public:
    PlayCommands(HWND window, Dialogs& dialogs, const PlaylistRows& playlist, ProgramField& program,
                 const MonitorSelector& monitor, const std::vector<MonitorEntry>& monitors,
                 PlacementStarter startPlacement = StartPlacementWatcher);
    PlayCommands(const PlayCommands&) = delete;
    PlayCommands& operator=(const PlayCommands&) = delete;

    // The button beside the program field: the program chosen in the dialog goes into the field.
    void ChooseProgram();
    // Checks what a run needs (a program, entries, a monitor of the right size) and shows the
    // first failed check's message; otherwise queues the entries and runs them.
    void Play(PlaySender sender);

    // What the last run that passed its checks worked through, and with which program.
    std::vector<std::wstring> PlayQueue;
    std::wstring RunProgramPath;

  private:
    void RunPlayQueue();

    HWND window_;
    Dialogs& dialogs_;
    const PlaylistRows& playlist_;
    ProgramField& program_;
    const MonitorSelector& monitor_;
    const std::vector<MonitorEntry>& monitors_;
    PlacementStarter startPlacement_;
    FileDialog TntOpenDialog2;
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
