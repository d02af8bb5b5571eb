#include "playback/stop_request_win32.h"

#include <gtest/gtest.h>

namespace tidewell::testing {
namespace {

int stopRequestsSeen = 0;

// Many programs' main windows have Tidewell's class: one without Tidewell's mark is neither asked
// nor waited for.
TEST(RequestStopFromOutside, OnlyWindowsWithTidewellsMarkAreAsked) {
    WNDCLASSW windowClass{};
    windowClass.lpszClassName = L"TidewellStopProbe";
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != StopRequestMessage())
            return ::DefWindowProcW(window, message, wParam, lParam);
        ++stopRequestsSeen;
        return kStopRequestAccepted;
    };
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowW(windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                        nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(RequestStopFromOutside(windowClass.lpszClassName, false));
    EXPECT_EQ(stopRequestsSeen, 0);
    MarkAsTidewellWindow(window);
    EXPECT_TRUE(RequestStopFromOutside(windowClass.lpszClassName, true));
    EXPECT_EQ(stopRequestsSeen, 1);
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace tidewell::testing
