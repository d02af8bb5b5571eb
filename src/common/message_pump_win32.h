#pragma once
// The one message pump. The main loop and the wait of a play run both use it, so that the
// application-wide hook sees every message taken from the queue before it is dispatched.
#include <windows.h>

#include <functional>

namespace tidewell {

// The hook returns true to mark a message handled; a handled message is not dispatched. There is
// one hook; installing another replaces it.
using MessageHook = std::function<bool(MSG&)>;
void SetMessageHook(MessageHook hook);

// Dialog navigation (Tab between controls) happens for this window's messages.
void SetNavigationWindow(HWND window);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Dispatches whatever is queued now and returns; false when WM_QUIT was seen (it is posted
// again so that the main loop ends too).
bool PumpPendingMessages();

}  // namespace tidewell
