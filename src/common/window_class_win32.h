#pragma once
#include <windows.h>

namespace tidewell {

// Registers, once per process, a window class with the arrow pointer and the button-face
// background that the About box and its panel share.
void RegisterButtonFaceClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc);

}  // namespace tidewell
