#pragma once
// Input as a user gives it: mouse and keyboard events through SendInput, which the system queues
// for whichever window is under the pointer or has the focus, and which the program then takes
// from its queue with its own message loop. Messages sent or posted straight to a control skip
// that loop, and with it the dialog navigation that the main loop runs for the main window.
#include <windows.h>

#include <chrono>
#include <functional>

namespace tidewell::testing {

// Handles queued messages through the program's own pump until `condition` holds or `timeout`
// has passed; returns the condition's last value.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

class UserInput {
  public:
    // Moves the pointer to a point of the screen; with the button held this is a drag step.
    static void MoveTo(POINT screen);
    // Moves in `steps` even steps from where the pointer is to `screen`, as a hand does.
    static void GlideTo(POINT screen, int steps = 8);
    static void PressLeft();
    static void ReleaseLeft();
    // One press and release of a key, with the keys named in `held` (VK_SHIFT ...) held around it.
    static void Key(WORD virtualKey, WORD held = 0);
};

// A point of `window`'s client area on the screen.
POINT OnScreen(HWND window, POINT client);

}  // namespace tidewell::testing
