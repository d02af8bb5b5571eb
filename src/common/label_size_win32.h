#pragma once
// The size a self-sizing label needs for its text in its own font.
#include <windows.h>

namespace tidewell {

// The text's extent as the font reports it, widened to the rightmost pixel that drawing the text
// actually inks. An "&" counts as the control draws it: as itself, or as an access key's mark. Wine
// draws some substituted fonts (MS Sans Serif among them) wider than their reported advances, and a
// label sized by the report alone would cut off its last letters.
SIZE MeasureLabelText(HWND label);

}  // namespace tidewell
