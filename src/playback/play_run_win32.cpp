#include "playback/play_run_win32.h"

#include "common/error_text.h"
#include "common/file_exists_win32.h"
#include "playback/path_check_win32.h"
#include "playback/playback_state_win32.h"
#include "playback/show_launch_win32.h"
#include "playback/stop_request_win32.h"

namespace tidewell {
namespace {

// A show whose program ran at least this long, or whose window was seen, lasted: the pass it
// belongs to needs no rest after it.
constexpr ULONGLONG kLastingShowMs = 1000;
// How long a show asked to close may take to end before the run goes on without it.
constexpr UINT kCloseGraceMs = 30'000;
// How often a show stopped "now" is asked again, for windows that appear after the request.
constexpr UINT kStopNowRepeatMs = 500;
constexpr UINT kEndPollMs = 250;

std::wstring Seconds(unsigned milliseconds) {
    return std::to_wstring(milliseconds / 1000) + L" s";
}

}  // namespace

std::unique_ptr<PlacementWatcher> StartPlacementWatcher(WatchedShow show) {
    return std::make_unique<PlacementWatcher>(std::move(show));
}

PlayRun::PlayRun(RunSetup setup, std::vector<std::wstring> queue, CheckedProgram program,
                 RunOptions options)
    : setup_(std::move(setup)),
      queue_(std::move(queue)),
      program_(std::move(program)),
      options_(std::move(options)),
      progress_(queue_.size(), options_.loop) {}

PlayRun::~PlayRun() {
    KillTimers();
}

void PlayRun::Begin() {
    ::ShowWindow(setup_.window, SW_HIDE);
    windowHidden_ = true;
    if (const auto monitor = setup_.aimAtMonitor ? setup_.aimAtMonitor() : std::nullopt) {
        monitorNumber_ = monitor->number;
    }
    Report(RunEvent::RunStart, {},
           std::to_wstring(queue_.size()) +
               (queue_.size() == 1 ? L" presentation" : L" presentations") +
               (options_.loop ? L", in a loop" : L""));
    if (setup_.icon && setup_.dialogs) icon_.emplace(*setup_.dialogs, setup_.icon, setup_.window);
    LaunchNext();
}

bool PlayRun::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kShowPlacedMessage:
            if (wParam == showTag_ && show_) OnShowPlaced(reinterpret_cast<HWND>(lParam));
            return true;
        case kShowEndedMessage:
            if (wParam == showTag_ && show_) OnShowEnded(static_cast<DWORD>(lParam));
            return true;
        case kRunErrorMessage:
            if (placementFailure_) std::rethrow_exception(std::exchange(placementFailure_, {}));
            return true;
        case WM_TIMER:
            if (wParam < kShowTimeoutTimer || wParam > kStopNowTimer) return false;
            ::KillTimer(setup_.window, wParam);
            OnTimer(wParam);
            return true;
        default:
            return false;
    }
}

void PlayRun::LaunchNext() {
    for (;;) {
        if (windowGoing_ || progress_.Stopped()) return Finish();
        if (held_) {
            phase_ = RunPhase::Held;
            return;
        }
        std::optional<std::size_t> index = std::exchange(restingBefore_, std::nullopt);
        if (!index) {
            index = progress_.NextEntry();
            if (!index || *index >= queue_.size()) return Finish();
            if (progress_.NewPass()) {
                TakeEntriesForNextPass();
                if (queue_.empty()) return Finish();
                if (const unsigned rest = pacing_.RestBeforeNextPass()) {
                    restingBefore_ = index;
                    phase_ = RunPhase::Resting;
                    Report(RunEvent::Waiting, {},
                           L"no show lasted in the last pass: resting " + Seconds(rest));
                    ::SetTimer(setup_.window, kPassRestTimer, rest, nullptr);
                    return;
                }
            }
        }
        if (Launch(*index)) return;
    }
}

void PlayRun::TakeEntriesForNextPass() {
    if (!options_.entriesForNextPass) return;
    if (auto entries = options_.entriesForNextPass()) {
        queue_ = std::move(*entries);
        progress_.SetCount(queue_.size());
    }
}

bool PlayRun::Launch(std::size_t index) {
    const std::wstring entry = queue_[index];
    if (const auto monitor = setup_.aimAtMonitor ? setup_.aimAtMonitor() : std::nullopt) {
        monitorNumber_ = monitor->number;
        // From the first launch on, the monitor shows black between two shows, never the desktop.
        backdrop_.Cover(monitor->bounds);
    }
    // Nobody is there to answer the presentation program's "file not found".
    if (options_.unattended && !FileExists(entry)) {
        Report(RunEvent::ShowSkipped, entry, L"the presentation cannot be found");
        return false;
    }
    if (icon_) icon_->ShowProgress(progress_.Position(), progress_.Count(), entry);
    std::vector<HWND> before = SlideShowWindowsOnScreen();
    const std::optional<CheckedPresentation> presentation = CheckPresentation(entry);
    UniqueKernelHandle process =
        presentation ? LaunchShow(program_, *presentation) : UniqueKernelHandle();
    if (!process) {
        Report(RunEvent::ShowSkipped, entry, L"the presentation program could not be started");
        return false;
    }
    Report(RunEvent::ShowStart, entry);
    progress_.ShowStarted();
    show_.emplace();
    show_->path = entry;
    show_->processId = ::GetProcessId(process.get());
    show_->launched = ::GetTickCount64();
    show_->process = std::move(process);
    phase_ = RunPhase::Showing;
    ++showTag_;
    try {
        watcher_ = setup_.startWatcher(
            WatchedShow{show_->process.get(), show_->processId, std::move(before), setup_.window,
                        kShowPlacedMessage, kShowEndedMessage, showTag_});
    } catch (...) {
        // The show plays unplaced and the run follows its end by a poll; the reason is shown
        // once the window is back rather than with a show on screen.
        if (!placementFailure_) {
            placementFailure_ = std::current_exception();
            Report(RunEvent::Error, entry, UserErrorText(placementFailure_));
        }
        ::SetTimer(setup_.window, kEndPollTimer, kEndPollMs, nullptr);
    }
    if (options_.unattended && options_.showTimeoutSeconds > 0) {
        ::SetTimer(setup_.window, kShowTimeoutTimer,
                   static_cast<UINT>(options_.showTimeoutSeconds) * 1000, nullptr);
    }
    return true;
}

void PlayRun::OnShowPlaced(HWND window) {
    show_->window = window;
    Report(RunEvent::ShowPlaced, show_->path);
    pacing_.ShowLasted();
    ::KillTimer(setup_.window, kShowTimeoutTimer);
    if (phase_ == RunPhase::Finishing) AskShowToClose();
}

void PlayRun::OnShowEnded(DWORD exitCode) {
    const ULONGLONG lasted = ::GetTickCount64() - show_->launched;
    if (lasted >= kLastingShowMs) pacing_.ShowLasted();
    Report(RunEvent::ShowEnd, show_->path, ShowEndDetail(static_cast<long long>(lasted), exitCode));
    LetShowGo();
    if (phase_ == RunPhase::Finishing) return Finish();
    LaunchNext();
}

void PlayRun::OnTimer(UINT_PTR timer) {
    switch (timer) {
        case kShowTimeoutTimer:
            if (phase_ != RunPhase::Showing) return;
            phase_ = RunPhase::Closing;
            Report(RunEvent::ShowTimeout, show_ ? show_->path : L"",
                   L"no show window after " + std::to_wstring(options_.showTimeoutSeconds) +
                       L" s: asked to close");
            AskShowToClose();
            ::SetTimer(setup_.window, kCloseGraceTimer, kCloseGraceMs, nullptr);
            return;
        case kCloseGraceTimer:
            // Left running: the program may be asking "Save?" of nobody; the run goes on.
            if (show_) {
                Report(RunEvent::Error, show_->path,
                       L"the presentation program did not end after it was asked to close; "
                       L"left running");
            }
            LetShowGo();
            if (phase_ == RunPhase::Finishing) return Finish();
            return LaunchNext();
        case kPassRestTimer:
            if (phase_ == RunPhase::Resting) LaunchNext();
            return;
        case kEndPollTimer:
            if (show_ && ::WaitForSingleObject(show_->process.get(), 0) != WAIT_TIMEOUT) {
                DWORD exitCode = 0;
                ::GetExitCodeProcess(show_->process.get(), &exitCode);
                return OnShowEnded(exitCode);
            }
            if (show_) ::SetTimer(setup_.window, kEndPollTimer, kEndPollMs, nullptr);
            return;
        case kStopNowTimer:
            if (phase_ != RunPhase::Finishing || !show_) return;
            AskShowToClose();
            ::SetTimer(setup_.window, kStopNowTimer, kStopNowRepeatMs, nullptr);
            return;
        default:
            return;
    }
}

bool PlayRun::Stop(StopWhen when) {
    if (!Playing()) return false;
    progress_.Stop();
    Report(RunEvent::Stop, {}, when == StopWhen::Now ? L"now" : L"after this presentation");
    // Nothing to wait for either when the show's program has ended and no window of it is on
    // screen (it is only being looked for in another copy of the program).
    const bool showGone =
        show_ && !show_->window && ::WaitForSingleObject(show_->process.get(), 0) == WAIT_OBJECT_0;
    if (!show_ || showGone || phase_ == RunPhase::Resting || phase_ == RunPhase::Held) {
        Finish();
        return true;
    }
    if (when == StopWhen::Now) {
        // The request holds until the show's process has ended: a window that appears only
        // now is asked too.
        phase_ = RunPhase::Finishing;
        AskShowToClose();
        ::SetTimer(setup_.window, kStopNowTimer, kStopNowRepeatMs, nullptr);
        ::SetTimer(setup_.window, kCloseGraceTimer, kCloseGraceMs, nullptr);
        icon_.reset();
        backdrop_.Remove();
        BringWindowBack();
    }
    return true;
}

void PlayRun::HoldLaunches(bool hold) {
    held_ = hold;
    if (!hold && phase_ == RunPhase::Held) LaunchNext();
}

void PlayRun::EndForGood() {
    if (phase_ != RunPhase::Over) Report(RunEvent::RunEnd);
    windowGoing_ = true;
    LetShowGo();
    KillTimers();
    icon_.reset();
    backdrop_.Remove();
    phase_ = RunPhase::Over;
}

void PlayRun::AskShowToClose() {
    if (!show_) return;
    if (watcher_) watcher_->ExpectNoHandOff();
    AskShowToEnd(show_->processId);
    // A show handed to another copy of the program is that copy's window.
    if (show_->window && ::IsWindow(show_->window)) {
        ::PostMessageW(show_->window, WM_CLOSE, 0, 0);
    }
}

void PlayRun::LetShowGo() {
    watcher_.reset();
    show_.reset();
    ::KillTimer(setup_.window, kShowTimeoutTimer);
    ::KillTimer(setup_.window, kCloseGraceTimer);
    ::KillTimer(setup_.window, kEndPollTimer);
    ::KillTimer(setup_.window, kStopNowTimer);
}

void PlayRun::Finish() {
    if (phase_ == RunPhase::Over) return;
    LetShowGo();
    KillTimers();
    phase_ = RunPhase::Over;
    icon_.reset();
    backdrop_.Remove();
    Report(RunEvent::RunEnd);
    if (windowGoing_) return;
    BringWindowBack();
    if (placementFailure_) ::PostMessageW(setup_.window, kRunErrorMessage, 0, 0);
    if (options_.onEnded) options_.onEnded();
}

void PlayRun::Report(RunEvent event, std::wstring path, std::wstring detail) {
    if (!options_.report) return;
    const bool written =
        options_.report(RunEventRecord{event, monitorNumber_, std::move(path), std::move(detail)});
    if (!written && !std::exchange(reportFailureShown_, true) && icon_) {
        icon_->ShowTip(L"Tidewell: the play log cannot be written");
    }
}

void PlayRun::BringWindowBack() {
    if (!std::exchange(windowHidden_, false) || windowGoing_ || !::IsWindow(setup_.window)) return;
    ::ShowWindow(setup_.window, SW_SHOW);
    ::SetForegroundWindow(setup_.window);
    ::BringWindowToTop(setup_.window);
}

void PlayRun::KillTimers() {
    for (UINT_PTR timer = kShowTimeoutTimer; timer <= kStopNowTimer; ++timer) {
        ::KillTimer(setup_.window, timer);
    }
}

}  // namespace tidewell
