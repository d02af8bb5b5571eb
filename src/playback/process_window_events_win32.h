#pragma once
// When is a search for the show window worth making? The placement watcher asks this between
// searches instead of only sleeping, so that a show window is placed as soon as it is shown
// rather than at the next poll.
#include <windows.h>

#include <span>
#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell {

// Reports on the top-level windows of one process, for the thread that creates it (it must be
// the thread that waits). The reports come from an out-of-context WinEvent hook: nothing is
// loaded into the other process, and they arrive through this thread's message queue.
//
// Windows reports a window's creation, showing and hiding. Wine 8 reports only the creation,
// often while the window is still hidden; so a slide-show window created hidden is also checked
// every few milliseconds for a while, to see it being shown.
class ProcessWindowEvents {
  public:
    ProcessWindowEvents();
    ~ProcessWindowEvents();
    ProcessWindowEvents(const ProcessWindowEvents&) = delete;
    ProcessWindowEvents& operator=(const ProcessWindowEvents&) = delete;

    // Reports on this process's windows from now on; 0 for none. When no hook can be set, the
    // waits below last their whole time, which leaves the poll.
    void Follow(DWORD processId);

    // Returns when a top-level window of the process has been created, shown or hidden, when a
    // slide-show window created hidden has become visible, or after pollMs (INFINITE for no
    // limit), whichever is first: -1 then. Returns the index of one of `handles` as soon as it is
    // signalled.
    int WaitForChange(DWORD pollMs, std::span<const HANDLE> handles = {});

  private:
    static void CALLBACK Note(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                              DWORD, DWORD);
    struct HiddenWindow {
        HWND window;
        ULONGLONG watchedUntil;
    };
    bool AnyHiddenShown(ULONGLONG now);

    DWORD processId_ = 0;
    UniqueWinEventHook hook_;
    bool changed_ = false;
    std::vector<HWND> created_;
    std::vector<HiddenWindow> hidden_;
};

}  // namespace tidewell
