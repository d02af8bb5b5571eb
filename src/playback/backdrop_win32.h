#pragma once
// A black window over the monitor of a run, so that between two shows (while the presentation
// program starts, which takes seconds) the lobby sees black instead of the desktop. It sits in the
// normal layer, under every show and every dialog that opens later, is never activated, and has
// no taskbar button. Made and removed on the thread that runs the play run.
#include <windows.h>

namespace tidewell {

class Backdrop {
  public:
    Backdrop() = default;
    ~Backdrop() { Remove(); }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    // Covers `monitorRect` (screen coordinates). The first call makes the window at the top of the
    // normal layer, so that it hides what was open there; later calls only move it, keeping it
    // under the show that plays. False when the window could not be made: the run goes on without.
    bool Cover(const RECT& monitorRect) noexcept;
    void Remove() noexcept;
    HWND Handle() const { return window_; }

  private:
    HWND window_ = nullptr;
};

}  // namespace tidewell
