#pragma once
// The width of a toolbar's fixed-width buttons.
#include <windows.h>

namespace tidewell {

// The width that the toolbar's buttons without BTNS_AUTOSIZE need: `standardWidth`, or more when
// one of their captions needs more in the toolbar's font, measured as the toolbar measures an
// auto-sized button (its padding around the wider of caption and image). All of them take the
// widest one's need, so that they keep one width as the standard width gives them.
int FixedButtonWidth(HWND toolbar, int standardWidth, int imageWidth);

}  // namespace tidewell
