// The main window with nobody at the desk: what the command line asks at start, stopping a run
// from another process, and the end of the Windows session.
#include "app/form1_win32.h"
#include "playback/stop_request_win32.h"
#include "playback/unattended_launch.h"
#include "playback/unattended_launch_win32.h"

namespace tidewell {

void TForm1::Start(StartOptions options) {
    startOptions_ = std::move(options);
    ::PostMessageW(hwnd_, kStartOptionsMessage, 0, 0);
}

void TForm1::RunStartOptions() {
    const StartOptions options = std::exchange(startOptions_, {});
    if (options.settingFile) {
        // A file that fails is reported as "Load setting" reports it, and the start goes on.
        Guarded([&] { settingFiles_->LoadFile(*options.settingFile); });
    }
    if (options.monitor) {
        if (const auto problem = MonitorChoiceProblem(*options.monitor, MonitorCount())) {
            UserDialogs().ShowMessage(hwnd_, *problem);
        } else {
            monitor_.SetMonitorNumber(options.monitor->number);
            OnMonitorChosen();
        }
    }
    if (!options.play) return;
    const std::wstring program = program_.ProgramPath();
    if (!MayStartProgramUnattended(program, preferences_->ChosenProgram())) {
        UserDialogs().ShowMessage(hwnd_, UncheckedProgramMessage(program));
        return;
    }
    const bool ran = playback_->Play(PlaySender::PlayAll, {options.loop});
    // A run ended by a close or by the end of the session has closed the window already.
    if (ran && options.exitAfterRun && !closed_) BitBtn3Click();
}

LRESULT TForm1::OnStopRequest(WPARAM now) {
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
    playback_->EndForGood();
    closed_ = true;
    ::DestroyWindow(hwnd_);
}

}  // namespace tidewell
