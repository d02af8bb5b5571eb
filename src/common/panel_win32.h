#pragma once
// The one panel control: a plain container on the button face. The controls placed in it report
// to it, so it passes their notifications and colour requests on to its own parent, where the
// window's handlers live. With kPanelBevel it is drawn with a lowered outer and a raised inner
// bevel (an etched frame).
#include <windows.h>

namespace tidewell {

inline constexpr wchar_t kPanelClass[] = L"TPanel";
// A style bit of the panel class's own (the low word of a window style belongs to its class).
inline constexpr DWORD kPanelBevel = 0x0001;

// Registers the class once per process.
void RegisterPanelClass();

}  // namespace tidewell
