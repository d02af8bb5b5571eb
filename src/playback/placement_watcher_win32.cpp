#include "playback/placement_watcher_win32.h"

#include <cstring>

#include "common/app_error.h"
#include "common/unique_handle_win32.h"
#include "common/win32_error_win32.h"
#include "playback/playback_state_win32.h"
#include "playback/process_window_events_win32.h"
#include "playback/switch_set.h"

namespace tidewell {
namespace {

// The poll is the fallback for what the window reports do not cover (a window enabled, or a
// window ahead of the show window closing, where no report comes); reports make the search
// happen as soon as the show window is shown.
constexpr DWORD kSearchIntervalMs = 100;

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK TestTopLevelWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

bool PlaceIfShown(DWORD processId) {
    const HWND show = FindProcessWindow(processId);
    if (!show || !IsSlideShowWindow(show)) return false;
    const SharedPlaybackState& state = PlaybackState();
    ::SetWindowPos(show, nullptr, state.targetLeft.load(), state.targetTop.load(), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return true;
}

DWORD WINAPI PlacementWatcher(LPVOID) {
    ProcessWindowEvents events;
    for (;;) {
        // The process id is read afresh before every search: a watcher whose show never
        // appeared goes on to place the next entry's window rather than searching for a
        // process that has ended.
        const DWORD processId = PlaybackState().currentProcessId.load();
        // Reports first, then search: a window shown after the search is reported, one shown
        // before the reports began is found by the search.
        events.Follow(processId);
        if (PlaceIfShown(processId)) return 0;
        events.WaitForChange(kSearchIntervalMs);
    }
}

}  // namespace

HWND FindProcessWindow(DWORD processId) {
    if (processId == 0) return nullptr;
    WindowSearch search{processId, nullptr};
    ::EnumWindows(TestTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsSlideShowWindow(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, 255);
    return kSlideShowWindowClass == name;
}

void StartPlacementWatcher() {
    DWORD threadId = 0;
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, PlacementWatcher, nullptr, 0, &threadId));
    ThrowLastErrorIf(!thread, L"CreateThread", [](DWORD code) {
        return L"Cannot start the slide-show placement. " + SystemMessage(code);
    });
}

}  // namespace tidewell
