#pragma once
// The placement watcher: one thread per launched show that finds the show's window, moves it onto
// the chosen monitor, and tells the run (by posting to its window) the facts: the window was
// placed, the process ended. What they mean (a hand-off, a show that lasted) the run decides. It
// ends with its show's process, or when the run lets the show go. It reads the shared playback
// state and touches only the other process's windows.
//
// A thread rather than a wait registration and a hook on the window's thread: the search for a
// window shown while hidden (Wine reports no showing) needs checks every few milliseconds, which
// the window's timers cannot give.
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

// A slide-show window that another process showed for a launch: visible, enabled, not one of
// `before`, not one of this process, and of a process that runs `program` (a full path), the
// program that was started; nullptr when there is none.
HWND HandedOffSlideShow(const std::vector<HWND>& before, const std::wstring& program);

// Moves the show window's corner to the chosen monitor's (the shared playback state). `wait`:
// false does not wait for the other program to take the move, which the window's thread needs.
void PlaceShowWindow(HWND show, bool wait = true);

// What a watcher follows, and whom it tells.
struct WatchedShow {
    HANDLE process = nullptr;  // the launched process; the watcher keeps a handle of its own
    DWORD processId = 0;
    HWND notify = nullptr;
    UINT placedMessage = 0;  // wParam: `tag`; lParam: the window moved
    UINT endedMessage = 0;   // wParam: `tag`; lParam: the process's exit code (time: EndedAt)
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

    // When the process ended (GetTickCount64), once the ended message has been posted.
    ULONGLONG EndedAt() const;
    // The show was asked to close: a window it shows from now on is reported but left where it
    // is, never moved over the show that plays next.
    void StopPlacing();

  private:
    struct Shared;
    static DWORD WINAPI Run(LPVOID shared);
    std::shared_ptr<Shared> shared_;
    UniqueKernelHandle thread_;
};

}  // namespace tidewell
