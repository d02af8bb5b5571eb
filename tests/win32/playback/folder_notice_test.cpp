#include "playback/folder_notice_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace tidewell::testing {
namespace {

constexpr UINT kNotice = WM_APP + 7;

// What the watcher posted next, waited for through this thread's messages; -1 when nothing came.
LPARAM NextNotice(HWND window, DWORD withinMs) {
    const ULONGLONG until = ::GetTickCount64() + withinMs;
    for (;;) {
        MSG msg;
        if (::PeekMessageW(&msg, window, kNotice, kNotice, PM_REMOVE)) return msg.lParam;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= until) return -1;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now),
                                    QS_POSTMESSAGE);
    }
}

// A file saved the moment the last notice arrives is noticed too. The watcher may not have asked
// for the next changes yet; a change in between must wait for that ask, not be dropped (Wine drops
// it for a bare change notification, which once kept an announcement off the screen for a minute).
TEST(FolderNotice, EachSaveRightAfterTheLastNotice_Noticed) {
    const TempFolder folder{L"tidewell-notice"};
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);
    {
        const FolderNotice notice(folder.Path(), window, kNotice, 1);
        ASSERT_EQ(NextNotice(window, 10'000), FolderNotice::kWatching);
        for (int save = 0; save < 30; ++save) {
            folder.Touch(L"Alert.ppsv");
            ASSERT_EQ(NextNotice(window, 5'000), FolderNotice::kChanged) << "save " << save;
            // A save may bring more than one notice: those already there are passed over, and
            // the next save follows at once.
            while (NextNotice(window, 0) == FolderNotice::kChanged) {
            }
        }
    }
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace tidewell::testing
