#pragma once
// The play run as one state machine: every fact about the run (a show started, its window was
// placed, its process ended, a timer ran out, a stop was asked, the monitor went or came back,
// the session may end) goes through RunMachine::On, which alone decides where the run goes and
// what is done about it. What is done (launching, asking a show to close, timers, the play log)
// is asked of RunActions, which the Win32 driver carries out and tests fake, with a fake clock.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/play_log.h"
#include "run/run_progress.h"
#include "run/run_timings.h"
#include "run/schedule.h"
#include "playlist/entry_settings.h"

namespace tidewell {

enum class StopWhen { AfterThisPresentation, Now };

// Milliseconds on a steady clock; the program's is GetTickCount64.
using RunClock = std::uint64_t;
// Names one show (or one read of the setting file) for the whole process: a late report of an
// earlier run never matches a show of a later one.
using ShowId = std::uint64_t;
ShowId NewShowId();

enum class RunState {
    Launching,        // the next show is being checked and started, or the next pass read
    Showing,          // the show's program runs, or the window it handed the show to is on screen
    AwaitingHandOff,  // its program ended at once without a window: the handed show is looked for
    Closing,          // it was asked to close (time-out, "Stop now") and has not ended yet
    Resting,          // between two passes in which no show lasted
    Held,             // the session may end: nothing starts until that is known
    AwaitingMonitor,  // the chosen monitor is not connected: nothing starts until it is back
    AwaitingTime,     // no entry may play now (its days, hours, dates): until the first one may
    AwaitingReach,    // nothing of a looping pass could be reached (a share away): tried again
    Over,
};

enum class RunTimer {
    ShowTimeout,      // the show's window did not appear in time
    HandOffSearch,    // the handed show is no longer looked for
    HandOffPoll,      // look for the handed show's window
    HandedGoneCheck,  // is the handed show's window gone?
    CloseGrace,       // the show asked to close did not end: the run goes on without it
    AskAgain,         // ask the show to close once more
    Rest,             // the rest between passes is over
    Due,              // an entry may play now (or the clock is to be read again)
    ShowFor,          // the show has had its time on screen
    Slow,             // a read of the setting file or a show's start has not answered yet
    NextSlide,        // the show's slide is to move on (stays last: kRunTimerCount)
};
inline constexpr std::size_t kRunTimerCount = static_cast<std::size_t>(RunTimer::NextSlide) + 1;

// One fact about the run, as the driver learns it.
struct RunFact {
    enum class Kind {
        Begun,         // the run begins
        Launched,      // `show` was started (`detail`: what its start's report adds)
        Skipped,       // `show` could not start: `detail` says why
        Placed,        // a window of `show` was found and moved onto the monitor (`handed`: a
                       // window of another copy of the program, which took the file over)
        ProcessEnded,  // the process of `show` ended at `at` with `exitCode`
        WindowGone,    // the handed window of `show` is gone
        TimerFired,    // `timer` ran out
        StopAsked,     // `stop`
        Hold,          // the session may end
        Release,       // the session goes on
        MonitorGone,   // the chosen monitor is not connected: `detail` says so
        MonitorBack,   // it is connected again
        PassRead,      // the read `show` of the next pass's entries: `entries` when they changed
        WindowGoing,   // the program's window is going: nothing more starts, nothing is asked
        ClockChanged,  // the clock or the time zone was changed, or the computer woke up
        AlertSeen,     // the announcement file was looked at: `entries` is what it holds now
                       // (none or empty: there is no announcement)
        Woken,         // the computer woke up because the run asked to be woken (ArmWake)
        FileNoticed,   // the folder of the followed setting file says something in it changed
    };
    Kind kind;
    RunClock at = 0;
    ShowId show = 0;
    RunTimer timer = RunTimer::ShowTimeout;
    StopWhen stop = StopWhen::AfterThisPresentation;
    bool handed = false;
    // Skipped: neither the presentation nor a copy of it could be reached.
    bool unreachable = false;
    unsigned long exitCode = 0;
    std::wstring detail;
    std::optional<std::vector<PlaylistEntry>> entries;
};

// What the machine has done. Starting a show and reading the next pass may take long (a share):
// the driver does them elsewhere and answers with a fact. Every other call returns at once and
// never calls back into the machine.
class RunActions {
  public:
    virtual ~RunActions() = default;
    // Starts `path` as `show` (after checking that it exists, when asked): Launched or Skipped.
    virtual void StartShow(ShowId show, const std::wstring& path, bool checkExists) = 0;
    // Reads the next pass's entries: PassRead. Only when the run has a source to read.
    virtual void ReadNextPass(ShowId read) = 0;
    // The run takes what the read `read` brought: only now may its follower remember the file
    // as read (a read given up leaves the file to be read again).
    virtual void ReadTaken(ShowId /*read*/) {}
    // Asks every window of the show (its process's and a handed one) to close.
    virtual void AskToClose(ShowId show) = 0;
    // Nothing more is wanted about the show: its handles and watcher may go.
    virtual void LetGo(ShowId show) = 0;
    // The run is over, or never wanted this show (its start answered late): it is asked to close,
    // again and again for a while, by whatever outlives the run, and then let go.
    virtual void CloseLeft(ShowId show) { LetGo(show); }
    // Looks for a window handed over for the show (answer: Placed, handed), or checks whether the
    // handed window is gone (answer: WindowGone).
    virtual void LookForHandedShow(ShowId show) = 0;
    virtual void CheckHandedShow(ShowId show) = 0;
    virtual void SetTimer(RunTimer timer, unsigned milliseconds) = 0;
    virtual void KillTimer(RunTimer timer) = 0;
    // For the play log (the driver adds the monitor).
    virtual void Report(RunEvent event, const std::wstring& path, const std::wstring& detail) = 0;
    // The icon's tip: "playing 3 of 12" and the show's name.
    virtual void ShowProgress(std::size_t position, std::size_t count,
                              const std::wstring& path) = 0;
    // Moves the show on to its next slide, as a presenter's clicker does.
    virtual void NextSlide(ShowId /*show*/) {}
    // The monitor is covered as between two shows, while the run waits for an entry's time.
    virtual void CoverScreen() {}
    // The screen is given back now ("Stop now"), while the run still waits for its show.
    virtual void GiveScreenBack() = 0;
    // The run is over: the screen is given back (if it was not), and whoever waits is told.
    virtual void Ended() = 0;
    // Every transition, for whoever follows the run's state (a status report).
    virtual void StateChanged(RunState /*from*/, RunState /*to*/, const RunFact& /*cause*/) {}
    // The computer is to be woken from sleep in `milliseconds` (a window timer never wakes it), or
    // no more. Asleep, the run's timers stand still: a wake is followed by Woken.
    virtual void ArmWake(unsigned /*milliseconds*/) {}
    virtual void CancelWake() {}
    // When the next scheduled show starts (FormatIsoTime), told before the waiting is reported.
    virtual void NextShowAt(const std::string& /*isoTime*/) {}
};

struct RunPlan {
    std::vector<PlaylistEntry> entries;
    bool loop = false;
    // Nobody at the desk: a presentation missing when its turn comes is skipped, and a show whose
    // window has not appeared after showTimeoutMs (0: no limit) is asked to close.
    bool unattended = false;
    unsigned showTimeoutMs = 0;
    // Each pass after the first reads its entries first (a setting file rewritten meanwhile).
    bool readsNextPass = false;
    RunTimings timings;
    // What the schedules of the entries are read by; none: every entry plays whenever its turn
    // comes.
    std::optional<ScheduleClock> clock;
    // For this run, the time on screen and the slide pace of entries without their own.
    std::optional<int> showForSeconds;
    std::optional<int> advanceSeconds;
    // The announcement file the run follows (its full path, for the play log); empty: none.
    std::wstring alertSource;
};

class RunMachine {
  public:
    RunMachine(RunActions& actions, RunPlan plan);

    // Reports the run's start and starts the first show, or ends at once.
    void Begin(RunClock now, const std::wstring& startDetail);
    void On(const RunFact& fact);

    RunState State() const { return state_; }
    // A show plays or is to follow: a stop has something to stop.
    bool Playing() const { return state_ != RunState::Over && stop_ != StopWhen::Now; }
    // The show now on (or being started), if any.
    std::optional<ShowId> CurrentShow() const;
    const std::vector<PlaylistEntry>& Entries() const { return entries_; }
    // The read of the setting file is still wanted: the run waits for it.
    bool WantsRead(ShowId read) const {
        return read != 0 && read == passRead_ && !show_ &&
               (state_ == RunState::Launching || state_ == RunState::AwaitingTime);
    }
    // An announcement has the screen, or is to have it once its pause after failures is over.
    bool AlertOn() const { return alertOn_; }
    // It is on, but rests after a round of failures: the list plays meanwhile.
    bool AlertResting(RunClock at) const { return alertOn_ && at < alertResumeAt_; }
    bool Armed(RunTimer timer) const { return armed_[static_cast<std::size_t>(timer)]; }
    // Shows asked to close that have not ended yet: their windows are asked again when they come.
    bool StillClosing(ShowId show) const {
        return std::ranges::any_of(stillClosing_, [show](const Closing& c) { return c.id == show; });
    }

  private:
    struct Show {
        ShowId id = 0;
        std::size_t entry = 0;
        RunClock launched = 0;
        bool started = false;
        bool placed = false;
        bool handed = false;
        bool askedToClose = false;
        bool processEnded = false;
        RunClock endedAt = 0;
        unsigned long exitCode = 0;
        // A show of the announcement: its entry is kept with it, since the announcement file may
        // change while it plays.
        std::optional<PlaylistEntry> alertEntry;
    };

    void Next(const RunFact& cause);
    const PlaylistEntry& EntryOf(const Show& show) const {
        return show.alertEntry ? *show.alertEntry : entries_[show.entry];
    }
    void OnAlertSeen(const RunFact& fact);
    void GiveWayToAlert(const RunFact& cause);
    void LaunchAlert(const RunFact& cause);
    bool DueNow(const PlaylistEntry& entry) const;
    bool AnyDueNow() const;
    // The first moment an entry not due now will be; none when no such entry ever will.
    std::optional<Instant> NextDueOfWaiting() const;
    unsigned RealMsUntil(Instant moment, bool capped = true) const;
    void AwaitTime(const RunFact& cause);
    void ReportWaiting(std::wstring detail, const RunFact& cause, std::string nextShow = {});
    void ReadAgain();
    void GiveUpRead();
    void Abandon();
    void OnUnwantedShowFact(const RunFact& fact);
    bool AlertMayPlay(RunClock at) const { return alertOn_ && at >= alertResumeAt_; }
    void PauseAlert(const RunFact& cause);
    void OnPassRead(const RunFact& fact);
    void EnterWaiting(RunState state, const RunFact& cause);
    bool AwaitReach(const RunFact& cause);
    void ArmShowTimers();
    void Launch(std::size_t entry, const RunFact& cause);
    void BeginPass(std::size_t entry, const RunFact& cause);
    void OnShowFact(const RunFact& fact);
    void OnTimer(const RunFact& fact);
    void OnStop(const RunFact& fact);
    void AskToClose(const RunFact& cause);
    void EndShow(RunClock at, const RunFact& cause);
    void Finish(const RunFact& cause);
    void Enter(RunState next, const RunFact& cause);
    void Arm(RunTimer timer, unsigned milliseconds);
    void Disarm(RunTimer timer);
    void Report(RunEvent event, std::wstring detail = {}) const;

    RunActions& actions_;
    RunPlan plan_;
    std::vector<PlaylistEntry> entries_;
    RunProgress progress_;
    PassPacing pacing_;
    RunState state_ = RunState::Launching;
    std::optional<StopWhen> stop_;
    bool held_ = false;
    bool monitorGone_ = false;
    bool windowGoing_ = false;
    std::wstring monitorGoneDetail_;
    std::optional<Show> show_;
    // The entry to start once nothing holds the run (a rest, the session's end, the monitor).
    std::optional<std::size_t> pending_;
    ShowId passRead_ = 0;
    // A read that has not answered yet, wanted or not: no second read of the file meanwhile.
    ShowId readUnanswered_ = 0;
    bool begun_ = false;
    bool wakeArmed_ = false;
    // What the last waiting line said: a wait worked out again is told only when it changed.
    std::wstring waitingSaid_;
    // In this pass: something was started or found wanting, or only unreachable entries skipped.
    bool reachedInPass_ = false;
    bool unreachableInPass_ = false;
    bool awaitingReach_ = false;
    // Shows asked to close that did not end in time: their late windows are asked again.
    struct Closing {
        ShowId id = 0;
        RunClock launched = 0;
        bool placed = false;
    };
    std::vector<Closing> stillClosing_;
    std::array<bool, kRunTimerCount> armed_{};
    // The announcement: what its file holds, whether one of its entries may play now (it then
    // plays instead of the list), the next of its entries, and how many were skipped in a row.
    std::vector<PlaylistEntry> alertEntries_;
    bool alertOn_ = false;
    std::size_t alertNext_ = 0;
    std::size_t alertSkips_ = 0;
    // A whole round of the announcement's entries could not start: the list plays until then,
    // and the pause grows while that goes on.
    RunClock alertResumeAt_ = 0;
    PassPacing alertPacing_;
};

}  // namespace tidewell
