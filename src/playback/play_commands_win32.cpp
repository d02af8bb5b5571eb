#include "playback/play_commands_win32.h"

#include "common/file_exists_win32.h"
#include "playback/play_checks.h"
#include "playback/playback_state_win32.h"

namespace tidewell {

PlayCommands::PlayCommands(HWND window, Dialogs& dialogs, const PlaylistRows& playlist,
                           ProgramField& program, const MonitorSelector& monitor,
                           const std::vector<MonitorEntry>& monitors,
                           PlacementStarter startPlacement, HICON runIcon)
    : window_(window),
      dialogs_(dialogs),
      playlist_(playlist),
      program_(program),
      monitor_(monitor),
      monitors_(monitors),
      startPlacement_(std::move(startPlacement)),
      TntOpenDialog2{
          L"TntOpenDialog2", FileDialog::Kind::Open, L"*.exe",
          L"MS PowerPoint Viewer executable file|*.exe",
          FileDialog::kHideReadOnly | FileDialog::kEnableSizing | FileDialog::kFileMustExist},
      runIcon_(runIcon) {}

bool PlayCommands::ChooseProgram() {
    if (!dialogs_.RunFileDialog(window_, TntOpenDialog2)) return false;
    program_.SetProgramPath(TntOpenDialog2.fileName);
    return true;
}

bool PlayCommands::Play(PlaySender sender, RunOptions options) {
    PlayCheckInput checks;
    checks.programExists = FileExists(program_.ProgramPath());
    checks.playlistCount = playlist_.Count();
    checks.monitorNumber = monitor_.MonitorNumber();
    checks.monitor = ChosenMonitorBounds(monitors_, checks.monitorNumber);
    checks.primaryWidth = ::GetSystemMetrics(SM_CXSCREEN);
    checks.primaryHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (const auto message = FirstFailedPlayCheck(checks)) {
        dialogs_.ShowMessage(window_, *message);
        return false;
    }

    PlayQueue = BuildPlayQueue(sender, playlist_.Entries(), playlist_.SelectedIndex());
    RunProgramPath = program_.ProgramPath();
    SharedPlaybackState& state = PlaybackState();
    state.targetTop.store(checks.monitor->top);
    state.targetLeft.store(checks.monitor->left);
    playing_.emplace();
    try {
        RunPlayQueue(options);
    } catch (...) {
        playing_.reset();
        throw;
    }
    playing_.reset();
    return true;
}

}  // namespace tidewell
