#include "common/command_line_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace tidewell {

std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> split(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    std::vector<std::wstring> arguments;
    if (!split) return arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(split.get()[i]);
    return arguments;
}

}  // namespace tidewell
