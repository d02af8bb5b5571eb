#pragma once
// Which presentation program a play that nobody pressed for may start. A setting file names the
// program that plays it, and setting files travel by mail and download: "/play" on the command
// line, or the file type's "Play" verb, would otherwise start whatever program a stranger's file
// names, the moment it is opened.
#include <string>
#include <string_view>

namespace tidewell {

// True for PowerPoint or PowerPoint Viewer by file name ("POWERPNT.EXE", "PPTVIEW.EXE", any
// letter case), and for the very program the user chose in Tidewell (the one in the stored
// preferences before any setting file was loaded).
bool MayStartUnattended(std::wstring_view programPath, std::wstring_view userChosenProgram);

// Why the play did not start, and how the user starts it once the program is checked.
std::wstring UncheckedProgramMessage(std::wstring_view programPath);

}  // namespace tidewell
