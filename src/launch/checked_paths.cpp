#include "launch/checked_paths.h"

#include "common/command_line_quoting.h"
#include "launch/switch_set.h"

namespace tidewell {

std::wstring BuildShowCommandLine(const CheckedProgram& program,
                                  const CheckedPresentation& presentation) {
    // The program's name is read up to the next quote, without escapes; a checked path holds no
    // quote and never ends in a backslash.
    std::wstring line = L"\"" + program.FullPath() + L"\"";
    line += ChooseSwitchSet(program.FullPath());
    AppendQuotedArgument(line, presentation.FullPath());
    return line;
}

}  // namespace tidewell
