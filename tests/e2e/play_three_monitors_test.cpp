// On three monitors of which one has another size than the first, choosing that one and
// pressing "Play All" shows the size message and plays nothing. This suite needs a display with
// three monitors: the test command runs it in a pass of its own on such a display, with
// TIDEWELL_E2E_THREE_MONITORS=1, and there it fails when the display is not as needed. In the
// two-monitor pass it reports itself skipped, naming the pass that runs it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

class ThreeMonitors : public Unattended {};

TEST_F(ThreeMonitors, ChosenMonitorOfOtherSize_SizeMessageAndNothingPlayed) {
    if (::GetEnvironmentVariableW(L"TIDEWELL_E2E_THREE_MONITORS", nullptr, 0) == 0) {
        GTEST_SKIP() << "runs in the three-monitor pass (TIDEWELL_E2E_THREE_MONITORS=1)";
    }
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 3)
        << "this suite needs a display with three monitors, one of another size";
    // The monitor that differs from the primary display, numbered as the program numbers them.
    int odd = 0;
    const std::vector<RECT> monitors = MonitorRects();
    for (std::size_t i = 0; i < monitors.size() && odd == 0; ++i) {
        const RECT& r = monitors[i];
        const bool sameSize = r.right - r.left == ::GetSystemMetrics(SM_CXSCREEN) &&
                              r.bottom - r.top == ::GetSystemMetrics(SM_CYSCREEN);
        if (!sameSize) odd = static_cast<int>(i) + 1;
    }
    ASSERT_NE(odd, 0) << "all three monitors have the primary display's size";

    ASSERT_TRUE(preferences_.Store({Deck(L"a.ppt")}, StandinPath(), odd));
    Start(L"");
    const HWND playAll = ::FindWindowExW(main_, nullptr, L"Button", L"Play All");
    ASSERT_NE(playAll, nullptr);
    ::PostMessageW(playAll, BM_CLICK, 0, 0);

    const HWND box = MessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"In order to run this application, please keep the size of monitor " +
                  std::to_wstring(odd) + L" same as monitor 1");
    PressOkAndWait(box);
    EXPECT_TRUE(::IsWindowVisible(main_)) << "a run started";
    EXPECT_TRUE(ProcessesStartedBy(program_.info.dwProcessId).empty()) << "a show was started";
}

}  // namespace
}  // namespace tidewell::e2e
