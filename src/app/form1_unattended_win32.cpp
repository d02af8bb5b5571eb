// The main window with nobody at the desk: what the command line asks at start, stopping a run
// from another process, and the end of the Windows session.
#include "app/form1_win32.h"
#include "common/app_error.h"
#include "common/error_text.h"
#include "common/file_exists_win32.h"
#include "common/full_path_win32.h"
#include "common/window_worker_win32.h"
#include "copies/local_copies_win32.h"
#include "launch/path_check_win32.h"
#include "playback/stop_request_win32.h"
#include "launch/unattended_launch.h"
#include "launch/unattended_launch_win32.h"
#include "persistence/alert_file_win32.h"

namespace tidewell {

// What the worker of a start reads and looks for, and what it found.
struct StartRead {
    unsigned attempt = 0;
    bool play = false;
    std::optional<std::wstring> settingFile;
    // The share's file has not answered in time: its last good copy is read instead.
    bool shareSilent = false;
    int monitorCount = 0;
    std::optional<ReadSetting> setting;
    std::exception_ptr error;  // of the setting file's read
    // The share's file could not be read and its last good copy was: why not.
    std::wstring copyError;
    // A looping run follows the file from what it was when read.
    bool loop = false;
    std::shared_ptr<SettingFileWatch> watch;
    // The program field's text once the setting file is in, and what the check made of it.
    std::wstring program;
    std::optional<CheckedProgram> checked;
    bool programExists = false;
};

namespace {

// The program that the start would run, checked and looked for (it may be on a share too).
void LookForProgram(StartRead& read, std::wstring program) {
    read.program = std::move(program);
    read.checked = CheckProgram(read.program);
    read.programExists = read.checked && FileExists(read.checked->FullPath());
}

// The setting file's last good copy in place of the share's file, which failed or is silent
// (`why`).
void ReadSettingCopy(StartRead& read, const std::wstring& copy, std::wstring why) {
    try {
        read.setting = SettingCommands::Read(copy, read.monitorCount, *read.settingFile);
        read.copyError = std::move(why);
    } catch (...) {
        read.error = std::current_exception();
    }
}

// On a worker: the setting file (or its copy), then the program it names.
void ReadStart(StartRead& read) {
    // A copy gone since the share fell silent leaves the share's own read, as without a copy.
    const std::optional<std::wstring> silentCopy =
        read.settingFile && read.shareSilent ? SettingCopyOf(*read.settingFile) : std::nullopt;
    if (silentCopy) {
        // Taken up from the share at the first pass, whatever its stamp then.
        if (read.loop) read.watch = std::make_shared<SettingFileWatch>(*read.settingFile, false);
        ReadSettingCopy(read, *silentCopy, L"the setting file does not answer");
    } else if (read.settingFile) {
        try {
            // Many screens may follow one file on a share: each pass takes up what changed.
            // The file's stamp is taken before the read, so that a save made while it is read
            // (seconds, on a share) is read again at the next pass.
            if (read.loop) read.watch = std::make_shared<SettingFileWatch>(*read.settingFile);
            read.setting = SettingCommands::Read(*read.settingFile, read.monitorCount);
            // The very bytes that were read and found whole: a second read could be of another
            // save.
            if (read.play && read.setting->content) {
                KeepSettingCopy(*read.settingFile, read.setting->bytes);
            }
        } catch (...) {
            // A share that is away at logon: the list it played last plays at once, and the
            // loop takes up the share's own file as soon as it answers (its watch could not
            // take the file's stamp, so the next pass reads it).
            const auto copy = read.play ? SettingCopyOf(*read.settingFile) : std::nullopt;
            if (copy) {
                ReadSettingCopy(read, *copy, UserErrorText(std::current_exception()));
            } else {
                read.error = std::current_exception();
            }
        }
    }
    if (read.setting) {
        const std::optional<SettingContent>& content = read.setting->content;
        if (content && !read.setting->programGone) read.program = content->programPath;
    }
    if (read.play) LookForProgram(read, read.program);
}

}  // namespace

void TForm1::Start(StartOptions options, std::optional<PlayingMarker> playing) {
    if (playing) playback_->HoldPlayingMarker(std::move(*playing));
    startOptions_ = std::move(options);
    ::PostMessageW(hwnd_, kStartOptionsMessage, 0, 0);
}

void TForm1::RunStartOptions() {
    pendingStart_ = std::exchange(startOptions_, {});
    if (pendingStart_.play && pendingStart_.logFile) {
        playLog_ = std::make_unique<PlayLog>(*pendingStart_.logFile);
    }
    if (pendingStart_.play && (pendingStart_.statusFile || pendingStart_.screenshotFile)) {
        statusReport_ = std::make_unique<StatusReport>(
            StatusReportFiles{pendingStart_.statusFile, pendingStart_.screenshotFile},
            [this](int number) -> std::optional<RECT> {
                const auto bounds = playback_->Monitors().Find(number, true).bounds;
                if (!bounds) return std::nullopt;
                return RECT{bounds->left, bounds->top, bounds->right, bounds->bottom};
            });
    }
    // A start with "/play" tries again for a while before it shows its message as a start by hand
    // would: a share that is not reachable yet at logon, a monitor switched on late.
    waitUntil_ = ::GetTickCount64() + RunTimingsOfProcess().startWaitMs;
    TryStart();
}

void TForm1::TryStart(bool shareSilent) {
    auto read = std::make_unique<StartRead>();
    read->attempt = ++startTry_;
    read->play = pendingStart_.play;
    read->settingFile = pendingStart_.settingFile;
    read->loop = pendingStart_.play && pendingStart_.loop;
    read->monitorCount = monitor_.MonitorCount();
    read->program = program_.ProgramPath();
    // A start without "/play" is done at once, as "Load setting" by hand is: someone is there.
    if (!read->play) {
        ReadStart(*read);
        return ContinueStart(*read);
    }
    // A share that stalls rather than fails is not waited for when yesterday's list is at hand.
    read->shareSilent = shareSilent;
    if (read->settingFile && !shareSilent && SettingCopyOf(*read->settingFile)) {
        ::SetTimer(hwnd_, kStartCopyTimer, static_cast<UINT>(kShareAnswerWait.count() * 1000),
                   nullptr);
    }
    startReading_ = true;
    DoOnWorker<StartRead>(hwnd_, kStartReadMessage, std::move(read), ReadStart);
}

void TForm1::OnShareSilentAtStart() {
    ::KillTimer(hwnd_, kStartCopyTimer);
    // The share's read is left to itself; what it brings back is for nobody.
    if (startReading_ && !closed_) TryStart(true);
}

void TForm1::OnStartRead(LPARAM lParam) {
    const std::unique_ptr<StartRead> read = TakePosted<StartRead>(lParam);
    // A start given up meanwhile (by /stop, or the window going) takes nothing of it.
    if (!startReading_ || read->attempt != startTry_ || closed_) return;
    startReading_ = false;
    ::KillTimer(hwnd_, kStartCopyTimer);
    ContinueStart(*read);
}

void TForm1::ContinueStart(StartRead& read) {
    StartOptions& options = pendingStart_;
    const bool mayWait = options.play && ::GetTickCount64() < waitUntil_;
    if (options.settingFile) {
        if (read.error && mayWait) {
            LogEvent(RunEvent::Error, *options.settingFile, UserErrorText(read.error));
            return WaitToStart(*options.settingFile);
        }
        if (!read.copyError.empty()) {
            LogEvent(RunEvent::Error, *options.settingFile,
                     read.copyError + L"; its last good copy plays");
        }
        // A file that fails is reported as "Load setting" reports it, and the start goes on.
        Guarded([&] {
            if (read.error) std::rethrow_exception(read.error);
            settingFiles_->Apply(std::move(*read.setting));
        });
        // The session may have ended while the Error box was up: nothing more starts.
        if (closed_) return;
        if (read.watch) settingWatch_ = std::move(read.watch);
        startSettingFile_ = FullPathOf(*options.settingFile);
        options.settingFile.reset();
    }
    if (options.monitor) {
        if (const auto problem = MonitorChoiceProblem(*options.monitor, MonitorCount())) {
            UserDialogs().ShowMessage(hwnd_, *problem);
            if (closed_) return;
        } else {
            monitor_.SetMonitorNumber(options.monitor->number);
            // "/monitor N" is how a deployment script tells which monitor N is from now on.
            OnMonitorChosen(true);
        }
        options.monitor.reset();
    }
    if (!options.play) return EndWaiting();
    const std::wstring program = program_.ProgramPath();
    // Changed in the window meanwhile: checked again, on what the field says now.
    if (program != read.program) LookForProgram(read, program);
    // Judged before any waiting, and again on the very program that the run starts.
    if (!MayStartAlone(read.checked, program)) return;
    if (mayWait) {
        const PlayCheckInput checks = playback_->GatherChecks(read.programExists);
        if (FirstFailedPlayCheck(checks)) {
            return WaitToStart(
                AwaitedByFailedCheck(checks, program == kProgramPrompt ? L"" : program));
        }
    }
    EndWaiting();
    RunOptions run;
    run.loop = options.loop;
    run.unattended = true;
    run.showTimeoutSeconds = options.showTimeoutSeconds;
    run.showForSeconds = options.showForSeconds;
    run.advanceSeconds = options.advanceSeconds;
    run.onEnded = [this, exitAfterRun = options.exitAfterRun] {
        // The log's writer goes with the run: nothing of a run is left once it has ended. The
        // status file's last word is "stopped", which ages into "stale" on the overview page.
        playLog_.reset();
        statusReport_.reset();
        // A run ended by a close or by the end of the session has closed the window already.
        if (exitAfterRun && !closed_) BitBtn3Click();
    };
    run.report = [this](const RunEventRecord& record) { return LogEvent(record); };
    if (statusReport_) {
        run.onStateChanged = [this](RunState, RunState to, const RunFact&) {
            if (statusReport_) statusReport_->Take(to);
        };
    }
    if (options.alertFile) {
        run.alertSource = FullPathOf(*options.alertFile);
        // Looked at on a worker, which may outlast this window: it holds the file's follower.
        run.lookAtAlert = [alert = std::make_shared<AlertFile>(run.alertSource)] {
            std::optional<FileStamp> seen;
            FollowedRead read{alert->Look(&seen), {}, {}};
            if (seen) read.take = [alert, stamp = *seen] { alert->Take(stamp); };
            return read;
        };
    }
    run.settingSource = startSettingFile_;
    if (settingWatch_) {
        // The file is read on a worker, which may outlast this window: it holds the watch too.
        run.readNextPass = [watch = settingWatch_] { return RereadSettingFile(watch); };
        run.takeNextPass = [this](const std::vector<PlaylistEntry>& entries) {
            ShowSettingEntries(entries);
        };
    }
    const bool started = playback_->Play(
        PlaySender::PlayAll, std::move(run),
        [this, program](const CheckedProgram& checked) { return MayStartAlone(checked, program); });
    if (!started) EndStatusReport();
}

bool TForm1::MayStartAlone(const std::optional<CheckedProgram>& checked,
                           const std::wstring& program) {
    if (checked && MayStartProgramUnattended(*checked, preferences_->ChosenProgram())) return true;
    EndWaiting();
    playback_->LetPlayingMarkerGo();
    EndStatusReport();
    UserDialogs().ShowMessage(hwnd_, UncheckedProgramMessage(program));
    return false;
}

void TForm1::WaitToStart(const std::wstring& awaited) {
    if (!waitIcon_) waitIcon_.emplace(UserDialogs(), runIcon_.get(), hwnd_);
    waitIcon_->ShowTip(WaitingTip(awaited));
    LogEvent(RunEvent::Waiting, {}, L"waiting for " + awaited);
    ::SetTimer(hwnd_, kStartRetryTimer, RunTimingsOfProcess().startRetryMs, nullptr);
}

void TForm1::EndWaiting() {
    startReading_ = false;
    ::KillTimer(hwnd_, kStartRetryTimer);
    ::KillTimer(hwnd_, kStartCopyTimer);
    waitIcon_.reset();
}

bool TForm1::LogEvent(const RunEventRecord& event) {
    RunEventRecord record = event;
    if (record.monitor > 0 && playback_)
        record.monitorName = playback_->Monitors().Name(record.monitor);
    if (statusReport_) statusReport_->Take(record);
    for (const EventLogEntry& entry : eventFeed_.Take(record)) settings_.writeEvent(entry);
    return !playLog_ || playLog_->Write(record);
}

void TForm1::LogEvent(RunEvent event, const std::wstring& path, const std::wstring& detail) {
    LogEvent(RunEventRecord{event, monitor_.MonitorNumber(), path, detail});
}

void TForm1::EndStatusReport() {
    // A start that gave up without a run: the file says so rather than "waiting" for ever.
    if (!statusReport_) return;
    statusReport_->Take(RunEventRecord{RunEvent::Stop, monitor_.MonitorNumber(), {}, {}});
    statusReport_.reset();
}

FollowedRead TForm1::RereadSettingFile(const std::shared_ptr<SettingFileWatch>& watch) {
    std::vector<PlaylistEntry> entries;
    std::wstring error;
    std::optional<FileStamp> seen;
    const auto outcome = watch->RereadIfChanged(entries, error, &seen);
    std::function<void()> take;
    if (seen) take = [watch, stamp = *seen] { watch->Take(stamp); };
    switch (outcome) {
        case SettingFileWatch::Outcome::Unchanged:
            return {};
        case SettingFileWatch::Outcome::Failed:
        case SettingFileWatch::Outcome::NotASettingFile:
            // The list plays on as it was: a screen never goes dark over a bad copy of the file.
            return {std::nullopt, error, std::move(take)};
        case SettingFileWatch::Outcome::Reread:
            break;
    }
    if (entries.empty()) {
        return {std::nullopt, L"the setting file names no presentation that exists",
                std::move(take)};
    }
    return {std::move(entries), {}, std::move(take)};
}

void TForm1::ShowSettingEntries(const std::vector<PlaylistEntry>& entries) {
    // The window shows what plays, and stores it at the end.
    PlaylistView& rows = playlist_->View();
    rows.RemoveAll();
    rows.AppendEntries(entries);
    ApplyCommandEnableRule();
}

LRESULT TForm1::OnStopRequest(WPARAM now) {
    if (waitIcon_ || startReading_) {
        // A start still waiting, or reading: it gives up, and the window stays as it is. A worker
        // that a share holds is left to itself; what it brings back is for nobody.
        LogEvent(RunEvent::Stop, {}, L"while waiting");
        EndWaiting();
        playback_->LetPlayingMarkerGo();
        pendingStart_ = {};
        EndStatusReport();
        return kStopRequestAccepted;
    }
    const StopWhen when = now ? StopWhen::Now : StopWhen::AfterThisPresentation;
    return playback_ && playback_->Stop(when) ? kStopRequestAccepted : 0;
}

void TForm1::OnEndSession(bool ending) {
    if (!playback_) return;
    if (!ending) {
        playback_->HoldLaunches(false);
        return;
    }
    // Stored exactly as a close stores them, also in the middle of a run, which then starts
    // nothing more. The session ends whatever happens here, so the window goes even when the
    // preferences could not be stored (the Error box has said so).
    Guarded([this] { TntFormClose(); });
    EndWindow();
    // Windows may end the process as soon as this returns: the run's last lines go first.
    if (playLog_) playLog_->WaitWritten(PlayLog::kDrainTime);
}

}  // namespace tidewell
