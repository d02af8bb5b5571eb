#pragma once
// Which presentation program a play that nobody pressed for may start. A setting file names the
// program that plays it, and setting files travel by mail and download: "/play" on the command
// line, or the file type's "Play" verb, would otherwise start whatever program a stranger's file
// names, the moment it is opened.
#include <string>
#include <string_view>

namespace tidewell {

// The program as the field names it, and what the system says about it.
struct ProgramToStart {
    std::wstring_view asNamed;
    // Full and long (no 8.3 parts) when the system could tell; otherwise as named.
    std::wstring_view fullPath;
    // On a fixed or removable drive of this machine, not on a network drive.
    bool onLocalDrive = false;
};

// "X:\...\name" (or with "/"): absolute, on a drive letter, with no stream ":" after it.
bool IsAbsoluteDrivePath(std::wstring_view path);

// Two full paths name the same file, whatever the letter case, "/" or "\", repeated separators
// and surrounding blanks.
bool SameProgramPath(std::wstring_view a, std::wstring_view b);

// True for PowerPoint or PowerPoint Viewer by file name ("POWERPNT.EXE", "PPTVIEW.EXE", any
// letter case) when named by an absolute path on a local drive, and for the very program the
// user chose in Tidewell (`userChosenFullPath`, full and long as the program's).
bool MayStartUnattended(const ProgramToStart& program, std::wstring_view userChosenFullPath);

// Why the play did not start, and how the user starts it once the program is checked.
std::wstring UncheckedProgramMessage(std::wstring_view programPath);

}  // namespace tidewell
