#include "launch/show_launch_win32.h"

#include <windows.h>

#include <vector>

#include "launch/playback_state_win32.h"

namespace tidewell {

UniqueKernelHandle LaunchShow(const CheckedProgram& program,
                              const CheckedPresentation& presentation) {
    const std::wstring commandLine = BuildShowCommandLine(program, presentation);
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created{};
    if (!::CreateProcessW(program.FullPath().c_str(), buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &created)) {
        return {};
    }
    const UniqueKernelHandle thread(created.hThread);
    SharedPlaybackState& state = PlaybackState();
    state.currentProcessId.store(created.dwProcessId);
    state.currentProcessHandle.store(created.hProcess);
    return UniqueKernelHandle(created.hProcess);
}

}  // namespace tidewell
