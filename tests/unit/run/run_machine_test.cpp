#include "run/run_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tidewell {
namespace {

using Kind = RunFact::Kind;

// Does what the machine asks by writing it down; timers run out only when a step fires them.
class FakeActions : public RunActions {
  public:
    void StartShow(ShowId show, const std::wstring& path, bool) override {
        started.push_back(show);
        paths.push_back(path);
    }
    void ReadNextPass(ShowId read) override { reads.push_back(read); }
    void AskToClose(ShowId show) override { asked.push_back(show); }
    void LetGo(ShowId show) override { letGo.insert(show); }
    void LookForHandedShow(ShowId) override {}
    void CheckHandedShow(ShowId) override {}
    void SetTimer(RunTimer timer, unsigned ms) override { timers[timer] = ms; }
    void KillTimer(RunTimer timer) override { timers.erase(timer); }
    void Report(RunEvent event, const std::wstring&, const std::wstring& detail) override {
        events.push_back(event);
        details.push_back(detail);
    }
    void NextSlide(ShowId show) override { slides.push_back(show); }
    void CoverScreen() override { covered = true; }
    void ShowProgress(std::size_t, std::size_t, const std::wstring&) override {}
    void GiveScreenBack() override { screenBack = true; }
    void Ended() override { ended = true; }
    void ArmWake(unsigned ms) override { wake = ms; }
    void CancelWake() override { wake.reset(); }
    void NextShowAt(const std::string& iso) override {
        nextShow = iso;
        ++nextShowsTold;
    }
    void ReadTaken(ShowId read) override { taken.push_back(read); }
    void CloseLeft(ShowId show) override {
        asked.push_back(show);
        letGo.insert(show);
    }
    int nextShowsTold = 0;
    std::vector<ShowId> taken;

    std::vector<ShowId> started;
    std::set<ShowId> letGo;
    std::vector<ShowId> reads;
    std::optional<unsigned> wake;
    std::string nextShow;
    std::vector<std::wstring> paths;
    std::vector<ShowId> slides;
    bool covered = false;
    std::vector<std::wstring> details;
    std::vector<ShowId> asked;
    std::map<RunTimer, unsigned> timers;
    std::vector<RunEvent> events;
    bool screenBack = false;
    bool ended = false;
};

enum class Op {
    Launch,       // the current show has started
    Place,        // its window was placed
    PlaceHanded,  // a window handed over for it was placed
    EndAtOnce,    // its process ended 100 ms after the launch
    Gone,         // the handed window is gone
    TimerRunsOut,
    StopAfter,
    StopNow,
    PlaceFirst,       // a late window of the run's first show
    PlaceOther,       // a window of a show that is not this run's (an earlier run's watcher)
    SkipUnreachable,  // neither the presentation nor a copy of it could be reached
    SkipBroken,       // it was reached, and found not whole
};
// One step: what happened to the current show, or the timer that ran out (it must be running).
struct Step {
    Step(Op op) : op(op) {}
    Step(RunTimer timer) : op(Op::TimerRunsOut), timer(timer) {}
    Op op;
    RunTimer timer = RunTimer::ShowTimeout;
};

// One run of two entries, unattended with a 2 s time-out, driven step by step on a fake clock.
class Script {
  public:
    explicit Script(bool loop = false)
        : machine_(actions_, RunPlan{{L"a.ppt", L"b.ppt"}, loop, true, 2'000, false, {}}) {
        machine_.Begin(now_, L"");
    }

    void Do(const Step& step) {
        const ShowId show = machine_.CurrentShow().value_or(0);
        switch (step.op) {
            case Op::Launch:
                launchedAt_ = now_;
                return Tell({.kind = Kind::Launched, .show = show});
            case Op::Place:
            case Op::PlaceHanded:
                return Tell({.kind = Kind::Placed, .show = show, .handed = step.op != Op::Place});
            case Op::EndAtOnce:
                now_ = launchedAt_ + 100;
                return Tell({.kind = Kind::ProcessEnded, .show = show});
            case Op::Gone:
                return Tell({.kind = Kind::WindowGone, .show = show});
            case Op::TimerRunsOut: {
                const auto timer = actions_.timers.find(step.timer);
                ASSERT_NE(timer, actions_.timers.end())
                    << "timer " << int(step.timer) << " not set";
                now_ += timer->second;
                actions_.timers.erase(timer);
                return Tell({.kind = Kind::TimerFired, .timer = step.timer});
            }
            case Op::StopAfter:
            case Op::StopNow:
                return Tell({.kind = Kind::StopAsked,
                             .stop = step.op == Op::StopNow ? StopWhen::Now
                                                            : StopWhen::AfterThisPresentation});
            case Op::PlaceFirst:
                return Tell({.kind = Kind::Placed, .show = actions_.started.at(0)});
            case Op::PlaceOther:
                return Tell({.kind = Kind::Placed, .show = NewShowId()});
            case Op::SkipUnreachable:
            case Op::SkipBroken:
                return Tell({.kind = Kind::Skipped,
                             .show = show,
                             .unreachable = step.op == Op::SkipUnreachable});
        }
    }
    // The shows asked to close, in order, by their number in the run (0: the first).
    std::vector<std::size_t> Asked() const {
        std::vector<std::size_t> asked;
        for (const ShowId show : actions_.asked) {
            for (std::size_t i = 0; i < actions_.started.size(); ++i) {
                if (actions_.started[i] == show) asked.push_back(i);
            }
        }
        return asked;
    }

    RunMachine machine_;
    FakeActions actions_;

  private:
    void Tell(RunFact fact) {
        fact.at = now_;
        machine_.On(fact);
    }
    RunClock now_ = 1'000'000;
    RunClock launchedAt_ = 0;
};

TEST(RunMachine, EventSequences_ReachTheirStateAndAskTheRightShowsToClose) {
    using enum Op;
    using enum RunTimer;
    using enum RunState;
    struct Case {
        const char* name;
        std::vector<Step> steps;
        RunState state;
        std::vector<std::size_t> asked;  // shows asked to close, by their number in the run
        bool screenBack;                 // given back before the run's end ("Stop now")
    };
    // clang-format off
    const Case cases[] = {
        {"late window after the time-out, before the grace ends", {Launch, ShowTimeout, Place}, Closing, {0, 0}, false},
        {"late window after the time-out and the grace, over the next show", {Launch, ShowTimeout, CloseGrace, Launch, Place, PlaceFirst}, Showing, {0, 0}, false},
        {"late window after Stop now and its grace: the run is over and leaves it to be closed", {Launch, StopNow, AskAgain, CloseGrace, PlaceFirst}, Over, {0, 0, 0}, true},
        {"a show left running, then the run ends: it is left to be closed", {Launch, ShowTimeout, CloseGrace, Launch, Place, EndAtOnce}, Over, {0, 0}, false},
        {"Stop now while the show is being started", {StopNow, Launch}, Closing, {0}, true},
        {"stop while the next show is being started: it is closed once it has", {StopAfter, Launch}, Closing, {0}, true},
        {"stop during a hand-off: the handed show plays to its end", {Launch, EndAtOnce, StopAfter, PlaceHanded}, Showing, {}, false},
        {"stop during a hand-off, then the handed show ends", {Launch, EndAtOnce, StopAfter, PlaceHanded, Gone}, Over, {}, false},
        {"Stop now during a hand-off: the handed show is closed when it appears", {Launch, EndAtOnce, StopNow, PlaceHanded}, Closing, {0}, true},
        {"stop during a hand-off that finds nothing", {Launch, EndAtOnce, StopAfter, HandOffSearch}, Over, {}, false},
        {"time-out shorter than the hand-off search", {Launch, EndAtOnce, ShowTimeout, PlaceHanded}, Closing, {0}, false},
        {"an earlier run's late reports", {Launch, PlaceOther, EndAtOnce, HandOffSearch, PlaceFirst}, Launching, {}, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script script;
        for (const Step& step : c.steps) script.Do(step);
        EXPECT_EQ(script.machine_.State(), c.state);
        EXPECT_EQ(script.Asked(), c.asked);
        EXPECT_EQ(script.actions_.screenBack, c.screenBack);
        EXPECT_EQ(script.actions_.ended, c.state == Over);
        // No watcher of a show outlives the run, not even of one left running.
        if (c.state == Over) {
            for (const ShowId show : script.actions_.started) {
                EXPECT_TRUE(script.actions_.letGo.contains(show)) << "show " << show;
            }
        }
    }
}

// A program that ends at once, every time: the hand-off search does not make its shows count as
// lasting, so the passes rest 10, 20, 40 s ... up to 5 minutes; one show that lasts ends that.
TEST(RunMachine, ProgramEndingAtOnce_RestsDoubleUntilAShowLasts) {
    Script script(true);
    std::vector<unsigned> rests;
    const auto playPass = [&](bool lasts) {
        for (int show = 0; show < 2; ++show) {
            script.Do(Op::Launch);
            script.Do(lasts ? Op::Place : Op::EndAtOnce);
            script.Do(lasts ? Step(Op::EndAtOnce) : Step(RunTimer::HandOffSearch));
        }
        if (script.machine_.State() != RunState::Resting) return rests.push_back(0);
        rests.push_back(script.actions_.timers.at(RunTimer::Rest));
        script.Do(RunTimer::Rest);
    };
    for (int pass = 0; pass < 7; ++pass) playPass(false);
    playPass(true);
    playPass(false);
    EXPECT_EQ(rests, (std::vector<unsigned>{10'000, 20'000, 40'000, 80'000, 160'000, 300'000,
                                            300'000, 0, 10'000}));
    EXPECT_EQ(script.actions_.started.size(), 19u)
        << "two launches a pass, and the tenth pass begun";
}

// A share away: a looping pass that reached nothing waits, the monitor covered, and tries the list
// again for as long as it takes; a pass that reached a broken deck ends the loop as before.
TEST(RunMachine, LoopThatReachesNothing_WaitsAndTriesAgainUntilAShowStarts) {
    using enum Op;
    Script script(true);
    for (int pass = 0; pass < 3; ++pass) {
        script.Do(SkipUnreachable);
        script.Do(SkipUnreachable);
        ASSERT_EQ(script.machine_.State(), RunState::AwaitingReach);
        EXPECT_EQ(script.actions_.timers.at(RunTimer::Rest), RunTimings{}.unreachableRetryMs);
        script.Do(RunTimer::Rest);
    }
    EXPECT_TRUE(script.actions_.covered);
    EXPECT_EQ(std::ranges::count(script.actions_.events, RunEvent::Waiting), 1);
    script.Do(Launch);
    EXPECT_EQ(script.machine_.State(), RunState::Showing);
    EXPECT_EQ(script.actions_.started.size(), 7u);

    Script broken(true);
    broken.Do(SkipUnreachable);
    broken.Do(SkipBroken);
    EXPECT_EQ(broken.machine_.State(), RunState::Over);
}

// Entries with settings, on a schedule clock the test sets: UTC+1, 2026-12-07 (a Monday) at first.
class ScheduledRun : public ::testing::Test {
  public:
    void Begin(std::vector<std::wstring> lines, RunPlan plan = {}) {
        for (const std::wstring& line : lines) plan.entries.push_back(*ParseEntryLine(line).entry);
        plan.unattended = true;
        plan.clock = ScheduleClock{[this] { return now_; },
                                   [](Instant) { return std::chrono::seconds(3600); }};
        machine_.emplace(actions_, std::move(plan));
        machine_->Begin(0, L"");
    }
    void Tell(RunFact fact) { machine_->On(fact); }
    void Fire(RunTimer timer) {
        ASSERT_TRUE(actions_.timers.contains(timer)) << "timer " << int(timer) << " not set";
        actions_.timers.erase(timer);
        Tell({.kind = Kind::TimerFired, .timer = timer});
    }
    ShowId Current() const { return machine_->CurrentShow().value_or(0); }
    static Instant Local(int hour, int minute, int second = 0) {
        using namespace std::chrono;
        return sys_days(2026y / December / 7) + hours(hour - 1) + minutes(minute) + seconds(second);
    }

    FakeActions actions_;
    std::optional<RunMachine> machine_;
    Instant now_ = Local(6, 58);
};

TEST_F(ScheduledRun, NothingDueNow_WaitsCoveredForTheFirstEntryDueThenPlaysIt) {
    Begin({L"a.ppt\tdays=Mon-Fri\thours=07:00-10:30", L"b.ppt\tdays=Sat"});
    EXPECT_EQ(machine_->State(), RunState::AwaitingTime);
    EXPECT_TRUE(actions_.covered);
    EXPECT_EQ(actions_.details.back(), L"next show at 07:00");
    EXPECT_EQ(actions_.timers[RunTimer::Due], 120'001u);

    // The clock put forward: the wait is worked out again.
    now_ = Local(6, 59, 30);
    Tell({.kind = Kind::ClockChanged});
    EXPECT_EQ(actions_.timers[RunTimer::Due], 30'001u);

    now_ = Local(7, 0);
    Fire(RunTimer::Due);
    EXPECT_EQ(actions_.paths, std::vector<std::wstring>{L"a.ppt"});
    EXPECT_EQ(machine_->State(), RunState::Launching);
}

TEST_F(ScheduledRun, TimeOnScreenAndSlidePace_FromPlacementEntryOwnOrTheRunsDefault) {
    RunPlan plan;
    plan.advanceSeconds = 5;
    Begin({L"x.ppt\tdays=Sun", L"a.ppt\tshowfor=60\tadvance=8", L"b.ppt"}, std::move(plan));
    EXPECT_EQ(actions_.paths, std::vector<std::wstring>{L"a.ppt"}) << "x is not for a Monday";
    Tell({.kind = Kind::Launched, .show = Current()});
    EXPECT_FALSE(actions_.timers.contains(RunTimer::NextSlide)) << "counted from placement";
    Tell({.kind = Kind::Placed, .show = Current()});
    EXPECT_EQ(actions_.timers[RunTimer::ShowFor], 60'000u);
    Fire(RunTimer::NextSlide);
    EXPECT_EQ(actions_.slides, std::vector<ShowId>{Current()});
    EXPECT_EQ(actions_.timers[RunTimer::NextSlide], 8'000u);
    Fire(RunTimer::ShowFor);
    EXPECT_EQ(actions_.asked, std::vector<ShowId>{Current()});
    EXPECT_FALSE(actions_.timers.contains(RunTimer::NextSlide));

    Tell({.kind = Kind::ProcessEnded, .at = 90'000, .show = Current()});
    Tell({.kind = Kind::Launched, .at = 90'000, .show = Current()});
    Tell({.kind = Kind::Placed, .show = Current()});
    EXPECT_EQ(actions_.paths.back(), L"b.ppt");
    EXPECT_EQ(actions_.timers[RunTimer::NextSlide], 5'000u);
    EXPECT_FALSE(actions_.timers.contains(RunTimer::ShowFor));
}

// The announcement file as a look at it finds it: its entry lines.
RunFact AlertSeen(std::vector<std::wstring> lines) {
    std::vector<PlaylistEntry> entries;
    for (const std::wstring& line : lines) entries.push_back(*ParseEntryLine(line).entry);
    return {.kind = Kind::AlertSeen, .entries = std::move(entries)};
}

TEST_F(ScheduledRun, Announcement_TakesOverAtOnceLoopsThenReplaysTheInterruptedEntry) {
    RunPlan plan;
    plan.loop = true;
    plan.alertSource = L"alert.ppsv";
    Begin({L"a.ppt", L"b.ppt"}, std::move(plan));
    const auto play = [this] {
        Tell({.kind = Kind::Launched, .show = Current()});
        Tell({.kind = Kind::Placed, .show = Current()});
    };
    play();
    const ShowId interrupted = Current();
    Tell(AlertSeen({L"fire.ppt"}));
    EXPECT_EQ(actions_.asked, std::vector<ShowId>{interrupted}) << "closed at once";
    Tell({.kind = Kind::ProcessEnded, .show = interrupted});
    for (int show = 0; show < 2; ++show) {
        play();
        Tell(AlertSeen({L"fire.ppt"}));  // looked at again, unchanged: it plays on
        Tell({.kind = Kind::ProcessEnded, .show = Current()});
    }
    play();
    Tell(AlertSeen({}));
    EXPECT_EQ(actions_.asked.back(), Current()) << "the announcement's show is closed";
    Tell({.kind = Kind::ProcessEnded, .show = Current()});
    EXPECT_EQ(actions_.paths, (std::vector<std::wstring>{L"a.ppt", L"fire.ppt", L"fire.ppt",
                                                         L"fire.ppt", L"a.ppt"}));
    EXPECT_EQ(std::ranges::count(actions_.events, RunEvent::AlertStart), 1);
    EXPECT_EQ(std::ranges::count(actions_.events, RunEvent::AlertEnd), 1);
}

TEST_F(ScheduledRun, AnnouncementWhileWaitingForATime_PlaysUntilItsHoursEndThenTheWaitGoesOn) {
    Begin({L"a.ppt\tdays=Sat"});
    ASSERT_EQ(machine_->State(), RunState::AwaitingTime);
    const auto look = [this](RunClock at) {
        RunFact seen = AlertSeen({L"gone.ppt\thours=06:00-07:00"});
        seen.at = at;
        Tell(seen);
    };
    look(0);
    Tell({.kind = Kind::Skipped, .show = Current()});
    EXPECT_EQ(machine_->State(), RunState::AwaitingTime)
        << "a show that cannot start is not retried at once, again and again, over a black "
           "screen: the list's own wait goes on";
    look(RunTimings{}.firstRestMs - 1);
    EXPECT_EQ(actions_.paths.size(), 1u) << "still in its pause";
    look(RunTimings{}.firstRestMs);
    Tell({.kind = Kind::Launched, .show = Current()});
    Tell({.kind = Kind::Placed, .show = Current()});
    now_ = Local(7, 0, 1);
    Tell(AlertSeen({L"gone.ppt\thours=06:00-07:00"}));
    EXPECT_EQ(actions_.asked, std::vector<ShowId>{Current()});
    Tell({.kind = Kind::ProcessEnded, .show = Current()});
    EXPECT_EQ(machine_->State(), RunState::AwaitingTime);
    EXPECT_EQ(actions_.paths, (std::vector<std::wstring>{L"gone.ppt", L"gone.ppt"}));
}

// Asleep, a window timer never fires: the computer is woken a minute before the show, says so,
// and the wake is let go once the show is on its way.
TEST_F(ScheduledRun, WaitForATime_WakesTheComputerAMinuteBeforeItAndSaysSo) {
    now_ = Local(6, 0);
    Begin({L"a.ppt\thours=07:00-10:30"});
    EXPECT_EQ(actions_.wake, 3'540'001u);
    EXPECT_EQ(actions_.nextShow, "2026-12-07T07:00:00.000+01:00");
    now_ = Local(6, 59, 30);
    Tell({.kind = Kind::Woken});
    EXPECT_EQ(actions_.events.back(), RunEvent::Wake);
    EXPECT_EQ(actions_.timers[RunTimer::Due], 30'001u);
    EXPECT_FALSE(actions_.wake) << "a minute ahead needs no wake";
    now_ = Local(7, 0);
    Fire(RunTimer::Due);
    EXPECT_EQ(actions_.paths, std::vector<std::wstring>{L"a.ppt"});
}

// Each row: a loop of a due entry whose program fails or ends at once, beside one due later;
// what the pass's end leads to.
TEST_F(ScheduledRun, LoopWhoseDueEntriesFail_EndsAndARestNeverDelaysADueEntry) {
    struct Case {
        const char* name;
        bool fails;
        RunState state;
        std::optional<unsigned> rest;
    };
    const Case cases[] = {
        {"every due entry failed: the loop ends", true, RunState::Over, std::nullopt},
        {"no show lasted: the rest ends when the next entry is due", false, RunState::Resting,
         120'001u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        actions_ = {};
        now_ = Local(6, 58);
        RunPlan plan;
        plan.loop = true;
        plan.timings.firstRestMs = 300'000;
        Begin({L"a.ppt\thours=06:00-10:00", L"b.ppt\thours=07:00-08:00"}, std::move(plan));
        if (c.fails) {
            Tell({.kind = Kind::Skipped, .show = Current()});
        } else {
            Tell({.kind = Kind::Launched, .at = 0, .show = Current()});
            Tell({.kind = Kind::ProcessEnded, .at = 100, .show = Current()});
            Fire(RunTimer::HandOffSearch);
        }
        EXPECT_EQ(machine_->State(), c.state);
        if (c.rest) EXPECT_EQ(actions_.timers[RunTimer::Rest], *c.rest);
    }
}

// The state and the detail say what the run waits for now: the monitor while it is off, the
// time once it is back; the monitor again when a show that played meanwhile ends.
TEST_F(ScheduledRun, MonitorOffAndOn_TheWaitingLineSaysWhatTheRunWaitsForNow) {
    Begin({L"a.ppt\thours=07:00-10:30", L"b.ppt"});
    Tell({.kind = Kind::MonitorGone, .detail = L"monitor 2 is not connected"});
    Tell({.kind = Kind::Launched, .show = Current()});
    Tell({.kind = Kind::ProcessEnded, .at = 90'000, .show = Current()});
    EXPECT_EQ(machine_->State(), RunState::AwaitingMonitor);
    EXPECT_EQ(actions_.details.back(), L"monitor 2 is not connected");
    EXPECT_EQ(actions_.events.back(), RunEvent::Waiting);

    actions_ = {};
    machine_.reset();
    Begin({L"a.ppt\thours=07:00-10:30"});
    Tell({.kind = Kind::MonitorGone, .detail = L"monitor 2 is not connected"});
    Tell({.kind = Kind::MonitorBack});
    EXPECT_EQ(actions_.details.back(), L"next show at 07:00");
    EXPECT_EQ(actions_.nextShow, "2026-12-07T07:00:00.000+01:00");
}

// Many pass boundaries of a loop that follows its file, whose reads answer, fail, bring a new
// list or never answer (some of them late): whenever nothing is left to answer, a timer of the
// run's own moves it on, and a late answer changes nothing.
TEST(RunMachine, FollowedFileReadsStallingAtRandom_EveryWaitHasABoundOrALogLine) {
    FakeActions actions;
    RunMachine machine(actions, RunPlan{{L"a.ppt", L"b.ppt"}, true, true, 0, true, {}});
    machine.Begin(0, L"");
    std::mt19937 random(30);
    std::vector<ShowId> unanswered;
    const auto answer = [&](ShowId read, unsigned how) {
        const std::vector<PlaylistEntry> list{{how == 2 ? L"c.ppt" : L"late.ppt"}};
        machine.On({.kind = Kind::PassRead,
                    .show = read,
                    .detail = how == 1 ? L"gone" : L"",
                    .entries = how >= 2 ? std::optional(list) : std::nullopt});
    };
    std::size_t shows = 0;
    for (std::size_t step = 0; shows < 400 && step < 10'000; ++step) {
        ASSERT_NE(machine.State(), RunState::Over) << "the loop ended at step " << step;
        if (const auto show = machine.CurrentShow()) {
            machine.On({.kind = Kind::Launched, .at = step, .show = *show});
            machine.On({.kind = Kind::Placed, .at = step, .show = *show});
            machine.On({.kind = Kind::ProcessEnded, .at = step + 5'000, .show = *show});
            ++shows;
        } else if (!actions.reads.empty() && actions.reads.back() != 0) {
            const ShowId read = std::exchange(actions.reads.back(), 0);
            if (const unsigned how = random() % 4; how < 3) {
                answer(read, how);
            } else {
                unanswered.push_back(read);
            }
        } else {
            ASSERT_FALSE(actions.timers.empty()) << "waits with no timer nor line, step " << step;
            const RunTimer timer = actions.timers.begin()->first;
            actions.timers.erase(actions.timers.begin());
            machine.On({.kind = Kind::TimerFired, .timer = timer});
            if (!unanswered.empty() && random() % 3 == 0) {
                answer(unanswered.back(), 3);
                unanswered.pop_back();
            }
        }
    }
    EXPECT_EQ(shows, 400u);
    EXPECT_EQ(std::ranges::count(actions.paths, std::wstring(L"late.ppt")), 0);
}

// Faults that lived in the order of background answers, each as the few facts that showed it:
// what the run does then, and what it must never do.
TEST_F(ScheduledRun, LateAnswersAndAnnouncements_TheRunOwnsWhatItAskedFor) {
    using Check = std::function<void(ScheduledRun&)>;
    struct Case {
        const char* name;
        std::vector<const wchar_t*> lines;  // the list; 06:58 on a Monday
        std::function<void(ScheduledRun&)> facts;
        Check check;
        bool follows = true;  // the run follows its setting file
    };
    const auto alert = [](ScheduledRun& run, std::vector<std::wstring> lines, RunClock at = 0) {
        RunFact seen = AlertSeen(std::move(lines));
        seen.at = at;
        run.Tell(seen);
    };
    const auto start = [](ScheduledRun& run) {
        const ShowId show = run.Current();
        run.Tell({.kind = Kind::Launched, .show = show});
        run.Tell({.kind = Kind::Placed, .show = show});
        return show;
    };
    const Case cases[] = {
        {"a read under way when an announcement comes is given up: its answer never replaces the "
         "announcement's show",
         {L"a.ppt\thours=09:00-10:00"},
         [&](ScheduledRun& run) {
             run.Fire(RunTimer::Due);  // the wait reads the followed file again
             alert(run, {L"fire.ppt"});
             run.Tell({.kind = Kind::PassRead,
                       .show = run.actions_.reads.back(),
                       .entries = std::vector<PlaylistEntry>{L"b.ppt"}});
         },
         [](ScheduledRun& run) {
             EXPECT_EQ(run.actions_.paths, std::vector<std::wstring>{L"fire.ppt"});
             EXPECT_EQ(run.machine_->State(), RunState::Launching) << "its start goes on";
             EXPECT_TRUE(run.actions_.taken.empty()) << "the file is read again later";
         }},
        {"a start that answers for a turn the announcement took is closed, and the announcement "
         "does not wait for it",
         {L"a.ppt"},
         [&](ScheduledRun& run) {
             const ShowId given = run.Current();
             alert(run, {L"fire.ppt"});
             run.Tell({.kind = Kind::Launched, .show = given});
         },
         [](ScheduledRun& run) {
             EXPECT_EQ(run.actions_.paths, (std::vector<std::wstring>{L"a.ppt", L"fire.ppt"}));
             EXPECT_EQ(run.actions_.asked, std::vector<ShowId>{run.actions_.started.front()});
         }},
        {"stop after this presentation, then an announcement: the show plays to its end",
         {L"a.ppt"},
         [&](ScheduledRun& run) {
             start(run);
             run.Tell({.kind = Kind::StopAsked, .stop = StopWhen::AfterThisPresentation});
             alert(run, {L"fire.ppt"});
         },
         [](ScheduledRun& run) {
             EXPECT_TRUE(run.actions_.asked.empty());
             EXPECT_EQ(std::ranges::count(run.actions_.events, RunEvent::AlertStart), 0);
             run.Tell({.kind = Kind::ProcessEnded, .at = 90'000, .show = run.Current()});
             EXPECT_EQ(run.machine_->State(), RunState::Over);
         }},
        {"a run stopped during an announcement ends it before its own end",
         {L"a.ppt"},
         [&](ScheduledRun& run) {
             alert(run, {L"fire.ppt"});
             const ShowId show = run.Current();
             start(run);
             run.Tell({.kind = Kind::StopAsked, .stop = StopWhen::Now});
             run.Tell({.kind = Kind::ProcessEnded, .at = 90'000, .show = show});
         },
         [](ScheduledRun& run) {
             const auto& events = run.actions_.events;
             ASSERT_EQ(events.back(), RunEvent::RunEnd);
             EXPECT_EQ(events[events.size() - 2], RunEvent::AlertEnd);
         }},
        {"the wake is for the show ten hours away, not for the clock's re-read",
         {L"a.ppt\thours=17:00-18:00"},
         [](ScheduledRun&) {},
         [](ScheduledRun& run) {
             EXPECT_EQ(run.actions_.wake, 10 * 3'600'000u + 2 * 60'000u + 1 - 60'000u);
         }},
        {"an announcement's start that hangs is given up, and the list plays",
         {L"a.ppt"},
         [&](ScheduledRun& run) {
             run.Tell({.kind = Kind::Launched, .show = run.Current()});
             alert(run, {L"fire.ppt"});
             run.Tell({.kind = Kind::ProcessEnded, .at = 90'000, .show = run.actions_.started[0]});
             run.Fire(RunTimer::Slow);
         },
         [](ScheduledRun& run) {
             EXPECT_EQ(run.actions_.paths.back(), L"a.ppt");
             EXPECT_NE(std::ranges::find(run.actions_.events, RunEvent::Error),
                       run.actions_.events.end());
         }},
        {"an announcement while the next pass is read starts at once",
         {L"a.ppt"},
         [&](ScheduledRun& run) {
             start(run);
             run.Tell({.kind = Kind::ProcessEnded, .at = 90'000, .show = run.Current()});
             alert(run, {L"fire.ppt"});
         },
         [](ScheduledRun& run) {
             EXPECT_EQ(run.actions_.paths.back(), L"fire.ppt");
         }},
        {"a start's slow timer goes with the start: the wait that follows its skip has none",
         {L"c.ppt\thours=06:00-06:59", L"a.ppt\thours=06:00-06:59", L"b.ppt\thours=08:00-09:00"},
         [&](ScheduledRun& run) {
             start(run);
             run.Tell({.kind = Kind::ProcessEnded, .at = 60'000, .show = run.Current()});
             run.now_ = Local(7, 0);
             run.Tell({.kind = Kind::Skipped, .show = run.Current()});
         },
         [](ScheduledRun& run) {
             ASSERT_EQ(run.machine_->State(), RunState::AwaitingTime);
             EXPECT_FALSE(run.actions_.timers.contains(RunTimer::Slow));
         },
         false},
        {"the next show's time is told with its own waiting line only",
         {L"a.ppt\thours=09:00-10:00"},
         [](ScheduledRun& run) {
             run.Tell({.kind = Kind::MonitorGone, .detail = L"monitor 2 is not connected"});
             run.Tell({.kind = Kind::ClockChanged});
         },
         [](ScheduledRun& run) { EXPECT_EQ(run.actions_.nextShowsTold, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        actions_ = {};
        machine_.reset();
        now_ = Local(6, 58);
        RunPlan plan;
        plan.loop = true;
        plan.readsNextPass = c.follows;
        plan.alertSource = L"alert.ppsv";
        Begin(std::vector<std::wstring>(c.lines.begin(), c.lines.end()), std::move(plan));
        c.facts(*this);
        c.check(*this);
    }
}

TEST(ParseRunTimings, NamedMillisecondsReplaceTheDefaults_AnythingElseIsRefused) {
    const auto timings = ParseRunTimings("closeGraceMs=400,firstRestMs=50");
    ASSERT_TRUE(timings);
    EXPECT_EQ(timings->closeGraceMs, 400u);
    EXPECT_EQ(timings->firstRestMs, 50u);
    EXPECT_EQ(timings->handOffSearchMs, RunTimings{}.handOffSearchMs);
    for (const char* bad : {"closeGrace=400", "closeGraceMs=", "closeGraceMs=4s", "closeGraceMs"}) {
        EXPECT_FALSE(ParseRunTimings(bad)) << bad;
    }
}

}  // namespace
}  // namespace tidewell
