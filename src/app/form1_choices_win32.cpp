// The main window's knowledge of what the user chose, beyond what the fields show: the program
// picked or played by hand, and a monitor number kept while its monitor is away.
#include "app/form1_win32.h"
#include "app/resource.h"
#include "launch/path_check_win32.h"
#include "launch/unattended_launch_win32.h"

namespace tidewell {

void TForm1::TntSpeedButton1Click() {
    if (!playback_->ChooseProgram()) return;
    // What counts later is the file, never the text: the full path, checked once, now.
    const std::optional<CheckedProgram> chosen = CheckProgram(program_.ProgramPath());
    preferences_->SetChosenProgram(chosen ? chosen->FullPath() : std::wstring());
}

void TForm1::BitBtn1Click(PlaySender sender) {
    std::wstring before = preferences_->ChosenProgram();
    const auto approve = [&](const CheckedProgram& program) {
        // A program that a file brought in is started only when the user says so.
        if (!MayStartProgramUnattended(program, before) &&
            !UserDialogs().AskYesNo(
                hwnd_,
                UnchosenProgramQuestion(program.FullPath(), settingFiles_->ProgramSource()))) {
            return false;
        }
        // Marked before the run, which a close or the end of the session may end by storing the
        // preferences; taken back when the run did not start.
        preferences_->SetChosenProgram(program.FullPath());
        return true;
    };
    if (!playback_->Play(sender, {}, approve)) preferences_->SetChosenProgram(std::move(before));
}

void TForm1::OnMonitorChosen(bool byUser) {
    if (preferences_) preferences_->ForgetAbsentMonitor();
    if (byUser && playback_) playback_->Monitors().RememberListed(monitor_.MonitorNumber());
    ShowMonitorName();
}

void TForm1::ShowMonitorName() {
    if (!playback_) return;
    const std::wstring text = playback_->Monitors().Label(monitor_.MonitorNumber());
    ::SetWindowTextW(Control(IDC_MonitorName), text.c_str());
}

void TForm1::OnSettingLoaded() {
    OnMonitorChosen(false);
    ApplyCommandEnableRule();
}

void TForm1::OnDisplayChange() {
    if (!preferences_) return;
    // Updated in place: the play commands refer to this list.
    settings_.monitors = settings_.enumerateMonitors();
    monitor_.SetMonitorCount(MonitorCount());
    const std::optional<int> absent = preferences_->AbsentMonitor();
    if (absent && *absent <= MonitorCount()) {
        monitor_.SetMonitorNumber(*absent);
        preferences_->ForgetAbsentMonitor();
    }
    playback_->DisplayChanged();
    ShowMonitorName();
}

}  // namespace tidewell
