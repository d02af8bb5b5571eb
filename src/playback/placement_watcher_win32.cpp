#include "playback/placement_watcher_win32.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "common/app_error.h"
#include "common/win32_error_win32.h"
#include "launch/playback_state_win32.h"
#include "playback/process_window_events_win32.h"
#include "common/path_characters.h"
#include "launch/switch_set.h"
#include "launch/unattended_launch.h"

namespace tidewell {
namespace {

// The poll is the fallback for what the window reports do not cover (a window enabled, or a
// window ahead of the show window closing, where no report comes); reports make the search
// happen as soon as the show window is shown.
constexpr DWORD kSearchIntervalMs = 100;
// A watcher that cannot be made to end (its thread stuck in another program's window) is left
// behind after this long rather than holding the program.
constexpr DWORD kJoinTimeoutMs = 3000;

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

HWND ShownSlideShow(DWORD processId) {
    const HWND show = FindProcessWindow(processId);
    return show && IsSlideShowWindow(show) ? show : nullptr;
}

}  // namespace

struct PlacementWatcher::Shared {
    WatchedShow show;
    UniqueKernelHandle process;
    UniqueKernelHandle letGo;  // set by the run: the show is no longer this watcher's
    std::atomic<ULONGLONG> endedAt{0};
    std::atomic<bool> placing{true};
};

void PlaceShowWindow(HWND show, bool wait) {
    const SharedPlaybackState& state = PlaybackState();
    ::SetWindowPos(show, nullptr, state.targetLeft.load(), state.targetTop.load(), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | (wait ? 0 : SWP_ASYNCWINDOWPOS));
}

std::wstring ProcessProgramPath(DWORD processId) {
    const UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    std::wstring path(kLongestPath + 1, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
    path.resize(size);
    return path;
}

HWND HandedOffSlideShow(const std::vector<HWND>& before, const std::wstring& program) {
    const DWORD self = ::GetCurrentProcessId();
    for (const HWND window : SlideShowWindowsOnScreen()) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == self || !::IsWindowEnabled(window)) continue;
        if (std::ranges::find(before, window) != before.end()) continue;
        // Many programs name their full-screen window so: only a copy of the very program that
        // was started can have been handed the show.
        if (SameProgramPath(ProcessProgramPath(owner), program)) return window;
    }
    return nullptr;
}

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

std::vector<HWND> SlideShowWindowsOnScreen() {
    std::vector<HWND> windows;
    ::EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            if (::IsWindowVisible(window) && IsSlideShowWindow(window)) {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

PlacementWatcher::PlacementWatcher(WatchedShow show) : shared_(std::make_shared<Shared>()) {
    const auto throwIf = [](bool failed, const wchar_t* call) {
        ThrowLastErrorIf(failed, call, [](DWORD code) {
            return L"Cannot start the slide-show placement. " + SystemMessage(code);
        });
    };
    shared_->show = std::move(show);
    HANDLE process = nullptr;
    throwIf(!::DuplicateHandle(::GetCurrentProcess(), shared_->show.process, ::GetCurrentProcess(),
                               &process, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0),
            L"DuplicateHandle");
    shared_->process.reset(process);
    shared_->letGo.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    throwIf(!shared_->letGo, L"CreateEventW");
    auto handedOver = std::make_unique<std::shared_ptr<Shared>>(shared_);
    DWORD threadId = 0;
    thread_.reset(::CreateThread(nullptr, 0, Run, handedOver.get(), 0, &threadId));
    throwIf(!thread_, L"CreateThread");
    handedOver.release();  // the thread's own now
}

ULONGLONG PlacementWatcher::EndedAt() const {
    return shared_->endedAt.load();
}

void PlacementWatcher::StopPlacing() {
    shared_->placing.store(false);
}

PlacementWatcher::~PlacementWatcher() {
    ::SetEvent(shared_->letGo.get());
    ::WaitForSingleObject(thread_.get(), kJoinTimeoutMs);
}

DWORD WINAPI PlacementWatcher::Run(LPVOID param) {
    const std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(param));
    delete static_cast<std::shared_ptr<Shared>*>(param);
    const WatchedShow& show = shared->show;
    const auto tell = [&](UINT message, LPARAM value) {
        ::PostMessageW(show.notify, message, show.tag, value);
    };
    enum : int { kLetGo = 0, kEnded = 1 };
    const std::array<HANDLE, 2> handles{shared->letGo.get(), shared->process.get()};

    ProcessWindowEvents events;
    HWND placed = nullptr;
    for (;;) {
        if (!placed) {
            // Reports first, then search: a window shown after the search is reported, one
            // shown before the reports began is found by the search.
            events.Follow(show.processId);
            if ((placed = ShownSlideShow(show.processId)) != nullptr) {
                if (shared->placing.load()) PlaceShowWindow(placed);
                tell(show.placedMessage, reinterpret_cast<LPARAM>(placed));
                events.Follow(0);
            }
        }
        const int woken = events.WaitForChange(placed ? INFINITE : kSearchIntervalMs, handles);
        if (woken == kLetGo) return 0;
        if (woken == kEnded) break;
    }
    events.Follow(0);
    shared->endedAt.store(::GetTickCount64());
    DWORD exitCode = 0;
    ::GetExitCodeProcess(shared->process.get(), &exitCode);
    tell(show.endedMessage, static_cast<LPARAM>(exitCode));
    return 0;
}

}  // namespace tidewell
