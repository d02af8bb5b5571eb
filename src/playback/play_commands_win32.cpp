#include "playback/play_commands_win32.h"

#include <system_error>
#include <thread>

#include "common/file_exists_win32.h"
#include "common/window_worker_win32.h"
#include "launch/path_check_win32.h"
#include "launch/playback_state_win32.h"
#include "run/schedule_clock_win32.h"
#include "playback/stop_request_win32.h"
#include "launch/show_launch_win32.h"

namespace tidewell {

PlayCommands::PlayCommands(HWND window, Dialogs& dialogs, const PlaylistRows& playlist,
                           ProgramField& program, const MonitorSelector& monitor,
                           const std::vector<MonitorEntry>& monitors, WatcherStarter startWatcher,
                           HICON runIcon, RunTimings timings,
                           ExecutionStateSetter setExecutionState)
    : window_(window),
      dialogs_(dialogs),
      playlist_(playlist),
      program_(program),
      monitor_(monitor),
      numbers_(monitors),
      startWatcher_(std::move(startWatcher)),
      TntOpenDialog2{
          L"TntOpenDialog2", FileDialog::Kind::Open, L"*.exe",
          L"MS PowerPoint Viewer executable file|*.exe",
          FileDialog::kHideReadOnly | FileDialog::kEnableSizing | FileDialog::kFileMustExist},
      runIcon_(runIcon),
      timings_(timings),
      awake_(std::move(setExecutionState)) {}

bool PlayCommands::ChooseProgram() {
    if (!dialogs_.RunFileDialog(window_, TntOpenDialog2)) return false;
    program_.SetProgramPath(TntOpenDialog2.fileName);
    return true;
}

PlayCheckInput PlayCommands::GatherChecks(bool programExists, bool unattended) const {
    PlayCheckInput checks;
    checks.programExists = programExists;
    checks.playlistCount = playlist_.Count();
    checks.monitorNumber = monitor_.MonitorNumber();
    const FoundMonitor found = numbers_.Find(checks.monitorNumber, unattended);
    checks.monitor = found.bounds;
    if (!found.bounds && found.place.found == MonitorFound::Gone) {
        checks.missingMonitorName = numbers_.Name(checks.monitorNumber);
    }
    checks.primaryWidth = ::GetSystemMetrics(SM_CXSCREEN);
    checks.primaryHeight = ::GetSystemMetrics(SM_CYSCREEN);
    return checks;
}

bool PlayCommands::Play(PlaySender sender, RunOptions options, const ProgramApproval& approve) {
    if (IsPlaying()) return false;
    // Taken before anything else, and let go again by every way out below that starts nothing: a
    // second window finds it taken.
    std::optional<PlayingMarker> marker = std::exchange(playing_, std::nullopt);
    if (!marker) marker = PlayingMarker::Take();
    if (!marker) {
        dialogs_.ShowMessage(window_, std::wstring(kAnotherRunPlaysMessage));
        return false;
    }
    // What is checked here is what the run starts: the program is checked once.
    std::optional<CheckedProgram> program = CheckProgram(program_.ProgramPath());
    const bool unattended = options.unattended;
    const bool programExists = program && FileExists(program->FullPath());
    if (const auto message = FirstFailedPlayCheck(GatherChecks(programExists, unattended))) {
        dialogs_.ShowMessage(window_, *message);
        return false;
    }
    if (approve && !approve(*program)) return false;
    const int number = monitor_.MonitorNumber();
    // The first run on a number remembers which monitor it played on.
    if (!numbers_.Remembered(number)) numbers_.RememberListed(number);

    PlayQueue = BuildPlayQueue(sender, playlist_.Entries(), playlist_.SelectedIndex());
    RunProgramPath = program_.ProgramPath();

    // A run still finishing (its show stopped "now" and not yet ended) is let go.
    if (run_) run_->EndForGood();
    RunSetup setup;
    setup.window = window_;
    setup.icon = runIcon_;
    setup.dialogs = &dialogs_;
    setup.startWatcher = startWatcher_;
    // The run keeps the monitor it was started for, also while that monitor is switched off.
    setup.aimAtMonitor = [this, number, unattended] { return AimAtMonitor(number, unattended); };
    setup.missingMonitor = [this, number] { return numbers_.MissingText(number); };
    setup.program = program->FullPath();
    // Kept as one call, on a worker thread: a program on a share may take its time to start.
    setup.launch = [program = std::move(*program)](const std::wstring& presentation) {
        const std::optional<CheckedPresentation> checked = CheckPresentation(presentation);
        return checked ? LaunchShow(program, *checked) : UniqueKernelHandle();
    };
    setup.copies = std::make_shared<LocalCopies>(CopiesFolder());
    // Copies that no list has named for a long time go, away from the window: a disk can be slow.
    // The whole list names its presentations, also when only one of them plays now.
    try {
        std::vector<std::wstring> named;
        for (const PlaylistEntry& entry : playlist_.Entries()) named.push_back(entry.path);
        // The setting file's own copy is what the next start plays from with its share away.
        if (!options.settingSource.empty()) named.push_back(options.settingSource);
        std::thread([copies = setup.copies, named] { copies->RemoveUnnamed(named); }).detach();
    } catch (const std::system_error&) {
        // No thread: they are removed at the start of a later run.
    }
    setup.timings = timings_;
    setup.clock = ScheduleClockOfProcess();
    setup.wakeTimer = wakeTimer_;
    // The run marks this desktop as playing until it has ended.
    playing_ = std::move(marker);
    // Every run keeps the screen awake while it shows, whoever started it.
    options.onStateChanged = [this, inner = std::move(options.onStateChanged)](
                                 RunState from, RunState to, const RunFact& cause) {
        awake_.Follow(to);
        if (inner) inner(from, to, cause);
    };
    options.onEnded = [this, whenEnded = std::move(options.onEnded)] {
        playing_.reset();
        if (whenEnded) whenEnded();
    };
    run_ = std::make_unique<PlayRun>(std::move(setup), PlayQueue, std::move(options));
    run_->HoldLaunches(launchesHeld_);
    run_->Begin();
    return true;
}

std::optional<AimedMonitor> PlayCommands::AimAtMonitor(int number, bool unattended) {
    const auto bounds = numbers_.FindForRun(number, unattended).bounds;
    if (!bounds) return std::nullopt;  // gone during the run
    SharedPlaybackState& state = PlaybackState();
    state.targetTop.store(bounds->top);
    state.targetLeft.store(bounds->left);
    return AimedMonitor{number, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom}};
}

bool PlayCommands::HandleRunMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunWorkDoneMessage) {
        // Posted by a worker, which gave the result away: it is taken here even with no run.
        std::unique_ptr<RunWork> work = TakePosted<RunWork>(lParam);
        if (run_) run_->TakeWork(std::move(work));
        return true;
    }
    return run_ && run_->HandleMessage(message, wParam, lParam);
}

void PlayCommands::DisplayChanged() {
    if (run_) run_->DisplayChanged();
}

bool PlayCommands::Stop(StopWhen when) {
    return run_ && run_->Stop(when);
}

void PlayCommands::HoldLaunches(bool hold) {
    launchesHeld_ = hold;
    if (run_) run_->HoldLaunches(hold);
}

void PlayCommands::EndForGood() {
    if (run_) run_->EndForGood();
    playing_.reset();
}

}  // namespace tidewell
