#pragma once
// The placement watcher: one thread per launched show that finds the show's window, moves it onto
// the chosen monitor, and tells the run (by posting to its window) when the show was placed and
// when it ended. It ends with its show, or when the run lets the show go, so a run has at most one.
// It reads the shared playback state and touches only the other process's windows.
#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell {

// The first top-level window, in EnumWindows order, that belongs to the process and is visible
// and enabled; nullptr when there is none or processId is 0.
HWND FindProcessWindow(DWORD processId);

// True when the window's class name (read as ANSI) is exactly "screenClass".
bool IsSlideShowWindow(HWND window);

// The visible slide-show windows of every process, as the run sees them before a launch.
std::vector<HWND> SlideShowWindowsOnScreen();

// What a watcher follows, and whom it tells.
struct WatchedShow {
    HANDLE process = nullptr;  // the launched process; the watcher keeps a handle of its own
    DWORD processId = 0;
    // Slide-show windows that were on screen before the launch: never taken for this show.
    std::vector<HWND> slideShowsBefore;
    HWND notify = nullptr;
    UINT placedMessage = 0;  // wParam: `tag`; lParam: the window moved
    UINT endedMessage = 0;   // wParam: `tag`; lParam: the process's exit code
    WPARAM tag = 0;
};

class PlacementWatcher {
  public:
    // Starts the thread; throws AppError when it cannot.
    explicit PlacementWatcher(WatchedShow show);
    // Lets the show go: the thread ends without another message, and is gone on return.
    ~PlacementWatcher();
    PlacementWatcher(const PlacementWatcher&) = delete;
    PlacementWatcher& operator=(const PlacementWatcher&) = delete;

    // The show was asked to close: when its process ends, that is the show's end, and no window
    // of another copy is looked for.
    void ExpectNoHandOff();

  private:
    struct Shared;
    static DWORD WINAPI Run(LPVOID shared);
    std::shared_ptr<Shared> shared_;
    UniqueKernelHandle thread_;
};

}  // namespace tidewell
