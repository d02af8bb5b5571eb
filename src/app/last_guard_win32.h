#pragma once
#include "common/command_line.h"
#include "common/dialogs_win32.h"

namespace tidewell {

// What nothing below caught: said where it can be seen (the run's log when there is one, the
// debugger's output always, the Error box when somebody is there), and the process ends with a
// code of its own instead of Windows' report of a crash.
// Called from a catch block: what it says is what is being handled there.
int LastGuard(const CommandLine& commandLine, Dialogs& dialogs) noexcept;

}  // namespace tidewell
