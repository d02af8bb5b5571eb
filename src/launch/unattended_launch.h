#pragma once
// Which presentation program a play that nobody pressed for may start. A setting file names the
// program that plays it, and setting files travel by mail and download: "/play" on the command
// line, or the file type's "Play" verb, would otherwise start whatever program a stranger's file
// names, the moment it is opened.
#include <optional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

namespace tidewell {

// Where this machine keeps programs that only administrators can change.
struct InstalledPlaces {
    // The program folders (%ProgramFiles%, %ProgramFiles(x86)%), full.
    std::vector<std::wstring> programFolders;
    // The full paths that the system's "App Paths" registration names for PowerPoint and the
    // viewer.
    std::vector<std::wstring> registeredPrograms;
};

// The system's own variables and their values ("ProgramFiles", "C:\\Program Files").
using SystemVariables = std::vector<std::pair<std::wstring, std::wstring>>;

// A registered path with each "%NAME%" replaced by the value of that system variable (names in
// any letter case); none when it names any other variable, or a "%" is left unpaired: the
// environment of whoever started Tidewell must not say where PowerPoint is.
std::optional<std::wstring> ExpandSystemVariables(std::wstring_view text,
                                                  const SystemVariables& variables);

// Two full paths name the same file, whatever the letter case, "/" or "\", repeated separators
// and surrounding blanks.
bool SameProgramPath(std::wstring_view a, std::wstring_view b);

// True for PowerPoint or PowerPoint Viewer by file name ("POWERPNT.EXE", "PPTVIEW.EXE", any
// letter case) inside a program folder or where "App Paths" registers it, and for the very program
// the user chose in Tidewell. All paths full and long, as the check makes them.
bool MayStartUnattended(std::wstring_view programFullPath, const InstalledPlaces& places,
                        std::wstring_view userChosenFullPath);

// Why the play did not start, and how the user starts it once the program is checked.
std::wstring UncheckedProgramMessage(std::wstring_view programPath);

// Asked before "Play All" or "Play Selected" starts a program that neither the user chose nor is
// PowerPoint where it is installed: names the program and the setting file that brought it
// (empty: none is known, as for a program stored at the last close).
std::wstring UnchosenProgramQuestion(std::wstring_view programPath, std::wstring_view settingFile);

}  // namespace tidewell
