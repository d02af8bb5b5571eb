#include "run/run_machine.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <utility>

namespace tidewell {
namespace {

using Kind = RunFact::Kind;

// The timers each state may have running; entering a state stops every other one.
constexpr bool Keeps(RunState state, RunTimer timer) {
    switch (state) {
        case RunState::Showing:
            return timer == RunTimer::ShowTimeout || timer == RunTimer::HandedGoneCheck ||
                   timer == RunTimer::ShowFor || timer == RunTimer::NextSlide;
        case RunState::AwaitingHandOff:
            // A time-out shorter than the search still counts: the handed show is then asked to
            // close as soon as it appears.
            return timer == RunTimer::ShowTimeout || timer == RunTimer::HandOffSearch ||
                   timer == RunTimer::HandOffPoll;
        case RunState::Closing:
            return timer == RunTimer::CloseGrace || timer == RunTimer::AskAgain ||
                   timer == RunTimer::HandedGoneCheck;
        case RunState::Resting:
            return timer == RunTimer::Rest;
        case RunState::Launching:
            return timer == RunTimer::Slow;
        case RunState::AwaitingTime:
            // The wait for a time may read the setting file again.
            return timer == RunTimer::Due || timer == RunTimer::Slow;
        case RunState::AwaitingReach:
            return timer == RunTimer::Rest;
        default:
            return false;
    }
}

std::wstring Seconds(unsigned milliseconds) {
    return std::to_wstring(milliseconds / 1000) + L" s";
}

// The longest single wait for an entry's time; the clock is read again after it, so that a
// time far ahead still fits a timer.
constexpr std::chrono::seconds kLongestDueWait = std::chrono::hours(6);

// "2026-12-07T07:00:00.000+01:00": the moment as the status file writes every time.
std::string IsoTime(Instant moment, std::chrono::seconds offset) {
    using namespace std::chrono;
    const local_seconds local(moment.time_since_epoch() + offset);
    const local_days day = floor<days>(local);
    const year_month_day date(day);
    const hh_mm_ss time(local - day);
    return FormatIsoTime(LocalTimestamp{
        static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
        static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()), 0,
        static_cast<int>(offset.count() / 60)});
}

}  // namespace

ShowId NewShowId() {
    static std::atomic<ShowId> last{0};
    return ++last;
}

RunMachine::RunMachine(RunActions& actions, RunPlan plan)
    : actions_(actions),
      plan_(std::move(plan)),
      entries_(std::move(plan_.entries)),
      progress_(entries_.size(), plan_.loop),
      pacing_(plan_.timings.firstRestMs, plan_.timings.longestRestMs),
      alertPacing_(plan_.timings.firstRestMs, plan_.timings.longestRestMs) {}

std::optional<ShowId> RunMachine::CurrentShow() const {
    if (!show_) return std::nullopt;
    return show_->id;
}

void RunMachine::Begin(RunClock now, const std::wstring& startDetail) {
    Report(RunEvent::RunStart, startDetail);
    Next(RunFact{Kind::Begun, now});
}

void RunMachine::On(const RunFact& fact) {
    switch (fact.kind) {
        case Kind::Begun:
            return;
        case Kind::Launched:
        case Kind::Skipped:
        case Kind::Placed:
        case Kind::ProcessEnded:
        case Kind::WindowGone:
            return OnShowFact(fact);
        case Kind::TimerFired:
            return OnTimer(fact);
        case Kind::StopAsked:
            return OnStop(fact);
        case Kind::Hold:
            held_ = true;
            return;
        case Kind::Release:
            held_ = false;
            if (state_ == RunState::Held) Next(fact);
            return;
        case Kind::MonitorGone:
            monitorGone_ = true;
            monitorGoneDetail_ = fact.detail;
            if (state_ != RunState::Over) ReportWaiting(fact.detail, fact);
            return;
        case Kind::MonitorBack:
            monitorGone_ = false;
            if (state_ == RunState::AwaitingMonitor) return Next(fact);
            // Waiting for a time again, rather than for the monitor.
            if (state_ == RunState::AwaitingTime) return AwaitTime(fact);
            if (show_ && show_->started && !show_->alertEntry && state_ != RunState::Over) {
                actions_.ShowProgress(progress_.Position(), progress_.Count(),
                                      entries_[show_->entry].path);
            }
            return;
        case Kind::PassRead:
            return OnPassRead(fact);
        case Kind::ClockChanged:
            if (state_ == RunState::AwaitingTime) AwaitTime(fact);
            return;
        case Kind::Woken:
            if (state_ != RunState::AwaitingTime) return;
            Report(RunEvent::Wake, L"woken from sleep for the next show");
            return AwaitTime(fact);
        case Kind::AlertSeen:
            return OnAlertSeen(fact);
        case Kind::FileNoticed:
            // A save while the run waits for a time is read now, not at the next re-read.
            if (state_ == RunState::AwaitingTime && plan_.readsNextPass && !readUnanswered_) {
                ReadAgain();
            }
            return;
        case Kind::WindowGoing:
            windowGoing_ = true;
            if (state_ != RunState::Over) {
                if (std::exchange(alertOn_, false)) {
                    actions_.Report(RunEvent::AlertEnd, plan_.alertSource, {});
                }
                Report(RunEvent::RunEnd);
            }
            if (show_) actions_.LetGo(show_->id);
            show_.reset();
            for (const Closing& closing : std::exchange(stillClosing_, {})) {
                actions_.LetGo(closing.id);
            }
            return Enter(RunState::Over, fact);
    }
}

// Entries outside their days, hours or dates are passed over in this pass.
void RunMachine::Next(const RunFact& cause) {
    for (;;) {
        if (windowGoing_ || stop_) return Finish(cause);
        if (held_) return Enter(RunState::Held, cause);
        if (monitorGone_) {
            EnterWaiting(RunState::AwaitingMonitor, cause);
            // What the run waits for now, also when the monitor went while a show played.
            return ReportWaiting(monitorGoneDetail_, cause);
        }
        if (AlertMayPlay(cause.at)) return LaunchAlert(cause);
        // Held back while something else had the screen (a rest, the announcement), and nothing
        // of the list may play now: the run waits for its time again.
        if (pending_ && !AnyDueNow()) return AwaitTime(cause);
        std::optional<std::size_t> entry = std::exchange(pending_, std::nullopt);
        if (!entry) {
            entry = progress_.NextEntry();
            if (!entry && AwaitReach(cause)) return;
            if (!entry || *entry >= entries_.size()) return Finish(cause);
            if (*entry == 0) reachedInPass_ = unreachableInPass_ = false;
            if (!std::exchange(begun_, true) && !AnyDueNow()) {
                pending_ = entry;
                return AwaitTime(cause);
            }
            // A read that a share still holds from before is not joined by another: the list
            // plays on as it is.
            if (progress_.NewPass()) {
                if (!plan_.readsNextPass || readUnanswered_) return BeginPass(*entry, cause);
                pending_ = entry;
                Enter(RunState::Launching, cause);
                return ReadAgain();
            }
        }
        if (DueNow(entries_[*entry])) return Launch(*entry, cause);
        // Passed over for its time, not for a failure: neither due nor started, so that a loop
        // goes on to its next pass, which waits for a time if nothing is due then.
    }
}

// Reads the followed setting file again; an answer that does not come in time is given up.
void RunMachine::ReadAgain() {
    passRead_ = readUnanswered_ = NewShowId();
    Disarm(RunTimer::Slow);
    Arm(RunTimer::Slow, plan_.timings.slowStepMs);
    actions_.ReadNextPass(passRead_);
}

// A read belongs to the wait that asked for it: a show started meanwhile, or any other state, has
// given it up, and its answer is then dropped without the file being taken as read.
void RunMachine::GiveUpRead() {
    if (!std::exchange(passRead_, 0)) return;
    Disarm(RunTimer::Slow);
}

void RunMachine::OnPassRead(const RunFact& fact) {
    if (fact.show == readUnanswered_) readUnanswered_ = 0;
    const bool waiting = state_ == RunState::AwaitingTime;
    if (!WantsRead(fact.show)) return;
    passRead_ = 0;
    Disarm(RunTimer::Slow);
    actions_.ReadTaken(fact.show);
    // A failed read plays the list on as it was: a screen never goes dark over a bad copy.
    if (!fact.detail.empty()) Report(RunEvent::Error, fact.detail);
    // The same list read again (its file is read while a deck it names is missing) changes nothing.
    if (fact.entries && *fact.entries != entries_) {
        entries_ = *fact.entries;
        progress_.SetCount(entries_.size());
        // A list changed while the run waited plays from its top.
        if (waiting) {
            progress_.Rewind();
            pending_ = 0;
        }
    }
    if (entries_.empty()) return Finish(fact);
    if (waiting) return AwaitTime(fact);
    return BeginPass(0, fact);
}

bool RunMachine::DueNow(const PlaylistEntry& entry) const {
    return !plan_.clock || !entry.settings.HasSchedule() ||
           IsDue(entry.settings, plan_.clock->now(), plan_.clock->offsetAt);
}

bool RunMachine::AnyDueNow() const {
    return std::ranges::any_of(entries_, [this](const PlaylistEntry& e) { return DueNow(e); });
}

std::optional<Instant> RunMachine::NextDueOfWaiting() const {
    if (!plan_.clock) return std::nullopt;
    const ScheduleClock& clock = *plan_.clock;
    const Instant now = clock.now();
    std::optional<Instant> next;
    for (const PlaylistEntry& entry : entries_) {
        if (DueNow(entry)) continue;
        const auto due = NextDue(entry.settings, now, clock.offsetAt);
        if (due && (!next || *due < *next)) next = due;
    }
    return next;
}

// A moment later than due rather than before it: the clock is read in whole seconds.
// Capped, for a window timer: the clock is read again after the longest wait. Uncapped, for the
// wake, which is for the show itself, not for that re-read; kept within what a timer counts.
unsigned RunMachine::RealMsUntil(Instant moment, bool capped) const {
    using namespace std::chrono;
    const seconds longest = capped ? duration_cast<seconds>(kLongestDueWait) : hours(24 * 40);
    const auto wait = std::min(moment - plan_.clock->now(), longest);
    return static_cast<unsigned>(std::max<long long>(wait.count(), 0) * 1000 / plan_.clock->rate +
                                 1);
}

// The time of the next show goes with the line that says it, never with a later one.
void RunMachine::ReportWaiting(std::wstring detail, const RunFact& cause, std::string nextShow) {
    if (detail == waitingSaid_ && cause.kind != Kind::ClockChanged) return;
    if (!nextShow.empty()) actions_.NextShowAt(nextShow);
    Report(RunEvent::Waiting, detail);
    waitingSaid_ = std::move(detail);
}

void RunMachine::EnterWaiting(RunState state, const RunFact& cause) {
    if (state_ != state) waitingSaid_.clear();
    Enter(state, cause);
}

// Nothing may play now: the run waits, the monitor covered, for the first moment an entry may,
// read from the clock again when the wait is over or the clock is changed. A run that follows
// its setting file reads it again meanwhile, and waits even when nothing in it will ever be due:
// the file may bring what is.
void RunMachine::AwaitTime(const RunFact& cause) {
    if (AlertMayPlay(cause.at) || AnyDueNow()) return Next(cause);
    const ScheduleClock& clock = *plan_.clock;
    const Instant now = clock.now();
    const std::optional<Instant> next = NextDueOfWaiting();
    if (!next && !plan_.readsNextPass) {
        Report(RunEvent::Waiting, L"no presentation plays again: their dates are over");
        return Finish(cause);
    }
    EnterWaiting(RunState::AwaitingTime, cause);
    actions_.CoverScreen();
    std::wstring detail = L"nothing in the list is due any more";
    std::string nextShow;
    if (next) {
        detail = std::wstring(kNextShowPrefix) +
                 NextShowText(LocalTime((*next + clock.offsetAt(*next)).time_since_epoch()),
                              LocalTime((now + clock.offsetAt(now)).time_since_epoch()));
        nextShow = IsoTime(*next, clock.offsetAt(*next));
    }
    // A monitor switched off is waited for as well: the time alone would not bring the show.
    if (monitorGone_) {
        ReportWaiting(monitorGoneDetail_, cause);
    } else {
        ReportWaiting(std::move(detail), cause, std::move(nextShow));
    }
    unsigned ms = next ? RealMsUntil(*next) : plan_.timings.followReadMs;
    // Asleep, the computer would miss the show: it is woken a little before.
    const unsigned showIn = next ? RealMsUntil(*next, false) : 0;
    if (next && showIn > plan_.timings.wakeAheadMs) {
        wakeArmed_ = true;
        actions_.ArmWake(showIn - plan_.timings.wakeAheadMs);
    } else if (std::exchange(wakeArmed_, false)) {
        actions_.CancelWake();
    }
    if (plan_.readsNextPass) ms = std::min(ms, plan_.timings.followReadMs);
    Disarm(RunTimer::Due);
    Arm(RunTimer::Due, ms);
}

// The announcement is looked at every few seconds: it begins when one of its entries may play,
// and ends when none may any more (its file gone or emptied, its dates or hours over).
// Once a stop is asked, an announcement no longer takes the screen: the show on it ends as asked
// and the run ends, rather than closing it for a deck that would never play.
void RunMachine::OnAlertSeen(const RunFact& fact) {
    if (state_ == RunState::Over || (stop_ && !alertOn_)) return;
    alertEntries_ = fact.entries.value_or(std::vector<PlaylistEntry>{});
    const bool due =
        std::ranges::any_of(alertEntries_, [this](const PlaylistEntry& e) { return DueNow(e); });
    if (due == alertOn_) {
        // Its pause after failures is over: it is tried again, and the list gives way.
        if (!due || !alertResumeAt_ || fact.at < alertResumeAt_ || stop_) return;
        alertResumeAt_ = 0;
        alertSkips_ = 0;
        return GiveWayToAlert(fact);
    }
    alertOn_ = due;
    alertNext_ = 0;
    alertSkips_ = 0;
    alertResumeAt_ = 0;
    alertPacing_ = PassPacing(plan_.timings.firstRestMs, plan_.timings.longestRestMs);
    actions_.Report(due ? RunEvent::AlertStart : RunEvent::AlertEnd, plan_.alertSource, {});
    if (stop_) return;  // the announcement that played ends with the run's last show
    GiveWayToAlert(fact);
}

// The show of the side that lost its turn is asked to close at once, as "Stop now" asks; the
// list's show that the announcement interrupted plays again from its start afterwards.
void RunMachine::GiveWayToAlert(const RunFact& cause) {
    if (show_ && !show_->alertEntry && alertOn_) pending_ = show_->entry;
    const bool lostTurn = show_ && show_->alertEntry.has_value() != alertOn_;
    switch (state_) {
        case RunState::Resting:
        case RunState::AwaitingTime:
        case RunState::AwaitingReach:
            return Next(cause);
        case RunState::Launching:
            // Neither a read of the next pass nor a start that a share holds keeps the other side
            // waiting: the read is given up, the start let go (closed if it answers after all).
            if (!show_) {
                GiveUpRead();
                return Next(cause);
            }
            if (lostTurn) {
                Abandon();
                return Next(cause);
            }
            return;
        case RunState::AwaitingHandOff:
            // Closed as soon as its handed window appears.
            if (lostTurn) show_->askedToClose = true;
            return;
        case RunState::Showing:
            if (lostTurn) AskToClose(cause);
            return;
        default:
            return;  // it ends, or the run waits for the session or the monitor, first
    }
}

// The show being started is no longer wanted: whatever its start brings back is closed.
void RunMachine::Abandon() {
    show_.reset();
    Disarm(RunTimer::Slow);
}

// After a whole round of the announcement's entries failed, the list plays meanwhile (a broken
// announcement never holds a lobby black), and the announcement is tried again after a pause
// that grows while the failures go on.
void RunMachine::PauseAlert(const RunFact& cause) {
    alertSkips_ = 0;
    const unsigned pause = alertPacing_.RestBeforeNextPass();
    alertResumeAt_ = cause.at + pause;
    Report(RunEvent::Waiting, L"no announcement could be started: the list plays, and the "
                              L"announcement is tried again in " +
                                  Seconds(pause));
    waitingSaid_.clear();
    Next(cause);
}

// The announcement's entries play in a loop, each in its turn when it may play now. When none of
// them could be started in a whole round, the run rests before it tries again.
void RunMachine::LaunchAlert(const RunFact& cause) {
    if (alertSkips_ >= alertEntries_.size()) return PauseAlert(cause);
    for (std::size_t tried = 0; tried < alertEntries_.size(); ++tried) {
        const std::size_t index = alertNext_++ % alertEntries_.size();
        if (!DueNow(alertEntries_[index])) continue;
        GiveUpRead();
        show_.emplace();
        show_->id = NewShowId();
        show_->alertEntry = alertEntries_[index];
        Enter(RunState::Launching, cause);
        Arm(RunTimer::Slow, plan_.timings.slowStepMs);
        return actions_.StartShow(show_->id, show_->alertEntry->path, plan_.unattended);
    }
    // None may play at this moment after all: the next look ends the announcement.
    Enter(RunState::Resting, cause);
    Arm(RunTimer::Rest, plan_.timings.firstRestMs);
}

// A looping unattended run whose pass reached nothing (the share of every entry away, no copy of
// any) waits with the monitor covered and tries the list again, however long that takes: a
// network that hiccups must not bring the window up in an empty lobby.
bool RunMachine::AwaitReach(const RunFact& cause) {
    if (!plan_.loop || !plan_.unattended || stop_ || reachedInPass_ || !unreachableInPass_) {
        return false;
    }
    progress_.RetryPass();
    Enter(RunState::AwaitingReach, cause);
    actions_.CoverScreen();
    if (!std::exchange(awaitingReach_, true)) {
        Report(RunEvent::Waiting, L"no presentation can be reached: trying again every " +
                                      Seconds(plan_.timings.unreachableRetryMs));
    }
    Arm(RunTimer::Rest, plan_.timings.unreachableRetryMs);
    return true;
}

void RunMachine::ArmShowTimers() {
    const EntrySettings& settings = EntryOf(*show_).settings;
    if (const auto seconds =
            settings.showForSeconds ? settings.showForSeconds : plan_.showForSeconds) {
        Arm(RunTimer::ShowFor, static_cast<unsigned>(*seconds) * 1000);
    }
    if (const auto seconds =
            settings.advanceSeconds ? settings.advanceSeconds : plan_.advanceSeconds) {
        Arm(RunTimer::NextSlide, static_cast<unsigned>(*seconds) * 1000);
    }
}

void RunMachine::BeginPass(std::size_t entry, const RunFact& cause) {
    pending_ = entry;
    if (!AnyDueNow()) return AwaitTime(cause);
    // After a wait for the share, no rest on top of it.
    if (unsigned rest = awaitingReach_ ? 0 : pacing_.RestBeforeNextPass()) {
        // The rest never makes a scheduled entry start later than its time.
        if (const auto due = NextDueOfWaiting()) rest = std::min(rest, RealMsUntil(*due));
        Report(RunEvent::Waiting, L"no show lasted in the last pass: resting " + Seconds(rest));
        Enter(RunState::Resting, cause);
        return Arm(RunTimer::Rest, rest);
    }
    Next(cause);
}

void RunMachine::Launch(std::size_t entry, const RunFact& cause) {
    GiveUpRead();
    show_.emplace();
    show_->id = NewShowId();
    show_->entry = entry;
    progress_.EntryDue();
    Enter(RunState::Launching, cause);
    Disarm(RunTimer::Slow);
    Arm(RunTimer::Slow, plan_.timings.slowStepMs);
    actions_.StartShow(show_->id, entries_[entry].path, plan_.unattended);
}

// A fact of a show that is not the run's current one.
void RunMachine::OnUnwantedShowFact(const RunFact& fact) {
    const auto closing = std::ranges::find(stillClosing_, fact.show, &Closing::id);
    if (closing == stillClosing_.end()) {
        // Started for a turn the run gave away (or for an earlier run): closed, never left on
        // screen with nobody to close it. Anything else of such a show is an earlier one's.
        if (fact.kind != Kind::Launched) return;
        if (state_ == RunState::Over) return actions_.CloseLeft(fact.show);
        stillClosing_.push_back(Closing{fact.show, fact.at, false});
        return actions_.AskToClose(fact.show);
    }
    // A show that was left running after it was asked to close: asked again for every window it
    // shows, however late, until its process has ended.
    if (fact.kind == Kind::Placed) {
        closing->placed = true;
        actions_.AskToClose(fact.show);
    }
    if (fact.kind == Kind::ProcessEnded) {
        // Ended at once with no window: it may have handed its show to a copy of the program
        // that runs already, which shows it later. Whatever outlives the run closes that too.
        const bool mayHaveHanded =
            !closing->placed && fact.at - closing->launched < plan_.timings.handOffWithinMs;
        stillClosing_.erase(closing);
        if (mayHaveHanded) return actions_.CloseLeft(fact.show);
        actions_.LetGo(fact.show);
    }
}

void RunMachine::OnShowFact(const RunFact& fact) {
    if (!show_ || show_->id != fact.show) return OnUnwantedShowFact(fact);
    Show& show = *show_;
    const std::wstring& path = EntryOf(show).path;
    switch (fact.kind) {
        case Kind::Launched:
            if (show.started) return;
            show.started = true;
            Disarm(RunTimer::Slow);
            show.launched = fact.at;
            if (show.alertEntry) {
                alertSkips_ = 0;
            } else {
                reachedInPass_ = true;
                awaitingReach_ = false;
                progress_.ShowStarted();
                // The position first, so that the show's start is reported with it.
                actions_.ShowProgress(progress_.Position(), progress_.Count(), path);
            }
            Report(RunEvent::ShowStart, fact.detail);
            // Stopped, or its turn taken by the announcement or its end, while it was being
            // started.
            if (stop_ || show.askedToClose) return AskToClose(fact);
            Enter(RunState::Showing, fact);
            if (plan_.unattended && plan_.showTimeoutMs > 0) {
                Arm(RunTimer::ShowTimeout, plan_.showTimeoutMs);
            }
            return;
        case Kind::Skipped:
            if (show.started) return;
            Disarm(RunTimer::Slow);
            if (show.alertEntry) {
                ++alertSkips_;
            } else {
                (fact.unreachable ? unreachableInPass_ : reachedInPass_) = true;
            }
            Report(RunEvent::ShowSkipped, fact.detail);
            show_.reset();
            return Next(fact);
        case Kind::Placed:
            if (!show.started || show.placed) return;
            show.placed = true;
            show.handed = fact.handed;
            Report(RunEvent::ShowPlaced);
            if (show.askedToClose) return AskToClose(fact);
            Enter(RunState::Showing, fact);
            Disarm(RunTimer::ShowTimeout);
            if (show.handed) Arm(RunTimer::HandedGoneCheck, plan_.timings.handedGoneCheckMs);
            return ArmShowTimers();
        case Kind::ProcessEnded:
            if (!show.started || show.processEnded) return;
            show.processEnded = true;
            show.endedAt = fact.at;
            show.exitCode = fact.exitCode;
            if (show.handed) return;  // the show is the other copy's window
            // Also when it was asked to close before it ended: the copy it handed the show to
            // would show it later, with nobody to close it. It is asked once it appears.
            if (!show.placed && fact.at - show.launched < plan_.timings.handOffWithinMs) {
                Enter(RunState::AwaitingHandOff, fact);
                Arm(RunTimer::HandOffSearch, plan_.timings.handOffSearchMs);
                return Arm(RunTimer::HandOffPoll, plan_.timings.handOffPollMs);
            }
            return EndShow(fact.at, fact);
        case Kind::WindowGone:
            if (show.handed) EndShow(fact.at, fact);
            return;
        default:
            return;
    }
}

void RunMachine::OnTimer(const RunFact& fact) {
    if (!Armed(fact.timer)) return;  // stopped while its message was on the way
    armed_[static_cast<std::size_t>(fact.timer)] = false;
    const RunTimings& timings = plan_.timings;
    switch (fact.timer) {
        case RunTimer::ShowTimeout:
            Report(RunEvent::ShowTimeout,
                   L"no show window after " + Seconds(plan_.showTimeoutMs) + L": asked to close");
            // A show still looked for in another copy is asked as soon as it appears.
            if (state_ == RunState::AwaitingHandOff) {
                show_->askedToClose = true;
                return;
            }
            return AskToClose(fact);
        case RunTimer::HandOffSearch:
            return EndShow(fact.at, fact);
        case RunTimer::HandOffPoll:
            actions_.LookForHandedShow(show_->id);
            return Arm(RunTimer::HandOffPoll, timings.handOffPollMs);
        case RunTimer::HandedGoneCheck:
            actions_.CheckHandedShow(show_->id);
            return Arm(RunTimer::HandedGoneCheck, timings.handedGoneCheckMs);
        case RunTimer::CloseGrace: {
            // Left running: the program may be asking "Save?" of nobody; the run goes on.
            Report(RunEvent::Error,
                   L"the presentation program did not end after it was asked to close; left "
                   L"running");
            const Show left = *std::exchange(show_, std::nullopt);
            if (left.handed) {
                actions_.LetGo(left.id);
            } else {
                stillClosing_.push_back(Closing{left.id, left.launched, left.placed});
            }
            return Next(fact);
        }
        case RunTimer::AskAgain:
            actions_.AskToClose(show_->id);
            return Arm(RunTimer::AskAgain, timings.askAgainMs);
        case RunTimer::Rest:
            return Next(fact);
        case RunTimer::Due:
            // The followed file first: it may have changed while the run waited.
            if (plan_.readsNextPass && !readUnanswered_) return ReadAgain();
            return AwaitTime(fact);
        case RunTimer::Slow:
            if (passRead_) {
                passRead_ = 0;
                Report(RunEvent::Error, L"the setting file did not answer in " +
                                            Seconds(timings.slowStepMs) +
                                            L"; the list plays on as it was");
                if (state_ == RunState::AwaitingTime) return AwaitTime(fact);
                return BeginPass(pending_.value_or(0), fact);
            }
            // An announcement's start that hangs is given up, as one that failed: the list is
            // not kept black for it.
            if (show_ && show_->alertEntry && !show_->started) {
                Report(RunEvent::Error, L"the announcement did not start in " +
                                            Seconds(timings.slowStepMs) + L"; given up");
                ++alertSkips_;
                Abandon();
                return Next(fact);
            }
            // The start of a show of the list is not given up: its program may yet appear.
            return Report(RunEvent::Waiting,
                          L"waiting for the presentation program to start the show");

        case RunTimer::ShowFor:
            return AskToClose(fact);
        case RunTimer::NextSlide: {
            actions_.NextSlide(show_->id);
            const EntrySettings& settings = EntryOf(*show_).settings;
            const int seconds = settings.advanceSeconds.value_or(plan_.advanceSeconds.value_or(1));
            return Arm(RunTimer::NextSlide, static_cast<unsigned>(seconds) * 1000);
        }
    }
}

void RunMachine::OnStop(const RunFact& fact) {
    if (!Playing()) return;
    const bool now = fact.stop == StopWhen::Now;
    stop_ = fact.stop;
    progress_.Stop();
    Report(RunEvent::Stop, now ? L"now" : L"after this presentation");
    switch (state_) {
        case RunState::Resting:
        case RunState::AwaitingReach:
        case RunState::Held:
        case RunState::AwaitingMonitor:
        case RunState::AwaitingTime:
            return Finish(fact);
        case RunState::Launching:
            if (!show_) return Finish(fact);  // only the next pass was being read
            // The next show is on its way but not on yet: it is no "this presentation" to stop
            // after, so it is closed as soon as it has started, as for "Stop now".
            actions_.GiveScreenBack();
            return;
        default:
            break;
    }
    if (!now) return;
    actions_.GiveScreenBack();
    // The handed show is asked once it appears.
    if (state_ == RunState::AwaitingHandOff) {
        show_->askedToClose = true;
        return;
    }
    if (state_ == RunState::Showing) AskToClose(fact);
}

void RunMachine::AskToClose(const RunFact& cause) {
    Show& show = *show_;
    show.askedToClose = true;
    actions_.AskToClose(show.id);
    if (state_ == RunState::Closing) {
        if (show.handed && !Armed(RunTimer::HandedGoneCheck)) {
            Arm(RunTimer::HandedGoneCheck, plan_.timings.handedGoneCheckMs);
        }
        return;
    }
    Enter(RunState::Closing, cause);
    Arm(RunTimer::CloseGrace, plan_.timings.closeGraceMs);
    Arm(RunTimer::AskAgain, plan_.timings.askAgainMs);
    if (show.handed && !Armed(RunTimer::HandedGoneCheck)) {
        Arm(RunTimer::HandedGoneCheck, plan_.timings.handedGoneCheckMs);
    }
}

void RunMachine::EndShow(RunClock at, const RunFact& cause) {
    const Show show = *std::exchange(show_, std::nullopt);
    // A handed show lasts until its window goes; any other until its process ended. The search
    // for a handed show is not part of it.
    const RunClock end = show.handed || !show.processEnded ? at : show.endedAt;
    if (show.placed ||
        (show.processEnded && show.endedAt - show.launched >= plan_.timings.lastingShowMs)) {
        pacing_.ShowLasted();
    }
    actions_.Report(RunEvent::ShowEnd, EntryOf(show).path,
                    ShowEndDetail(static_cast<long long>(end - show.launched), show.exitCode));
    actions_.LetGo(show.id);
    Next(cause);
}

void RunMachine::Finish(const RunFact& cause) {
    if (state_ == RunState::Over) return;
    if (show_ && !show_->started) Abandon();
    if (show_) actions_.LetGo(std::exchange(show_, std::nullopt)->id);
    // Shows asked to close that have not ended are closed by what outlives the run: no watcher
    // of the run outlives it, and no show it started stays on screen.
    for (const Closing& closing : std::exchange(stillClosing_, {})) actions_.CloseLeft(closing.id);
    passRead_ = 0;
    Enter(RunState::Over, cause);
    if (std::exchange(alertOn_, false)) actions_.Report(RunEvent::AlertEnd, plan_.alertSource, {});
    Report(RunEvent::RunEnd);
    if (!windowGoing_) actions_.Ended();
}

void RunMachine::Enter(RunState next, const RunFact& cause) {
    if (next != RunState::Launching && next != RunState::AwaitingTime) passRead_ = 0;
    for (std::size_t i = 0; i < kRunTimerCount; ++i) {
        if (!Keeps(next, static_cast<RunTimer>(i))) Disarm(static_cast<RunTimer>(i));
    }
    if (next != RunState::AwaitingTime && std::exchange(wakeArmed_, false)) actions_.CancelWake();
    const RunState from = std::exchange(state_, next);
    if (from != next) actions_.StateChanged(from, next, cause);
}

void RunMachine::Arm(RunTimer timer, unsigned milliseconds) {
    assert(Keeps(state_, timer));
    armed_[static_cast<std::size_t>(timer)] = true;
    actions_.SetTimer(timer, milliseconds);
}

void RunMachine::Disarm(RunTimer timer) {
    if (!std::exchange(armed_[static_cast<std::size_t>(timer)], false)) return;
    actions_.KillTimer(timer);
}

void RunMachine::Report(RunEvent event, std::wstring detail) const {
    const bool ofShow = event == RunEvent::ShowStart || event == RunEvent::ShowPlaced ||
                        event == RunEvent::ShowSkipped || event == RunEvent::ShowTimeout ||
                        (event == RunEvent::Error && show_);
    actions_.Report(event, ofShow && show_ ? EntryOf(*show_).path : std::wstring{}, detail);
}

}  // namespace tidewell
