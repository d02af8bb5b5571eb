#pragma once
// The unattended-start rule with what only the system knows: where programs are installed.
#include <string>

#include "launch/checked_paths.h"
#include "launch/unattended_launch.h"

namespace tidewell {

// The program folders of this machine and what its "App Paths" registration (for all users, never
// the user's own, which anybody's program may write) names for PowerPoint and the viewer.
InstalledPlaces SystemInstalledPlaces();

// MayStartUnattended for the checked program and the program the user chose, as stored: a full
// path (CheckedProgram::FullPath), or it counts for nothing.
bool MayStartProgramUnattended(const CheckedProgram& program, const std::wstring& userChosen);

}  // namespace tidewell
