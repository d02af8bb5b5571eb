#include "run/run_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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
    void ReadNextPass(ShowId) override {}
    void AskToClose(ShowId show) override { asked.push_back(show); }
    void LetGo(ShowId) override {}
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

    std::vector<ShowId> started;
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
    PlaceFirst,  // a late window of the run's first show
    PlaceOther,  // a window of a show that is not this run's (an earlier run's watcher)
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
        {"late window after Stop now and its grace", {Launch, StopNow, AskAgain, CloseGrace, PlaceFirst}, Over, {0, 0, 0}, true},
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

// Entries with settings, on a schedule clock the test sets: UTC+1, 2026-12-07 (a Monday) at first.
class ScheduledRun : public ::testing::Test {
  protected:
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
    Tell(AlertSeen({L"gone.ppt\thours=06:00-07:00"}));
    Tell({.kind = Kind::Skipped, .show = Current()});
    EXPECT_EQ(machine_->State(), RunState::Resting) << "a show that cannot start is not retried "
                                                       "at once, again and again";
    Fire(RunTimer::Rest);
    Tell({.kind = Kind::Launched, .show = Current()});
    Tell({.kind = Kind::Placed, .show = Current()});
    now_ = Local(7, 0, 1);
    Tell(AlertSeen({L"gone.ppt\thours=06:00-07:00"}));
    EXPECT_EQ(actions_.asked, std::vector<ShowId>{Current()});
    Tell({.kind = Kind::ProcessEnded, .show = Current()});
    EXPECT_EQ(machine_->State(), RunState::AwaitingTime);
    EXPECT_EQ(actions_.paths, (std::vector<std::wstring>{L"gone.ppt", L"gone.ppt"}));
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
