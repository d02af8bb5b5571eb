#include "run_world.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace tidewell::simulation {
namespace {

using Kind = RunFact::Kind;
constexpr RunClock kNever = std::numeric_limits<RunClock>::max();
// An answer this quick is one that a working share and program give.
constexpr RunClock kQuick = 2'000;
// An announcement that may play is on screen within this long, whatever the list is doing.
constexpr RunClock kAlertWithin = 10'000;
constexpr RunClock kSecond = 1'000, kMinute = 60 * kSecond, kHour = 60 * kMinute;

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::string At(RunClock at) {
    return "t=" + std::to_string(at / 1000) + "." + std::to_string(at % 1000 / 100) + "s ";
}

std::vector<PlaylistEntry> Entries(std::initializer_list<const wchar_t*> lines) {
    std::vector<PlaylistEntry> entries;
    for (const wchar_t* line : lines) entries.push_back(*ParseEntryLine(line).entry);
    return entries;
}

bool IsAlertDeck(const std::wstring& path) {
    return path.starts_with(L"alert-");
}

}  // namespace

std::uint32_t Choices::Below(std::uint32_t count) {
    std::uint32_t drawn = 0;
    if (replaying_) {
        drawn = next_ < replay_.size() ? replay_[next_++] : 0;
    } else {
        drawn = static_cast<std::uint32_t>(random_());
    }
    drawn_.push_back(drawn);
    return count ? drawn % count : 0;
}

const char* NameOf(Happening happening) {
    static const char* const names[] = {
        "nothing",         "time moves on",   "the run's timer runs out", "an answer comes early",
        "a window appears", "a show ends",     "the setting file is saved", "the announcement is saved",
        "the announcement is withdrawn", "the announcement is put back", "its deck arrives",
        "the share stalls", "the share answers", "stop after this presentation", "stop now",
        "the monitor goes", "the monitor comes back", "the clock is set", "the computer sleeps",
        "the session may end", "the session goes on"};
    static_assert(std::size(names) == static_cast<std::size_t>(Happening::Count));
    return names[static_cast<std::size_t>(happening)];
}

const RunTimings& RunWorld::Timings() {
    static const RunTimings timings = [] {
        RunTimings t;
        t.startWaitMs = 0;
        return t;
    }();
    return timings;
}

RunWorld::RunWorld(Choices& choices) : choices_(choices) {
    RunPlan plan{ListOf(0), true, true, 20'000, true, Timings()};
    using namespace std::chrono;
    // Monday 2026-12-07, 07:55 UTC, in a zone of UTC: the lists' hours begin minutes later.
    plan.clock = ScheduleClock{[this] {
                                   return sys_days(2026y / December / 7) + hours(7) + minutes(55) +
                                          duration_cast<seconds>(milliseconds(now_ + clockShift_));
                               },
                               [](Instant) { return seconds(0); }};
    plan.alertSource = L"alert.ppsv";
    followed_.Take(FileStamp{1, 1});  // the file as the start read it
    machine_.emplace(static_cast<RunActions&>(*this), std::move(plan));
    machine_->Begin(now_, L"");
    Audit();
}

RunWorld::~RunWorld() = default;

std::vector<PlaylistEntry> RunWorld::ListOf(int version) const {
    switch (version % 4) {
        case 0:
            return Entries({L"a.ppt", L"b.ppt"});
        case 1:
            return Entries({L"c.ppt"});
        case 2:
            return Entries({L"d.ppt\thours=08:00-08:10", L"e.ppt\thours=09:00-09:05"});
        default:
            return Entries({L"a.ppt", L"f.ppt\thours=08:30-23:00"});
    }
}

// The announcement as a look finds it: its decks that are on the share.
std::vector<PlaylistEntry> RunWorld::AlertEntries() const {
    std::vector<PlaylistEntry> entries;
    if (alertVersion_ % 3 != 1) entries.push_back(L"alert-x.ppt");
    if (alertVersion_ % 3 != 0 && alertDeckThere_) entries.push_back(L"alert-y.ppt");
    return entries;
}

RunClock RunWorld::Latency(bool mayStall) {
    if (mayStall && !shareAnswers_) return kNever;
    const std::uint32_t kind = choices_.Below(100);
    if (kind < 85) return choices_.Below(kQuick);
    if (kind < 97) return kQuick + choices_.Below(40 * kSecond);
    return kMinute + choices_.Below(kMinute);
}

std::string RunWorld::Step(std::optional<Happening> happening) {
    if (!happening) {
        // Weighted: time moving on most of the time, the rest now and then.
        static const std::pair<Happening, int> weights[] = {
            {Happening::Answer, 440},
            {Happening::AnswerAny, 60},      {Happening::WindowAppears, 20},
            {Happening::ProgramEnds, 40},    {Happening::FileChanges, 30},
            {Happening::AlertSaved, 30},     {Happening::AlertWithdrawn, 20},
            {Happening::AlertPutBack, 15},   {Happening::DeckArrives, 15},
            {Happening::ShareStalls, 12},    {Happening::ShareAnswers, 30},
            {Happening::StopAfter, 1},       {Happening::StopNow, 1},
            {Happening::MonitorGone, 8},     {Happening::MonitorBack, 15},
            {Happening::ClockJumps, 10},     {Happening::Sleeps, 8},
            {Happening::Hold, 4},            {Happening::Release, 12},
        };
        int total = 0;
        for (const auto& [what, weight] : weights) total += weight;
        int pick = static_cast<int>(choices_.Below(static_cast<std::uint32_t>(total)));
        happening = Happening::Nothing;
        for (const auto& [what, weight] : weights) {
            if ((pick -= weight) < 0) {
                happening = what;
                break;
            }
        }
    }
    std::string line = Do(*happening);
    Audit();
    return line;
}

std::string RunWorld::Do(Happening happening) {
    std::string line = At(now_) + NameOf(happening);
    switch (happening) {
        case Happening::Nothing:
        case Happening::Count:
            return line;
        case Happening::Answer:
            return MoveTo(kNever);
        case Happening::TimerRunsOut:
            return timers_.empty() ? line : FireTimer();
        case Happening::AnswerAny: {
            std::vector<std::size_t> ready;
            for (std::size_t i = 0; i < answers_.size(); ++i) {
                if (!answers_[i].stalls && answers_[i].at != kNever) ready.push_back(i);
            }
            if (ready.empty()) return line;
            return line + ": " + DeliverAnswer(ready[choices_.Below(ready.size())]);
        }
        case Happening::WindowAppears:
        case Happening::ProgramEnds: {
            std::vector<Process*> running;
            for (auto& [show, process] : processes_) {
                if (process.running) running.push_back(&process);
            }
            if (running.empty()) return line;
            Process& process = *running[choices_.Below(running.size())];
            if (happening == Happening::WindowAppears) {
                if (!process.window && !process.handedAway) process.windowAt = now_;
            } else {
                process.endAt = now_;
            }
            return MoveTo(now_);
        }
        case Happening::FileChanges:
            fileVersion_ += 1 + static_cast<int>(choices_.Below(3));
            readsTakenSinceSave_ = 0;
            saveTakenUp_ = false;
            return line + " (list " + std::to_string(fileVersion_ % 4) + ")";
        case Happening::AlertSaved:
            alertThere_ = true;
            alertVersion_ += 1 + static_cast<int>(choices_.Below(2));
            alertDeckThere_ = choices_.Below(2) == 0;
            return line + (alertDeckThere_ ? "" : " before its deck");
        case Happening::AlertWithdrawn:
            alertThere_ = false;
            return line;
        case Happening::AlertPutBack:
            alertThere_ = true;
            return line;
        case Happening::DeckArrives:
            alertDeckThere_ = true;
            return line;
        case Happening::ShareStalls:
            shareAnswers_ = false;
            return line;
        case Happening::ShareAnswers:
            if (!shareAnswers_) {
                shareAnswers_ = true;
                for (Answer& answer : answers_) {
                    if (answer.stalls) {
                        answer.stalls = false;
                        answer.at = now_ + Latency(false);
                    }
                }
            }
            return line;
        case Happening::StopAfter:
        case Happening::StopNow:
            if (!machine_->Playing()) return line;
            stop_ = happening == Happening::StopNow ? StopWhen::Now : StopWhen::AfterThisPresentation;
            Tell({.kind = Kind::StopAsked, .stop = *stop_});
            return line;
        case Happening::MonitorGone:
            if (!std::exchange(monitorThere_, false)) return line;
            Tell({.kind = Kind::MonitorGone, .detail = L"monitor 1 is not connected"});
            return line;
        case Happening::MonitorBack:
            if (std::exchange(monitorThere_, true)) return line;
            Tell({.kind = Kind::MonitorBack});
            return line;
        case Happening::ClockJumps: {
            const RunClock by = (1 + choices_.Below(180)) * kMinute;
            const bool back = choices_.Below(2) == 0 && clockShift_ >= by;
            clockShift_ = back ? clockShift_ - by : clockShift_ + by;
            Tell({.kind = Kind::ClockChanged});
            return line + (back ? " back " : " forward ") + std::to_string(by / kMinute) + " min";
        }
        case Happening::Sleeps: {
            // What is due this moment happens before the computer goes to sleep.
            for (int i = 0; i < 50 && MoveTo(now_).ends_with("nothing is due") == false; ++i) {
            }
            RunClock slept = (1 + choices_.Below(12 * 60)) * kMinute;
            const bool woken = wakeAt_ && *wakeAt_ <= now_ + slept;
            if (woken) slept = *wakeAt_ > now_ ? *wakeAt_ - now_ : 0;
            // Asleep, nothing counts: every timer and answer is that much later.
            now_ += slept;
            lastAudit_ += slept;  // asleep, nobody waits for the screen
            for (auto& [timer, at] : timers_) at += slept;
            for (Answer& answer : answers_) {
                if (answer.at != kNever) answer.at += slept;
            }
            for (auto& [show, process] : processes_) {
                if (process.windowAt) *process.windowAt += slept;
                if (process.endAt) *process.endAt += slept;
                if (process.handedEndAt) *process.handedEndAt += slept;
            }
            nextLook_ += slept;
            if (woken) wakeAt_.reset();
            Tell({.kind = woken ? Kind::Woken : Kind::ClockChanged});
            return line + " " + std::to_string(slept / kMinute) + " min" + (woken ? ", woken" : "");
        }
        case Happening::Hold:
            held_ = true;
            Tell({.kind = Kind::Hold});
            return line;
        case Happening::Release:
            if (!std::exchange(held_, false)) return line;
            Tell({.kind = Kind::Release});
            return line;
    }
    return line;
}

// Time moves on to the first thing due at or before `until`: a timer of the run, an answer, a
// program's window or end, the driver's look at the announcement.
std::string RunWorld::MoveTo(RunClock until) {
    enum class Next { None, Timer, Answer, Window, End, HandedEnd, Look } next = Next::None;
    RunClock at = kNever;
    std::size_t answer = 0;
    Process* process = nullptr;
    for (const auto& [timer, due] : timers_) {
        if (due < at) at = due, next = Next::Timer;
    }
    for (std::size_t i = 0; i < answers_.size(); ++i) {
        if (!answers_[i].stalls && answers_[i].at < at) at = answers_[i].at, next = Next::Answer, answer = i;
    }
    for (auto& [show, p] : processes_) {
        if (!p.running) continue;
        if (p.windowAt && !p.window && *p.windowAt < at) at = *p.windowAt, next = Next::Window, process = &p;
        if (p.endAt && *p.endAt < at) at = *p.endAt, next = Next::End, process = &p;
    }
    for (auto& [show, p] : processes_) {
        if (p.handedWindow && p.handedEndAt && *p.handedEndAt < at) {
            at = *p.handedEndAt, next = Next::HandedEnd, process = &p;
        }
    }
    if (!Over() && nextLook_ < at) at = nextLook_, next = Next::Look;
    if (next == Next::None || (until != kNever && at > until)) return At(now_) + "nothing is due";
    now_ = std::max(now_, at);
    switch (next) {
        case Next::Timer:
            return FireTimer();
        case Next::Answer:
            return At(now_) + DeliverAnswer(answer);
        case Next::Window:
            process->window = true;
            if (process->closer) CloseAsked(*process);
            Tell({.kind = Kind::Placed, .show = process->show});
            return At(now_) + "the window of show " + std::to_string(process->show) + " appears";
        case Next::End: {
            process->running = false;
            process->window = false;
            process->endAt.reset();
            if (process->handedAway) {
                // Its show goes on in the copy that took it over, until it ends there.
                process->handedWindow = true;
                process->handedEndAt = now_ + 5 * kSecond + choices_.Below(kMinute);
            }
            Tell({.kind = Kind::ProcessEnded, .show = process->show});
            return At(now_) + "the program of show " + std::to_string(process->show) + " ends";
        }
        case Next::HandedEnd:
            process->handedWindow = false;
            return At(now_) + "the handed window of show " + std::to_string(process->show) +
                   " closes";
        case Next::Look:
            return LookAtAlert();
        case Next::None:
            break;
    }
    return {};
}

std::string RunWorld::FireTimer() {
    auto first = std::ranges::min_element(timers_, {}, [](const auto& t) { return t.second; });
    const RunTimer timer = first->first;
    now_ = std::max(now_, first->second);
    timers_.erase(first);
    Tell({.kind = Kind::TimerFired, .timer = timer});
    return At(now_) + "timer " + std::to_string(static_cast<int>(timer)) + " runs out";
}

// As the driver looks: one look at a time, every few seconds, its answer taken only while the run
// lives.
std::string RunWorld::LookAtAlert() {
    nextLook_ = now_ + Timings().alertLookMs;
    if (lookUnderway_) return At(now_) + "a look is still under way";
    lookUnderway_ = NewShowId();
    const RunClock latency = Latency(true);
    answers_.push_back({Answer::Kind::Look, lookUnderway_, latency == kNever ? kNever : now_ + latency,
                        latency == kNever});
    return At(now_) + "the announcement is looked at";
}

std::string RunWorld::DeliverAnswer(std::size_t index) {
    const Answer answer = answers_[index];
    answers_.erase(answers_.begin() + static_cast<std::ptrdiff_t>(index));
    const std::string id = std::to_string(answer.id);
    switch (answer.kind) {
        case Answer::Kind::Start: {
            if (const auto next = startSlots_.Done(answer.id)) {
                if (next == waitingStart_) waitingStart_.reset();
                BeginStart(*next);
            }
            if (answer.outcome >= 1) {
                Tell({.kind = Kind::Skipped, .show = answer.id, .unreachable = answer.outcome == 2});
                return "the start of show " + id + " answers: skipped";
            }
            Process& process = processes_[answer.id];
            process.show = answer.id;
            // Choices of 0 give the common case: a program that shows its window, and closes.
            process.stubborn = choices_.Below(10) == 9;
            const std::uint32_t kind = choices_.Below(20);
            if (kind == 19) {
                process.handedAway = true;  // single-instance: hands the file over, ends at once
                process.endAt = now_;
            } else if (kind < 18) {         // (18: never shows a window)
                process.windowAt = now_ + 100 + choices_.Below(3 * kSecond);
                process.endAt = *process.windowAt + kSecond + choices_.Below(kMinute);
            }
            Tell({.kind = Kind::Launched, .show = answer.id});
            return "the start of show " + id + " answers: launched";
        }
        case Answer::Kind::Read: {
            // Read as the follower reads: the file's stamp, and its list when that changed.
            const FileStamp stamp{static_cast<std::uint64_t>(fileVersion_) + 1,
                                  static_cast<std::uint64_t>(fileVersion_) + 1};
            RunFact fact{.kind = Kind::PassRead, .show = answer.id};
            if (!followed_.Unchanged(stamp)) {
                fact.entries = ListOf(fileVersion_);
                readsToTake_[answer.id] = stamp;
            }
            Tell(fact);
            readsToTake_.erase(answer.id);
            return "read " + id + " answers" + (fact.entries ? ": a new list" : ": unchanged");
        }
        case Answer::Kind::Look: {
            lookUnderway_ = 0;
            if (Over()) return "a look answers after the run";
            std::optional<std::vector<PlaylistEntry>> entries;
            if (!alertThere_) {
                alertFollowed_.Forget();
                entries.emplace();
            } else {
                const FileStamp stamp{static_cast<std::uint64_t>(alertVersion_) + 100, 7};
                if (!alertFollowed_.Unchanged(stamp)) {
                    entries = AlertEntries();
                    // A deck not there yet: the file is read again at the next look.
                    if (alertVersion_ % 3 == 0 || alertDeckThere_) alertFollowed_.Take(stamp);
                }
            }
            if (entries) alertSeen_ = *entries;
            Tell({.kind = Kind::AlertSeen, .entries = alertSeen_});
            return "a look answers: " + std::to_string(alertSeen_.size()) + " announced";
        }
        case Answer::Kind::Handed:
            Tell({.kind = Kind::Placed, .show = answer.id, .handed = true});
            return "the handed window of show " + id + " is placed";
        case Answer::Kind::HandedGone:
            Tell({.kind = Kind::WindowGone, .show = answer.id});
            return "the handed window of show " + id + " is gone";
    }
    return {};
}

void RunWorld::Tell(RunFact fact) {
    fact.at = now_;
    machine_->On(fact);
}

void RunWorld::StartShow(ShowId show, const std::wstring& path, bool) {
    startPaths_[show] = path;
    startedPaths_.push_back(path);
    if (startSlots_.Ask(show)) return BeginStart(show);
    waitingStart_ = show;
}

void RunWorld::BeginStart(ShowId show) {
    const RunClock latency = Latency(true);
    const std::uint32_t outcome = choices_.Below(100);
    Answer answer{Answer::Kind::Start, show, latency == kNever ? kNever : now_ + latency,
                  latency == kNever, outcome < 84 ? 0 : outcome < 92 ? 1 : outcome < 96 ? 2 : 3};
    if (answer.outcome == 3) {  // a start that never comes back
        answer.outcome = 0;
        answer.at = kNever;
        answer.stalls = false;
    }
    answers_.push_back(answer);
}

void RunWorld::ReadNextPass(ShowId read) {
    const RunClock latency = Latency(true);
    answers_.push_back({Answer::Kind::Read, read, latency == kNever ? kNever : now_ + latency,
                        latency == kNever});
}

void RunWorld::ReadTaken(ShowId read) {
    if (const auto found = readsToTake_.find(read); found != readsToTake_.end() && found->second) {
        followed_.Take(*found->second);
    }
    ++readsTakenSinceSave_;
}

RunWorld::Process* RunWorld::ProcessOf(ShowId show) {
    const auto found = processes_.find(show);
    return found == processes_.end() ? nullptr : &found->second;
}

// A program asked while its window is there ends soon, unless it asks "Save?" of nobody.
void RunWorld::CloseAsked(Process& process) {
    if (!process.running || process.stubborn || !process.window) return;
    process.endAsked = true;
    process.endAt = std::min(process.endAt.value_or(kNever), now_ + 200);
}

void RunWorld::AskToClose(ShowId show) {
    Process* process = ProcessOf(show);
    if (!process) return;
    CloseAsked(*process);
    if (process->handedWindow && !process->stubborn) {
        process->handedWindow = false;
        answers_.push_back({Answer::Kind::HandedGone, show, now_ + 300});
    }
}

void RunWorld::LetGo(ShowId) {}

void RunWorld::CloseLeft(ShowId show) {
    Process* process = ProcessOf(show);
    if (!process) return;
    process->closer = true;
    CloseAsked(*process);
    // A show it handed to another copy is looked for and closed as well.
    process->handedWindow = process->handedWindow && process->stubborn;
}

void RunWorld::LookForHandedShow(ShowId show) {
    if (Process* process = ProcessOf(show); process && process->handedWindow) {
        answers_.push_back({Answer::Kind::Handed, show, now_ + 1});
    }
}

void RunWorld::CheckHandedShow(ShowId show) {
    if (Process* process = ProcessOf(show); !process || !process->handedWindow) {
        answers_.push_back({Answer::Kind::HandedGone, show, now_ + 1});
    }
}

void RunWorld::SetTimer(RunTimer timer, unsigned milliseconds) {
    timers_[timer] = now_ + milliseconds;
}

void RunWorld::KillTimer(RunTimer timer) {
    timers_.erase(timer);
}

void RunWorld::Report(RunEvent event, const std::wstring& path, const std::wstring& detail) {
    if (runEnded_) Fail("nothing is written after run-end", Narrow(detail));
    events_.push_back(event);
    switch (event) {
        case RunEvent::ShowStart:
            if (std::exchange(showOpen_, true)) Fail("every show-start has its show-end", "");
            break;
        case RunEvent::ShowEnd:
            showOpen_ = false;
            break;
        case RunEvent::Error:
            if (detail.find(L"left running") != std::wstring::npos) showOpen_ = false;
            break;
        case RunEvent::AlertStart:
            alertOpen_ = true;
            break;
        case RunEvent::AlertEnd:
            alertOpen_ = false;
            break;
        case RunEvent::RunEnd:
            runEnded_ = true;
            if (showOpen_) Fail("every show-start has its show-end before run-end", "");
            if (alertOpen_) Fail("every alert-start has its alert-end before run-end", "");
            break;
        default:
            break;
    }
    ApplyRunEvent(status_, RunEventRecord{event, 1, path, detail}, "now");
}

void RunWorld::StateChanged(RunState, RunState to, const RunFact&) {
    ApplyRunState(status_, to, "now");
}

void RunWorld::Fail(std::string rule, std::string detail) {
    if (!broken_) broken_ = Violation{std::move(rule), std::move(detail)};
}

void RunWorld::Audit() {
    const RunMachine& machine = *machine_;
    const std::optional<ShowId> current = machine.CurrentShow();

    // No show on screen that nobody will close.
    for (const auto& [show, process] : processes_) {
        const bool onScreen = (process.running && process.window) || process.handedWindow;
        const bool tracked = current == show || machine.StillClosing(show) ||
                             process.closer || process.endAsked || process.stubborn;
        if (onScreen && !tracked) {
            Fail("no show stays on screen with nobody to close it",
                 "show " + std::to_string(show) + " (" + Narrow(startPaths_[show]) + ")");
        }
    }

    // A run that waits has a timer, or waits for an answer it still wants.
    if (!Over() && machine.State() != RunState::Held && machine.State() != RunState::AwaitingMonitor) {
        bool waits = !timers_.empty();
        for (const Answer& answer : answers_) {
            waits = waits || (answer.kind == Answer::Kind::Start && current == answer.id) ||
                    (answer.kind == Answer::Kind::Read && machine.WantsRead(answer.id)) ||
                    (current == answer.id && answer.kind != Answer::Kind::Look);
        }
        if (waitingStart_ && current == waitingStart_) waits = true;
        if (current) {
            if (const Process* process = processes_.contains(*current) ? &processes_.at(*current) : nullptr) {
                waits = waits || process->running || process->handedWindow;
            }
        }
        if (!waits) Fail("the run never waits without a timer or an answer it still wants",
                         "state " + std::to_string(static_cast<int>(machine.State())));
    }

    // A saved list is playing by the second read the run takes after the save.
    if (!saveTakenUp_) {
        if (machine.Entries() == ListOf(fileVersion_)) {
            saveTakenUp_ = true;
        } else if (readsTakenSinceSave_ >= 2) {
            Fail("a saved list is taken up within two passes once reads answer",
                 "list " + std::to_string(fileVersion_ % 4) + " not playing after " +
                     std::to_string(readsTakenSinceSave_) + " reads");
        }
    }

    // An announcement that may play is on screen within 10 s, whatever the list is doing, unless
    // a stop was asked (or the session, the monitor, the share or its own program hold it up).
    const RunClock passed = now_ - std::exchange(lastAudit_, now_);
    const bool alertShowing = current && IsAlertDeck(startPaths_[*current]);
    bool excused = Over() || stop_ || held_ || !monitorThere_ || !shareAnswers_ ||
                   machine.State() == RunState::Closing ||
                   machine.State() == RunState::AwaitingHandOff || machine.AlertResting(now_);
    for (const Answer& answer : answers_) {
        excused = excused || (answer.kind == Answer::Kind::Look && answer.at > now_ + kQuick);
    }
    if (!alertThere_ || AlertEntries().empty() || alertShowing) {
        alertWaited_ = 0;
    } else if (!excused) {
        alertWaited_ += passed;
        if (alertWaited_ > kAlertWithin) {
            Fail("an announcement is on screen within 10 s",
                 "waited " + std::to_string(alertWaited_) + " ms in state " +
                     std::to_string(static_cast<int>(machine.State())));
        }
    }

    // The status a run leaves says it stopped, with no presentation and no announcement.
    if (Over() && (status_.state != ScreenState::Stopped || !status_.presentation.empty() ||
                   status_.alert)) {
        Fail("a stopped run's status names no presentation",
             "presentation " + Narrow(status_.presentation));
    }
}

Outcome Simulate(Choices& choices, std::size_t steps) {
    Outcome outcome;
    RunWorld world(choices);
    std::size_t afterEnd = 0;
    for (std::size_t step = 0; step < steps; ++step) {
        outcome.lines.push_back(world.Step());
        if ((outcome.broken = world.Broken())) return outcome;
        // Late answers still come after the run's end, for a while.
        if (world.Over() && ++afterEnd > 30) break;
    }
    return outcome;
}

std::vector<std::uint32_t> Shrink(std::vector<std::uint32_t> failing, std::size_t steps) {
    const auto rule = [steps](const std::vector<std::uint32_t>& list) -> std::string {
        Choices replay(list);
        const Outcome outcome = Simulate(replay, steps);
        return outcome.broken ? outcome.broken->rule : std::string{};
    };
    const std::string broken = rule(failing);
    constexpr std::size_t kTries = 6'000;
    std::size_t tries = 0;
    // Cut runs of choices, long ones first, then set single choices to 0 (the common case: a
    // quick answer, a program that behaves), again while either still makes progress.
    for (bool progress = true; progress && tries < kTries;) {
        progress = false;
        for (std::size_t chunk = failing.size() / 2; chunk >= 1 && tries < kTries; chunk /= 2) {
            for (std::size_t at = 0; at + chunk <= failing.size() && tries < kTries; ++tries) {
                std::vector<std::uint32_t> shorter = failing;
                shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(at),
                              shorter.begin() + static_cast<std::ptrdiff_t>(at + chunk));
                if (rule(shorter) == broken) {
                    failing = std::move(shorter);
                    progress = true;
                } else {
                    at += chunk;
                }
            }
        }
        for (std::size_t at = 0; at < failing.size() && tries < kTries; ++at) {
            if (failing[at] == 0) continue;
            ++tries;
            std::vector<std::uint32_t> simpler = failing;
            simpler[at] = 0;
            if (rule(simpler) == broken) {
                failing = std::move(simpler);
                progress = true;
            }
        }
    }
    return failing;
}

}  // namespace tidewell::simulation
