#pragma once

#include <string>
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

// "<program>"<switches>"<presentation>" with nothing escaped. The result is
// wide and unbounded: the launch takes it as it is, so a path outside the
// ANSI code page or a very long one still reaches the program intact.
std::wstring BuildCommandLine(std::wstring_view programPath, std::wstring_view switchSet,
                              std::wstring_view presentationPath);

}  // namespace tidewell
