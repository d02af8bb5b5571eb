#pragma once
// Starting one show of the presentation program.
#include "common/unique_handle_win32.h"
#include "launch/checked_paths.h"

namespace tidewell {

// Starts the checked program by its checked full path (never by a search, never by the first
// word of a command line) with the switches and the presentation as its arguments. Gives the
// process, or an empty handle when the program could not be started (which is not reported: a
// run goes on with its next entry). The shared playback state names the process from then on.
UniqueKernelHandle LaunchShow(const CheckedProgram& program,
                              const CheckedPresentation& presentation);

}  // namespace tidewell
