#pragma once
// A plain container drawn with a lowered outer and a raised inner bevel (an etched frame). The
// controls placed in it report to it, so it passes their notifications on to its own parent,
// where the form's handlers live.
#include <windows.h>

namespace tidewell {

// Creates the panel as a child of `parent`; the rectangle is in `parent`'s client pixels.
HWND CreateBevelPanel(HWND parent, int id, const RECT& bounds);

}  // namespace tidewell
