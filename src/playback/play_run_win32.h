#pragma once
// The play run on the main window: the queued presentations shown one after the other while the
// window is hidden. Where the run goes is the RunMachine's alone; this driver turns messages,
// timers and the watchers' reports into facts for it, and carries out what it decides. Anything
// that may wait on a share (an entry's existence, a launch, the setting file's re-read) runs on a
// worker thread whose result is posted back, so the window answers a stop, the icon and the
// session's end at once, and any modal loop (the icon's menu, a message box) keeps the run going.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/dialogs_win32.h"
#include "common/unique_handle_win32.h"
#include "copies/local_copies_win32.h"
#include "playback/backdrop_win32.h"
#include "playback/folder_notice_win32.h"
#include "playback/placement_watcher_win32.h"
#include "run/play_log.h"
#include "playback/run_icon_win32.h"
#include "playback/wake_timer_win32.h"
#include "run/errand_slots.h"
#include "run/notice_follower.h"
#include "run/run_machine.h"

namespace tidewell {

// Messages of the run on the main window; the window hands them to the run. wParam: the show.
inline constexpr UINT kShowPlacedMessage = WM_APP + 40;  // lParam: the window placed
inline constexpr UINT kShowEndedMessage = WM_APP + 41;   // lParam: the exit code
inline constexpr UINT kRunErrorMessage = WM_APP + 42;
inline constexpr UINT kRunWorkDoneMessage = WM_APP + 43;  // lParam: the RunWork, now the receiver's
inline constexpr UINT kHandedPlacedMessage = WM_APP + 44;
inline constexpr UINT kHandedGoneMessage = WM_APP + 45;
inline constexpr UINT kFolderNoticeMessage = WM_APP + 46;  // wParam: the notice; lParam: what
// The run's timers on the main window: one per RunTimer from here, then the driver's own poll.
inline constexpr UINT_PTR kRunTimerBase = 0x7101;
inline constexpr UINT_PTR kEndPollTimer = kRunTimerBase + kRunTimerCount;
inline constexpr UINT_PTR kAlertLookTimer = kEndPollTimer + 1;
inline constexpr UINT_PTR kCopySweepTimer = kAlertLookTimer + 1;

// What a read of a followed file (the next pass's setting file, the announcement) brought on a
// worker: its presentations, or none to keep the current ones; `error` when it could not be read.
// `take` remembers the file as read: called only once the run has taken the content, so that a
// read the run gave up leaves the change to be read again.
struct FollowedRead {
    std::optional<std::vector<PlaylistEntry>> entries;
    std::wstring error;
    std::function<void()> take;
};

struct RunOptions {
    // After the last entry the run starts again from the top, until it is stopped.
    bool loop = false;
    // Started from the command line, with nobody at the desk: a presentation that is missing when
    // its turn comes is skipped, and a show whose window has not appeared after
    // `showTimeoutSeconds` (0: no limit) is asked to close.
    bool unattended = false;
    int showTimeoutSeconds = 120;
    // Called once the run has ended and the window is back (not when the window is going).
    std::function<void()> onEnded;
    // Told every event of the run (the play log); false when it could not be written down, which
    // the icon's tip then says once. None: nothing is told.
    std::function<bool(const RunEventRecord&)> report;
    // Before every pass after the first, on a worker thread: the next pass's presentations (a
    // setting file rewritten meanwhile). Then, on the window's thread, `takeNextPass` is given the
    // entries that changed. None: every pass plays the same entries.
    std::function<FollowedRead()> readNextPass;
    std::function<void(const std::vector<PlaylistEntry>&)> takeNextPass;
    // "/showfor" and "/advance": the time on screen and the slide pace of entries without their
    // own, for this run.
    std::optional<int> showForSeconds;
    std::optional<int> advanceSeconds;
    // Every change of the run's state, with the fact that caused it.
    std::function<void(RunState from, RunState to, const RunFact& cause)> onStateChanged;
    // The announcement: looked at every few seconds on a worker thread, which gives what it
    // holds now, or no entries when that is as before or cannot be told. None: no announcement.
    std::function<FollowedRead()> lookAtAlert;
    std::wstring alertSource;  // its file, for the play log
    // The setting file the run plays from: the clean-up keeps its copy, and when it is followed
    // (`readNextPass`) a save noticed in its folder while the run waits for a time is read at
    // once. Empty: none.
    std::wstring settingSource;
};

// Starts the watcher of a launched show; throws when it cannot. Tests give their own.
using WatcherStarter = std::function<std::unique_ptr<PlacementWatcher>(WatchedShow)>;
std::unique_ptr<PlacementWatcher> StartPlacementWatcher(WatchedShow show);

struct AimedMonitor {
    int number = 0;
    RECT bounds{};
};

// What the run needs of its surroundings.
struct RunSetup {
    HWND window = nullptr;
    HICON icon = nullptr;  // the notification icon's picture; no icon without one
    Dialogs* dialogs = nullptr;
    WatcherStarter startWatcher;
    // Writes the chosen monitor's corner into the shared playback state, so that the shows are
    // placed there; gives that monitor's number and rectangle, or none when it is not connected.
    std::function<std::optional<AimedMonitor>()> aimAtMonitor;
    // What the run waits for when aimAtMonitor gives none ("monitor 2, LG TV, is not connected").
    std::function<std::wstring()> missingMonitor;
    // Starts one show; an empty handle when it could not start. Runs on a worker thread.
    std::function<UniqueKernelHandle(const std::wstring& presentation)> launch;
    // Where presentations on a share or a removable drive are copied to and checked before they
    // play; none: every presentation is handed over as it is.
    std::shared_ptr<LocalCopies> copies;
    // The full path of the program that `launch` starts: a show handed on is taken only from a
    // copy of it.
    std::wstring program;
    RunTimings timings;
    // What the entries' days, hours and dates are read by; none: every entry plays in its turn.
    std::optional<ScheduleClock> clock;
    // Wakes the computer for a scheduled show; none: a sleeping computer is not woken.
    std::shared_ptr<WakeTimer> wakeTimer;
};

// A piece of the run done on a worker thread; the window's thread takes the result.
struct RunWork {
    ShowId show = 0;
    std::wstring path;
    bool passRead = false;
    // A launch: its process, or why the show was skipped.
    UniqueKernelHandle process;
    std::vector<HWND> slideShowsBefore;
    ULONGLONG launchedAt = 0;
    std::wstring skipped;
    bool unreachable = false;  // skipped: neither it nor a copy could be reached
    // For the show's start in the play log: a copy plays, or what the check found.
    std::wstring startDetail;
    std::uint64_t copiedAt = 0;  // a copy plays in place of an original that could not be had
    ShareAnswer share = ShareAnswer::None;
    // A read of the next pass, or a look at the announcement.
    FollowedRead read;
    bool alertLook = false;
};

class PlayRun : private RunActions {
  public:
    PlayRun(RunSetup setup, std::vector<PlaylistEntry> queue, RunOptions options);
    ~PlayRun() override;
    PlayRun(const PlayRun&) = delete;
    PlayRun& operator=(const PlayRun&) = delete;

    // Hides the window, aims at the chosen monitor and starts the first show, or ends at once
    // when nothing can start.
    void Begin();
    // A message or timer of the run: true when it was one.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The result of a worker's piece of this run (or of an earlier one, which is dropped).
    void TakeWork(std::unique_ptr<RunWork> work);

    // No entry follows the current one; "now" also asks the current show to end (again, if its
    // window appears later) and brings the window back at once. False when nothing plays.
    bool Stop(StopWhen when);
    void HoldLaunches(bool hold);
    // The displays changed: the backdrop and the show follow the chosen monitor; when it is not
    // connected, the backdrop goes and the run waits for it.
    void DisplayChanged();
    // The window is going: nothing more starts, no show is asked anything, the window is left.
    void EndForGood();

    RunState State() const { return machine_.State(); }
    // A show plays or is to follow: a stop has something to stop.
    bool Playing() const { return machine_.Playing(); }

  private:
    struct ShowHandles {
        UniqueKernelHandle process;
        DWORD processId = 0;
        std::vector<HWND> slideShowsBefore;
        HWND window = nullptr;  // once placed
        std::unique_ptr<PlacementWatcher> watcher;
    };

    // RunActions
    void StartShow(ShowId show, const std::wstring& path, bool checkExists) override;
    void ReadNextPass(ShowId read) override;
    void ReadTaken(ShowId read) override;
    void CloseLeft(ShowId show) override;
    void AskToClose(ShowId show) override;
    void LetGo(ShowId show) override;
    void LookForHandedShow(ShowId show) override;
    void CheckHandedShow(ShowId show) override;
    void SetTimer(RunTimer timer, unsigned milliseconds) override;
    void KillTimer(RunTimer timer) override;
    void Report(RunEvent event, const std::wstring& path, const std::wstring& detail) override;
    void ShowProgress(std::size_t position, std::size_t count, const std::wstring& path) override;
    void NextSlide(ShowId show) override;
    void CoverScreen() override;
    void GiveScreenBack() override;
    void Ended() override;
    void StateChanged(RunState from, RunState to, const RunFact& cause) override;
    void ArmWake(unsigned milliseconds) override;
    void CancelWake() override;
    void NextShowAt(const std::string& isoTime) override;

    void BeginStart(ShowId show, const std::wstring& path, bool checkExists);
    void Launched(std::unique_ptr<RunWork> work);
    void LookAtAlert();
    void BeginLook();
    void WatchFolders();
    void OnFolderNotice(WPARAM notice, LPARAM what);
    // `sweepNow`: every deck, not only the next entry's, whenever the last sweep was.
    void CopyNextEntry(bool sweepNow = false);
    void NameAlertDecks();
    void Tell(RunFact fact);
    void PollShowEnds();
    void BringWindowBack();
    void KillTimers();

    RunSetup setup_;
    RunOptions options_;
    RunMachine machine_;
    std::map<ShowId, ShowHandles> shows_;
    bool windowGoing_ = false;
    bool windowHidden_ = false;
    bool screenGivenBack_ = false;
    bool monitorGone_ = false;
    std::optional<RunIcon> icon_;
    Backdrop backdrop_;
    bool backdropUp_ = false;
    int monitorNumber_ = 0;  // of the last launch
    bool reportFailureShown_ = false;
    bool wakeFailureShown_ = false;
    std::string nextShow_;                   // for the waiting line that follows
    std::string copyTime_;                   // for the show-start line that follows
    ShareAnswer share_ = ShareAnswer::None;  // likewise
    // Where the run is in its list, for the reports that follow ("3 of 12").
    std::size_t position_ = 0, count_ = 0;
    std::exception_ptr placementFailure_;
    // The look at the announcement under way (0: none; a share may hold it), and what the
    // announcement held at the last look that could tell.
    ShowId alertLook_ = 0;
    std::vector<PlaylistEntry> alertEntries_;
    // The folders of the announcement file and of the followed setting file send notices of their
    // changes: the announcement is looked at on a notice, and only now and then otherwise.
    NoticeFollower alertFollower_;
    std::unique_ptr<FolderNotice> alertNotice_, settingNotice_;
    WPARAM alertNoticeTag_ = 0, settingNoticeTag_ = 0;
    // The read the run is told of, until it takes it (or drops it).
    ShowId readTold_ = 0;
    FollowedRead* readToldContent_ = nullptr;
    // Starts that a share may hold: the list's and an announcement's at the most. A start asked
    // beyond that waits for one of them to answer.
    ErrandSlots startSlots_{2};
    struct WaitingStart {
        std::wstring path;
        bool checkExists = false;
    };
    std::map<ShowId, WaitingStart> waitingStarts_;
    // The copy made ahead: one at a time, whatever the share does; shared with its thread.
    std::shared_ptr<std::atomic<bool>> copyUnderway_ = std::make_shared<std::atomic<bool>>(false);
    ULONGLONG lastSweep_ = 0;  // when the copies were last brought up to date all at once
};

}  // namespace tidewell
