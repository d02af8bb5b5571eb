#pragma once
// A world of fakes around the play run, for a seeded simulation: a clock, presentation programs
// that start slowly or never, hand their show to another copy or refuse to close, a share that
// stalls, a followed setting file and an announcement file that change, decks that arrive late, a
// monitor, sleep and the clock's changes. It plays the Win32 driver's part with the same portable
// pieces the driver uses (the follower of a file, the bound on starts), and after every step an
// auditor checks what must hold in every order of events. Everything it does comes from a list of
// choices, so that a failing list can be shrunk to the fewest steps that still fail.
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "reporting/run_status.h"
#include "run/errand_slots.h"
#include "run/followed_file.h"
#include "run/run_machine.h"

namespace tidewell::simulation {

// Where the world's choices come from: a random generator, whose draws are written down, or a
// list written down before (past its end, every choice is 0: nothing more happens).
class Choices {
  public:
    explicit Choices(std::uint64_t seed) : random_(seed) {}
    explicit Choices(std::vector<std::uint32_t> replay) : replay_(std::move(replay)), replaying_(true) {}

    // A number below `count`.
    std::uint32_t Below(std::uint32_t count);
    const std::vector<std::uint32_t>& Drawn() const { return drawn_; }

  private:
    std::mt19937 random_;
    std::vector<std::uint32_t> replay_;
    bool replaying_ = false;
    std::size_t next_ = 0;
    std::vector<std::uint32_t> drawn_;
};

// Everything that can happen to a run, as a step. The random driver picks them; a table test
// writes them down.
enum class Happening {
    Nothing,
    Answer,           // the earliest answer due (a start, a read, a look) arrives, time moves on
    TimerRunsOut,     // the run's earliest timer runs out, time moves on to it
    AnswerAny,        // one waiting answer arrives early, whatever its order
    WindowAppears,    // a started program shows its window
    ProgramEnds,      // a program's show ends by itself
    FileChanges,      // the followed setting file is saved with another list
    AlertSaved,       // the announcement file is saved (a deck it names may not be there yet)
    AlertWithdrawn,   // it is deleted
    AlertPutBack,     // the same file is copied back (its time kept)
    DeckArrives,      // the missing deck of the announcement is copied to the share
    ShareStalls,      // the share stops answering: answers wait until it is back
    ShareAnswers,
    StopAfter,
    StopNow,
    MonitorGone,
    MonitorBack,
    ClockJumps,       // the clock is set forward or back
    Sleeps,           // the computer sleeps a while (or until its wake timer)
    Hold,             // the session may end
    Release,
    Count,
};
const char* NameOf(Happening happening);

struct Violation {
    std::string rule;
    std::string detail;
};

class RunWorld : private RunActions {
  public:
    explicit RunWorld(Choices& choices);
    ~RunWorld() override;

    // One step: `happening`, or one the choices pick. The step's line for a report.
    std::string Step(std::optional<Happening> happening = std::nullopt);
    // What the auditor found wrong after the last step, if anything.
    const std::optional<Violation>& Broken() const { return broken_; }
    bool Over() const { return machine_->State() == RunState::Over; }
    const RunMachine& Machine() const { return *machine_; }
    RunClock Now() const { return now_; }
    const std::vector<std::wstring>& Started() const { return startedPaths_; }
    const std::vector<RunEvent>& Events() const { return events_; }

    // The timings of the run in this world.
    static const RunTimings& Timings();

  private:
    struct Process {
        ShowId show = 0;
        bool running = true;
        bool window = false;
        bool handedAway = false;   // ended at once, its show handed to another copy
        bool handedWindow = false; // that copy's window for it is on screen
        bool stubborn = false;     // asks "Save?" of nobody: never ends when asked
        bool closer = false;       // asked to close by what outlives the run
        bool endAsked = false;     // asked while its window was there: it ends soon
        std::optional<RunClock> windowAt, endAt, handedEndAt;
    };
    struct Answer {
        enum class Kind { Start, Read, Look, Handed, HandedGone } kind;
        std::uint64_t id = 0;
        RunClock at = 0;  // when it arrives; none while the share stalls
        bool stalls = false;
        int outcome = 0;
    };

    // RunActions
    void StartShow(ShowId show, const std::wstring& path, bool checkExists) override;
    void ReadNextPass(ShowId read) override;
    void ReadTaken(ShowId read) override;
    void AskToClose(ShowId show) override;
    void LetGo(ShowId show) override;
    void CloseLeft(ShowId show) override;
    void LookForHandedShow(ShowId show) override;
    void CheckHandedShow(ShowId show) override;
    void SetTimer(RunTimer timer, unsigned milliseconds) override;
    void KillTimer(RunTimer timer) override;
    void Report(RunEvent event, const std::wstring& path, const std::wstring& detail) override;
    void ShowProgress(std::size_t, std::size_t, const std::wstring&) override {}
    void GiveScreenBack() override {}
    void Ended() override {}
    void StateChanged(RunState from, RunState to, const RunFact& cause) override;
    void ArmWake(unsigned milliseconds) override { wakeAt_ = now_ + milliseconds; }
    void CancelWake() override { wakeAt_.reset(); }

    std::string Do(Happening happening);
    std::string DeliverAnswer(std::size_t index);
    std::string MoveTo(RunClock at);
    std::string FireTimer();
    std::string LookAtAlert();
    void Tell(RunFact fact);
    void BeginStart(ShowId show);
    RunClock Latency(bool mayStall);
    std::vector<PlaylistEntry> ListOf(int version) const;
    std::vector<PlaylistEntry> AlertEntries() const;
    Process* ProcessOf(ShowId show);
    void CloseAsked(Process& process);
    void Audit();
    void Fail(std::string rule, std::string detail);

    Choices& choices_;
    RunClock now_ = 0;
    RunClock clockShift_ = 0;  // the clock set forward (or back) by hand, in ms
    std::optional<RunMachine> machine_;
    std::map<RunTimer, RunClock> timers_;
    std::vector<Answer> answers_;
    std::map<ShowId, std::wstring> startPaths_;
    std::vector<std::wstring> startedPaths_;
    std::map<ShowId, Process> processes_;
    ErrandSlots startSlots_{2};
    std::optional<ShowId> waitingStart_;
    bool shareAnswers_ = true;
    bool monitorThere_ = true;
    bool held_ = false;
    std::optional<RunClock> wakeAt_;
    std::optional<StopWhen> stop_;

    // The followed setting file: the version saved, and the follower's memory of it.
    int fileVersion_ = 0;
    FollowedFile followed_;
    std::map<ShowId, std::optional<FileStamp>> readsToTake_;
    // Since the last save: reads the run took, and the list it must play by the second one.
    int readsTakenSinceSave_ = 0;
    bool saveTakenUp_ = true;

    // The announcement file: there or not, its version, and whether its second deck is there yet.
    bool alertThere_ = false;
    int alertVersion_ = 0;
    bool alertDeckThere_ = true;
    FollowedFile alertFollowed_;
    std::uint64_t lookUnderway_ = 0;
    RunClock nextLook_ = 0;
    std::vector<PlaylistEntry> alertSeen_;
    // How long an announcement that may play has waited for the screen, in time that counts.
    RunClock alertWaited_ = 0;
    RunClock lastAudit_ = 0;

    // The play log as the run writes it, and the status as a status file would say it.
    std::vector<RunEvent> events_;
    bool showOpen_ = false, alertOpen_ = false, runEnded_ = false;
    RunStatus status_;
    std::optional<Violation> broken_;
};

// Runs `steps` steps (or until the run is over) from the choices; the steps' lines, and what was
// found, if anything.
struct Outcome {
    std::vector<std::string> lines;
    std::optional<Violation> broken;
};
Outcome Simulate(Choices& choices, std::size_t steps);

// The fewest choices, found by cutting and lowering, that still break what `failing` broke.
std::vector<std::uint32_t> Shrink(std::vector<std::uint32_t> failing, std::size_t steps);

}  // namespace tidewell::simulation
