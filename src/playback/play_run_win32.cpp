#include "playback/play_run_win32.h"

#include <system_error>
#include <thread>

#include "common/error_text.h"
#include "common/file_exists_win32.h"
#include "common/window_worker_win32.h"
#include "launch/playback_state_win32.h"
#include "copies/copy_ahead.h"
#include "playback/monitor_identity.h"
#include "playback/stop_request_win32.h"
#include "reporting/play_log_win32.h"

namespace tidewell {
namespace {

// How often a show without a watcher is checked for having ended.
constexpr UINT kEndPollMs = 250;

// A show that the run no longer follows (its start answered for a turn the run gave away, or it
// was left running when the run ended) is asked to close until it ends, for as long as a show
// asked to close is given, by a thread of its own: it may outlive the run. The handle keeps the
// process's number from naming another program meanwhile. A program that ended at once with no
// window may have handed its show to a copy of itself: that window is looked for and closed.
struct LeftShow {
    UniqueKernelHandle process;
    DWORD processId = 0;
    bool hadWindow = false;
    std::vector<HWND> slideShowsBefore;
    std::wstring program;
};

void CloseInBackground(LeftShow show, const RunTimings& timings) {
    auto close = [show = std::move(show), timings] {
        const auto ended = [&] {
            return ::WaitForSingleObject(show.process.get(), timings.askAgainMs) != WAIT_TIMEOUT;
        };
        ULONGLONG until = ::GetTickCount64() + timings.closeGraceMs;
        do {
            AskShowToEnd(show.processId);
            if (ended()) break;
        } while (::GetTickCount64() < until);
        if (show.hadWindow || show.program.empty()) return;
        until = ::GetTickCount64() + timings.handOffSearchMs;
        do {
            if (const HWND handed = HandedOffSlideShow(show.slideShowsBefore, show.program)) {
                ::PostMessageW(handed, WM_CLOSE, 0, 0);
                return;
            }
            ::Sleep(timings.handOffPollMs);
        } while (::GetTickCount64() < until);
    };
    try {
        std::thread(std::move(close)).detach();
    } catch (const std::system_error&) {
        // No thread: asked once, now.
    }
}

ShowId ShowOf(WPARAM wParam) {
    return static_cast<ShowId>(wParam);
}

}  // namespace

std::unique_ptr<PlacementWatcher> StartPlacementWatcher(WatchedShow show) {
    return std::make_unique<PlacementWatcher>(std::move(show));
}

namespace {

RunPlan PlanOf(std::vector<PlaylistEntry> queue, const RunOptions& options, const RunSetup& setup) {
    RunPlan plan{std::move(queue),
                 options.loop,
                 options.unattended,
                 options.unattended && options.showTimeoutSeconds > 0
                     ? static_cast<unsigned>(options.showTimeoutSeconds) * 1000
                     : 0,
                 static_cast<bool>(options.readNextPass),
                 setup.timings};
    plan.clock = setup.clock;
    plan.showForSeconds = options.showForSeconds;
    plan.advanceSeconds = options.advanceSeconds;
    plan.alertSource = options.alertSource;
    return plan;
}

}  // namespace

PlayRun::PlayRun(RunSetup setup, std::vector<PlaylistEntry> queue, RunOptions options)
    : setup_(std::move(setup)),
      options_(std::move(options)),
      machine_(*this, PlanOf(std::move(queue), options_, setup_)),
      alertFollower_(setup_.timings.alertLookMs, setup_.timings.alertFallbackMs) {}

PlayRun::~PlayRun() {
    KillTimers();
    CancelWake();
}

void PlayRun::Begin() {
    ::ShowWindow(setup_.window, SW_HIDE);
    windowHidden_ = true;
    if (const auto monitor = setup_.aimAtMonitor ? setup_.aimAtMonitor() : std::nullopt) {
        monitorNumber_ = monitor->number;
    }
    if (setup_.icon && setup_.dialogs) icon_.emplace(*setup_.dialogs, setup_.icon, setup_.window);
    const std::size_t count = machine_.Entries().size();
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    const bool zoneKnown = ::GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
    machine_.Begin(::GetTickCount64(),
                   RunStartDetail(count, options_.loop, zoneKnown ? zone.TimeZoneKeyName : L""));
    WatchFolders();
    if (options_.lookAtAlert) LookAtAlert();
}

// The folders' notices are waited for on threads of their own; the announcement's is made again
// after it was lost (a share away) at each look that answers.
void PlayRun::WatchFolders() {
    if (options_.lookAtAlert && !alertNotice_) {
        alertNoticeTag_ = static_cast<WPARAM>(NewShowId());
        alertNotice_ = std::make_unique<FolderNotice>(FolderOf(options_.alertSource), setup_.window,
                                                      kFolderNoticeMessage, alertNoticeTag_);
    }
    if (options_.readNextPass && !options_.settingSource.empty() && !settingNotice_) {
        settingNoticeTag_ = static_cast<WPARAM>(NewShowId());
        settingNotice_ =
            std::make_unique<FolderNotice>(FolderOf(options_.settingSource), setup_.window,
                                           kFolderNoticeMessage, settingNoticeTag_);
    }
}

void PlayRun::OnFolderNotice(WPARAM notice, LPARAM what) {
    if (machine_.State() == RunState::Over) return;
    if (notice == settingNoticeTag_) {
        if (what == FolderNotice::kChanged) {
            Tell(RunFact{.kind = RunFact::Kind::FileNoticed, .at = ::GetTickCount64()});
        } else if (what == FolderNotice::kCannotWatch) {
            settingNotice_.reset();  // its re-reads by the clock go on
        }
        return;
    }
    if (notice != alertNoticeTag_) return;  // a notice given up since
    if (what == FolderNotice::kChanged) {
        if (alertFollower_.Noticed(::GetTickCount64())) BeginLook();
        return;
    }
    alertFollower_.Watching(what == FolderNotice::kWatching);
    if (what == FolderNotice::kCannotWatch) alertNotice_.reset();
}

// By the clock: often while the folder sends no notices, now and then as a fallback while it does.
// One look at a time: a share that does not answer holds that look, and the run plays on.
void PlayRun::LookAtAlert() {
    if (machine_.State() == RunState::Over) return;
    ::SetTimer(setup_.window, kAlertLookTimer, alertFollower_.Interval(), nullptr);
    const ULONGLONG now = ::GetTickCount64();
    if (alertFollower_.TimeToLook(now)) return BeginLook();
    // What it held is judged again by the clock: its hours or its dates may be over.
    if (!alertLook_) {
        Tell(RunFact{.kind = RunFact::Kind::AlertSeen, .at = now, .entries = alertEntries_});
    }
}

void PlayRun::BeginLook() {
    auto work = std::make_unique<RunWork>();
    work->show = alertLook_ = NewShowId();
    work->alertLook = true;
    DoOnWorker<RunWork>(setup_.window, kRunWorkDoneMessage, std::move(work),
                        [look = options_.lookAtAlert](RunWork& done) {
                            try {
                                done.read = look();
                            } catch (...) {
                                // Unreadable now: the screen goes on as it was.
                            }
                        });
}

bool PlayRun::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const ULONGLONG now = ::GetTickCount64();
    switch (message) {
        case kShowPlacedMessage:
        case kHandedPlacedMessage:
            if (const auto show = shows_.find(ShowOf(wParam)); show != shows_.end()) {
                show->second.window = reinterpret_cast<HWND>(lParam);
            }
            Tell(RunFact{.kind = RunFact::Kind::Placed,
                         .at = now,
                         .show = ShowOf(wParam),
                         .handed = message == kHandedPlacedMessage});
            return true;
        case kShowEndedMessage: {
            const auto show = shows_.find(ShowOf(wParam));
            const ULONGLONG at = show != shows_.end() && show->second.watcher
                                     ? show->second.watcher->EndedAt()
                                     : now;
            Tell(RunFact{.kind = RunFact::Kind::ProcessEnded,
                         .at = at ? at : now,
                         .show = ShowOf(wParam),
                         .exitCode = static_cast<unsigned long>(lParam)});
            return true;
        }
        case kFolderNoticeMessage:
            OnFolderNotice(wParam, lParam);
            return true;
        case kHandedGoneMessage:
            Tell(RunFact{.kind = RunFact::Kind::WindowGone, .at = now, .show = ShowOf(wParam)});
            return true;
        case WM_TIMECHANGE:
            Tell(RunFact{.kind = RunFact::Kind::ClockChanged, .at = now});
            return true;
        case WM_POWERBROADCAST:
            // Asleep, the wait's timer did not count the time that passed.
            if (wParam != PBT_APMRESUMEAUTOMATIC && wParam != PBT_APMRESUMESUSPEND) return false;
            Tell(RunFact{.kind = setup_.wakeTimer && setup_.wakeTimer->RanOut()
                                     ? RunFact::Kind::Woken
                                     : RunFact::Kind::ClockChanged,
                         .at = now});
            return false;
        case kRunErrorMessage:
            if (placementFailure_) std::rethrow_exception(std::exchange(placementFailure_, {}));
            return true;
        case WM_TIMER:
            if (wParam < kRunTimerBase || wParam > kCopySweepTimer) return false;
            ::KillTimer(setup_.window, wParam);
            if (wParam == kCopySweepTimer) {
                // A long show, or a loop of one deck: what was saved on the share meanwhile is
                // copied before the next turn, not at it.
                if (!shows_.empty()) CopyNextEntry(true);
            } else if (wParam == kAlertLookTimer) {
                LookAtAlert();
            } else if (wParam == kEndPollTimer) {
                PollShowEnds();
            } else {
                Tell(RunFact{.kind = RunFact::Kind::TimerFired,
                             .at = now,
                             .timer = static_cast<RunTimer>(wParam - kRunTimerBase)});
            }
            return true;
        default:
            return false;
    }
}

void PlayRun::Tell(RunFact fact) {
    machine_.On(fact);
}

void PlayRun::TakeWork(std::unique_ptr<RunWork> work) {
    if (work->alertLook) {
        if (work->show != alertLook_) return;
        alertLook_ = 0;
        if (machine_.State() == RunState::Over) return;
        if (work->read.take) work->read.take();
        if (work->read.entries) {
            alertEntries_ = std::move(*work->read.entries);
            NameAlertDecks();
        }
        Tell(RunFact{
            .kind = RunFact::Kind::AlertSeen, .at = ::GetTickCount64(), .entries = alertEntries_});
        if (machine_.State() == RunState::Over) return;
        WatchFolders();
        if (alertFollower_.Answered(::GetTickCount64())) BeginLook();
        return;
    }
    if (work->passRead) {
        // Its effects (the file remembered as read, the window's list) wait for the run to take
        // it: ReadTaken. A read the run gave up changes nothing.
        readTold_ = work->show;
        readToldContent_ = &work->read;
        Tell(RunFact{.kind = RunFact::Kind::PassRead,
                     .at = ::GetTickCount64(),
                     .show = work->show,
                     .detail = work->read.error,
                     .entries = work->read.entries});
        readTold_ = 0;
        readToldContent_ = nullptr;
        return;
    }
    if (const auto next = startSlots_.Done(work->show)) {
        if (auto waiting = waitingStarts_.extract(*next)) {
            BeginStart(*next, waiting.mapped().path, waiting.mapped().checkExists);
        }
    }
    // Whether the run still wants this show is the run's to say: one it does not is closed.
    if (!work->process) {
        return Tell(RunFact{.kind = RunFact::Kind::Skipped,
                            .at = ::GetTickCount64(),
                            .show = work->show,
                            .unreachable = work->unreachable,
                            .detail = std::move(work->skipped)});
    }
    Launched(std::move(work));
}

void PlayRun::Launched(std::unique_ptr<RunWork> work) {
    const ShowId id = work->show;
    ShowHandles& show = shows_[id];
    show.processId = ::GetProcessId(work->process.get());
    show.process = std::move(work->process);
    show.slideShowsBefore = std::move(work->slideShowsBefore);
    try {
        show.watcher = setup_.startWatcher(WatchedShow{show.process.get(), show.processId,
                                                       setup_.window, kShowPlacedMessage,
                                                       kShowEndedMessage, static_cast<WPARAM>(id)});
    } catch (...) {
        // The show plays unplaced and the run follows its end by a poll; the reason is shown
        // once the window is back rather than with a show on screen.
        if (!placementFailure_) {
            placementFailure_ = std::current_exception();
            Report(RunEvent::Error, work->path, UserErrorText(placementFailure_));
        }
        ::SetTimer(setup_.window, kEndPollTimer, kEndPollMs, nullptr);
    }
    if (work->copiedAt) copyTime_ = FormatIsoTime(LocalTimestampAt(work->copiedAt));
    share_ = work->share;
    Tell(RunFact{.kind = RunFact::Kind::Launched,
                 .at = work->launchedAt,
                 .show = id,
                 .detail = std::move(work->startDetail)});
    copyTime_.clear();
    share_ = ShareAnswer::None;
    CopyNextEntry();
}

void PlayRun::PollShowEnds() {
    bool anyLeft = false;
    for (auto& [id, show] : shows_) {
        if (show.watcher || !show.process) continue;
        if (::WaitForSingleObject(show.process.get(), 0) == WAIT_TIMEOUT) {
            anyLeft = true;
            continue;
        }
        DWORD exitCode = 0;
        ::GetExitCodeProcess(show.process.get(), &exitCode);
        ::PostMessageW(setup_.window, kShowEndedMessage, static_cast<WPARAM>(id), exitCode);
    }
    if (anyLeft) ::SetTimer(setup_.window, kEndPollTimer, kEndPollMs, nullptr);
}

void PlayRun::CoverScreen() {
    if (const auto monitor = setup_.aimAtMonitor ? setup_.aimAtMonitor() : std::nullopt) {
        monitorNumber_ = monitor->number;
        backdropUp_ = backdrop_.Cover(monitor->bounds);
    }
}

void PlayRun::NextSlide(ShowId id) {
    const auto found = shows_.find(id);
    if (found == shows_.end() || !found->second.window || !::IsWindow(found->second.window)) return;
    // The key a presenter's clicker sends; after the last slide it ends the show.
    ::PostMessageW(found->second.window, WM_KEYDOWN, VK_NEXT, 1);
    ::PostMessageW(found->second.window, WM_KEYUP, VK_NEXT, 0xC0000001);
}

void PlayRun::StartShow(ShowId show, const std::wstring& path, bool checkExists) {
    // From the first launch on, the monitor shows black between two shows, never the desktop.
    CoverScreen();
    if (startSlots_.Ask(show)) return BeginStart(show, path, checkExists);
    waitingStarts_.clear();
    waitingStarts_[show] = WaitingStart{path, checkExists};
}

void PlayRun::BeginStart(ShowId show, const std::wstring& path, bool checkExists) {
    auto work = std::make_unique<RunWork>();
    work->show = show;
    work->path = path;
    DoOnWorker<RunWork>(
        setup_.window, kRunWorkDoneMessage, std::move(work),
        [path, checkExists, launch = setup_.launch, copies = setup_.copies,
         // A first copy is waited for no longer than a show's window would be.
         firstCopyWait = std::chrono::milliseconds(checkExists && options_.showTimeoutSeconds > 0
                                                       ? options_.showTimeoutSeconds * 1000
                                                       : 0)](RunWork& done) {
            std::wstring play = path;
            if (copies) {
                const PreparedShow prepared = copies->Prepare(path, checkExists, firstCopyWait);
                if (prepared.playPath.empty()) {
                    done.skipped = prepared.skipped;
                    done.unreachable = prepared.unreachable;
                    return;
                }
                play = prepared.playPath;
                done.startDetail = ShowStartDetail(prepared);
                if (!prepared.copyNote.empty()) done.copiedAt = prepared.copiedAt;
                done.share = prepared.share;
            } else if (checkExists && !FileExists(path)) {
                done.skipped = L"the presentation cannot be found";
                return;
            }
            done.slideShowsBefore = SlideShowWindowsOnScreen();
            done.process = launch(play);
            done.launchedAt = ::GetTickCount64();
            if (!done.process) done.skipped = L"the presentation program could not be started";
        });
}

// The copies are brought up to date while this show plays, so that the turns to come do not wait
// for the share: at its start, and at each sweep's time while it lasts.
void PlayRun::CopyNextEntry(bool sweepNow) {
    const std::vector<PlaylistEntry>& entries = machine_.Entries();
    if (!setup_.copies || entries.empty() || position_ == 0) return;
    ::SetTimer(setup_.window, kCopySweepTimer, setup_.timings.copySweepMs, nullptr);
    // One copy at a time: a share that stalls holds that one, and no more pile up behind it.
    if (copyUnderway_->exchange(true)) return;
    const ULONGLONG now = ::GetTickCount64();
    const bool sweep =
        sweepNow || lastSweep_ == 0 || now - lastSweep_ >= setup_.timings.copySweepMs;
    if (sweep) lastSweep_ = now;
    try {
        std::thread([copies = setup_.copies, underway = copyUnderway_,
                     decks = CopyAheadOrder(entries, position_ % entries.size(), alertEntries_,
                                            sweep)] {
            for (const std::wstring& deck : decks) copies->Refresh(deck);
            underway->store(false);
        }).detach();
    } catch (const std::system_error&) {
        // No thread: the copy is brought up to date at the entry's turn instead.
        copyUnderway_->store(false);
    }
}

// The announcement's decks are named to the clean-up as long as the run may play them.
void PlayRun::NameAlertDecks() {
    if (!setup_.copies || alertEntries_.empty()) return;
    std::vector<std::wstring> decks;
    for (const PlaylistEntry& entry : alertEntries_) decks.push_back(entry.path);
    try {
        std::thread([copies = setup_.copies, decks] { copies->Name(decks); }).detach();
    } catch (const std::system_error&) {
        // No thread: they are named at the next look that brings them.
    }
}

void PlayRun::ReadNextPass(ShowId read) {
    auto work = std::make_unique<RunWork>();
    work->show = read;
    work->passRead = true;
    DoOnWorker<RunWork>(
        setup_.window, kRunWorkDoneMessage, std::move(work),
        [reader = options_.readNextPass](RunWork& done) {
            try {
                done.read = reader();
            } catch (...) {
                done.read = FollowedRead{std::nullopt, UserErrorText(std::current_exception()), {}};
            }
        });
}

void PlayRun::ReadTaken(ShowId read) {
    if (read != readTold_ || !readToldContent_) return;
    FollowedRead& content = *readToldContent_;
    if (content.take) content.take();
    if (content.entries && options_.takeNextPass) options_.takeNextPass(*content.entries);
}

void PlayRun::AskToClose(ShowId id) {
    const auto found = shows_.find(id);
    if (found == shows_.end()) return;
    ShowHandles& show = found->second;
    if (show.watcher) show.watcher->StopPlacing();
    // Once the process has ended its number may name another program's.
    if (show.process && ::WaitForSingleObject(show.process.get(), 0) == WAIT_TIMEOUT) {
        AskShowToEnd(show.processId);
    }
    // A show handed to another copy of the program is that copy's window.
    if (show.window && ::IsWindow(show.window)) ::PostMessageW(show.window, WM_CLOSE, 0, 0);
}

void PlayRun::LetGo(ShowId show) {
    shows_.erase(show);
}

void PlayRun::CloseLeft(ShowId id) {
    const auto found = shows_.find(id);
    if (found == shows_.end()) return;
    ShowHandles show = std::move(found->second);
    shows_.erase(found);
    show.watcher.reset();
    if (!show.process) return;
    AskShowToEnd(show.processId);
    CloseInBackground(LeftShow{std::move(show.process), show.processId, show.window != nullptr,
                               std::move(show.slideShowsBefore), setup_.program},
                      setup_.timings);
}

void PlayRun::LookForHandedShow(ShowId id) {
    const auto found = shows_.find(id);
    if (found == shows_.end() || found->second.window) return;
    ShowHandles& show = found->second;
    const HWND handed = HandedOffSlideShow(show.slideShowsBefore, setup_.program);
    if (!handed) return;
    show.window = handed;
    // Not waiting for the other program to take the move: this is the window's thread.
    PlaceShowWindow(handed, false);
    ::PostMessageW(setup_.window, kHandedPlacedMessage, static_cast<WPARAM>(id),
                   reinterpret_cast<LPARAM>(handed));
}

void PlayRun::CheckHandedShow(ShowId id) {
    const auto found = shows_.find(id);
    if (found == shows_.end()) return;
    const HWND window = found->second.window;
    if (!window || !::IsWindow(window) || !::IsWindowVisible(window)) {
        ::PostMessageW(setup_.window, kHandedGoneMessage, static_cast<WPARAM>(id), 0);
    }
}

void PlayRun::SetTimer(RunTimer timer, unsigned milliseconds) {
    ::SetTimer(setup_.window, kRunTimerBase + static_cast<UINT_PTR>(timer), milliseconds, nullptr);
}

void PlayRun::KillTimer(RunTimer timer) {
    ::KillTimer(setup_.window, kRunTimerBase + static_cast<UINT_PTR>(timer));
}

void PlayRun::Report(RunEvent event, const std::wstring& path, const std::wstring& detail) {
    if (event == RunEvent::Waiting && icon_) icon_->ShowTip(L"Tidewell: " + detail);
    if (event == RunEvent::AlertStart && icon_) icon_->ShowTip(L"Tidewell: announcement");
    if (!options_.report) return;
    RunEventRecord record{event, monitorNumber_, path, detail, position_, count_};
    if (event == RunEvent::Waiting) record.nextShow = std::exchange(nextShow_, {});
    if (event == RunEvent::ShowStart) {
        record.copyTime = copyTime_;
        record.share = share_;
    }
    record.monitorGone = monitorGone_;
    const bool written = options_.report(record);
    if (!written && !std::exchange(reportFailureShown_, true) && icon_) {
        icon_->ShowTip(L"Tidewell: the play log cannot be written");
    }
}

void PlayRun::ShowProgress(std::size_t position, std::size_t count, const std::wstring& path) {
    position_ = position;
    count_ = count;
    if (icon_) icon_->ShowProgress(position, count, path);
}

void PlayRun::GiveScreenBack() {
    screenGivenBack_ = true;
    if (icon_) icon_->Remove();
    backdrop_.Remove();
    backdropUp_ = false;
    BringWindowBack();
}

void PlayRun::Ended() {
    ::KillTimer(setup_.window, kEndPollTimer);
    ::KillTimer(setup_.window, kAlertLookTimer);
    ::KillTimer(setup_.window, kCopySweepTimer);
    alertNotice_.reset();
    settingNotice_.reset();
    GiveScreenBack();
    if (placementFailure_) ::PostMessageW(setup_.window, kRunErrorMessage, 0, 0);
    if (options_.onEnded) options_.onEnded();
}

void PlayRun::StateChanged(RunState from, RunState to, const RunFact& cause) {
    if (options_.onStateChanged) options_.onStateChanged(from, to, cause);
}

void PlayRun::ArmWake(unsigned milliseconds) {
    if (!setup_.wakeTimer || setup_.wakeTimer->Arm(milliseconds)) return;
    if (!std::exchange(wakeFailureShown_, true)) {
        Report(RunEvent::Error, {},
               L"this computer cannot be woken by a timer: a show due while it sleeps starts when "
               L"it wakes");
    }
}

void PlayRun::CancelWake() {
    if (setup_.wakeTimer) setup_.wakeTimer->Cancel();
}

void PlayRun::NextShowAt(const std::string& isoTime) {
    nextShow_ = isoTime;
}

bool PlayRun::Stop(StopWhen when) {
    if (!machine_.Playing()) return false;
    Tell(RunFact{.kind = RunFact::Kind::StopAsked, .at = ::GetTickCount64(), .stop = when});
    return true;
}

void PlayRun::HoldLaunches(bool hold) {
    Tell(RunFact{.kind = hold ? RunFact::Kind::Hold : RunFact::Kind::Release,
                 .at = ::GetTickCount64()});
}

void PlayRun::DisplayChanged() {
    if (machine_.State() == RunState::Over || screenGivenBack_) return;
    const auto monitor = setup_.aimAtMonitor ? setup_.aimAtMonitor() : std::nullopt;
    if (!monitor) {
        // Windows would move the backdrop onto another monitor, over whatever is there.
        backdrop_.Remove();
        if (std::exchange(monitorGone_, true)) return;
        return Tell(RunFact{
            .kind = RunFact::Kind::MonitorGone,
            .at = ::GetTickCount64(),
            .detail = setup_.missingMonitor
                          ? setup_.missingMonitor()
                          : L"monitor " + std::to_wstring(monitorNumber_) + L" is not connected"});
    }
    monitorNumber_ = monitor->number;
    if (backdropUp_) backdrop_.Cover(monitor->bounds);
    for (const auto& [id, show] : shows_) {
        if (show.window && ::IsWindow(show.window)) PlaceShowWindow(show.window, false);
    }
    if (std::exchange(monitorGone_, false)) {
        // Said at once, not with the next show, which may be a long one's end away.
        Report(RunEvent::MonitorMoved, {}, MonitorConnectedAgainLine(monitorNumber_));
        Tell(RunFact{.kind = RunFact::Kind::MonitorBack, .at = ::GetTickCount64()});
    }
}

void PlayRun::EndForGood() {
    windowGoing_ = true;
    Tell(RunFact{.kind = RunFact::Kind::WindowGoing, .at = ::GetTickCount64()});
    shows_.clear();
    alertNotice_.reset();
    settingNotice_.reset();
    KillTimers();
    if (icon_) icon_->Remove();
    backdrop_.Remove();
}

void PlayRun::BringWindowBack() {
    if (!std::exchange(windowHidden_, false) || windowGoing_ || !::IsWindow(setup_.window)) return;
    ::ShowWindow(setup_.window, SW_SHOW);
    ::SetForegroundWindow(setup_.window);
    ::BringWindowToTop(setup_.window);
}

void PlayRun::KillTimers() {
    for (UINT_PTR timer = kRunTimerBase; timer <= kCopySweepTimer; ++timer) {
        ::KillTimer(setup_.window, timer);
    }
}

}  // namespace tidewell
