#include "playback/process_window_events_win32.h"

#include <algorithm>

#include "playback/placement_watcher_win32.h"

namespace tidewell {
namespace {

// How often, and for how long, a slide-show window created hidden is checked for being shown.
// Only windows of that class are checked, one call each, so the checks cost next to nothing.
constexpr DWORD kHiddenCheckMs = 2;
constexpr ULONGLONG kHiddenWatchMs = 5000;

// The hook's callback takes no argument of ours: it finds the reports of its own thread here.
thread_local ProcessWindowEvents* t_events = nullptr;

}  // namespace

ProcessWindowEvents::ProcessWindowEvents() {
    t_events = this;
}

ProcessWindowEvents::~ProcessWindowEvents() {
    hook_.reset();
    t_events = nullptr;
}

void CALLBACK ProcessWindowEvents::Note(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                                        LONG child, DWORD, DWORD) {
    // Child windows and the objects inside windows (carets, menus) cannot be the show window.
    if (!t_events || !window || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow()) return;
    t_events->changed_ = true;
    if (event == EVENT_OBJECT_CREATE) t_events->created_.push_back(window);
}

void ProcessWindowEvents::Follow(DWORD processId) {
    if (processId == processId_ && (hook_ || processId == 0)) return;
    processId_ = processId;
    hook_.reset();
    hidden_.clear();
    if (processId == 0) return;
    hook_.reset(::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE, nullptr, Note, processId,
                                  0, WINEVENT_OUTOFCONTEXT));
}

int ProcessWindowEvents::WaitForChange(DWORD pollMs, std::span<const HANDLE> handles) {
    changed_ = false;
    const auto count = static_cast<DWORD>(handles.size());
    const bool limited = pollMs != INFINITE;
    const ULONGLONG deadline = ::GetTickCount64() + (limited ? pollMs : 0);
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (AnyHiddenShown(now) || (limited && now >= deadline)) return -1;
        const DWORD left = limited ? static_cast<DWORD>(deadline - now) : INFINITE;
        const DWORD timeout = hidden_.empty() ? left : std::min(left, kHiddenCheckMs);
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(count, handles.data(), timeout,
                                                          QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_TIMEOUT) continue;
        if (woken < WAIT_OBJECT_0 + count) return static_cast<int>(woken - WAIT_OBJECT_0);
        if (woken != WAIT_OBJECT_0 + count) {  // cannot wait for reports: wait out the poll
            ::WaitForMultipleObjects(count, handles.data(), FALSE, limited ? left : 100);
            return -1;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        for (const HWND window : created_) {
            if (!::IsWindowVisible(window) && IsSlideShowWindow(window)) {
                hidden_.push_back({window, ::GetTickCount64() + kHiddenWatchMs});
            }
        }
        created_.clear();
        if (changed_) return -1;
    }
}

bool ProcessWindowEvents::AnyHiddenShown(ULONGLONG now) {
    bool shown = false;
    std::erase_if(hidden_, [&](const HiddenWindow& hidden) {
        const bool visible = ::IsWindowVisible(hidden.window) != FALSE;
        shown = shown || visible;
        return visible || now >= hidden.watchedUntil || !::IsWindow(hidden.window);
    });
    return shown;
}

}  // namespace tidewell
