// The built program as a user starts it: a window captioned "Tidewell" appears with the keyboard
// focus on the playlist, and a close request ends the process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "e2e_support.h"

using namespace std::chrono_literals;
using namespace tidewell::e2e;

TEST(AppStartClose, Started_ShowsTidewellWindowAndEndsOnClose) {
    RunningProgram program;
    ASSERT_TRUE(StartProgram(ExecutableFolder() + L"\\tidewell.exe", L"", program));
    HWND window = WaitForWindow(program.info.dwProcessId, L"TForm1", 20s);
    ASSERT_NE(window, nullptr) << "no main window appeared";
    EXPECT_EQ(WindowCaption(window), L"Tidewell");
    const HWND list = ::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return FocusedControlOf(window) == list; }, 5s))
        << "the playlist does not have the focus at start";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(program.info.hProcess, 20000), WAIT_OBJECT_0)
        << "the program did not end after WM_CLOSE";
    DWORD exitCode = 1;
    ::GetExitCodeProcess(program.info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}
