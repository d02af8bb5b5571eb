#pragma once

#include <string_view>

namespace tidewell {

// The slide-show switches handed to the presentation program. The viewer
// needs /F to fill the screen; PowerPoint itself takes /S alone. One space
// at each end so the command line can be glued together without thinking.
inline constexpr std::wstring_view kViewerSwitchSet = L" /S /F ";
inline constexpr std::wstring_view kPowerPointSwitchSet = L" /S ";

// The window class that the presentation program gives its slide-show window.
inline constexpr std::string_view kSlideShowWindowClass = "screenClass";

// The part of a path after its last '\' or ':' (the whole path when it has
// neither). A '/' is deliberately not a separator here.
std::wstring_view FileNamePart(std::wstring_view path);

// Chooses the switch set from the presentation program's file name:
// "PPTVIEW.EXE" in any letter case means the viewer.
std::wstring_view ChooseSwitchSet(std::wstring_view programPath);

}  // namespace tidewell
