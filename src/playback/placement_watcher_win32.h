#pragma once
// The placement watcher: one detached thread per launched show that finds the show's window and
// moves it onto the chosen monitor, then ends. It reads only the shared playback state and touches
// only the other process's window, so it needs no join and no lock.
#include <windows.h>

namespace tidewell {

// The first top-level window, in EnumWindows order, that belongs to the process and is visible
// and enabled; nullptr when there is none or processId is 0.
HWND FindProcessWindow(DWORD processId);

// True when the window's class name (read as ANSI) is exactly "screenClass".
bool IsSlideShowWindow(HWND window);

// Starts one watcher thread and lets it go: it is never joined and its handle is closed at once.
// Throws AppError when the thread cannot be created.
void StartPlacementWatcher();

}  // namespace tidewell
