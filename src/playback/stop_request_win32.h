#pragma once
// Stopping a run from another process ("tidewell.exe /stop" from a scheduled task): the second
// process finds the main windows of this desktop, so only the Tidewell of the user who asks, and
// sends each one a message of Tidewell's own. A window answers whether it had a run to stop. Many
// programs' main windows share Tidewell's class name, so a window counts only when it carries
// Tidewell's own mark; no other window is sent anything or waited for.
#include <windows.h>

namespace tidewell {

// The message, registered once per session: wParam is nonzero for "stop now".
UINT StopRequestMessage();
inline constexpr LRESULT kStopRequestAccepted = 1;

// Puts the mark on Tidewell's main window once it is created, and takes it off as it goes.
void MarkAsTidewellWindow(HWND window);
void UnmarkTidewellWindow(HWND window);

// Asks every marked window of `mainWindowClass` on this desktop to stop its run; true when one of
// them was playing. A window that does not answer within a few seconds counts as not playing.
bool RequestStopFromOutside(const wchar_t* mainWindowClass, bool now);

// Asks the show of this process to end as a person would: a close request to each of its
// visible top-level windows. The process is never ended by force; a program that asks "Save?"
// keeps asking.
void AskShowToEnd(DWORD processId);

}  // namespace tidewell
