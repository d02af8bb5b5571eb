#pragma once
// Helpers for tests that drive the built program as a separate process: start it, find its
// windows, ask it to close, wait for it to end.
#include <windows.h>

#include <chrono>
#include <string>

namespace tidewell::e2e {

// The folder that holds this test executable (and tidewell.exe beside it).
std::wstring ExecutableFolder();

struct RunningProgram {
    PROCESS_INFORMATION info{};
    ~RunningProgram();
    // Ends the process if it still runs (a failed test must not leave it behind).
    void Kill();
};

bool StartProgram(const std::wstring& exePath, const std::wstring& arguments,
                  RunningProgram& program);

// The first visible top-level window of the process with this class, waiting up to timeout.
HWND WaitForWindow(DWORD processId, const wchar_t* className, std::chrono::milliseconds timeout);

std::wstring WindowCaption(HWND window);

}  // namespace tidewell::e2e
