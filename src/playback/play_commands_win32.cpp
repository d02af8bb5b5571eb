// The commands that choose the presentation program and start a play run.
#include <optional>

#include "app/form1_win32.h"
#include "common/file_exists_win32.h"
#include "playback/play_checks.h"
#include "playback/play_queue.h"
#include "playback/playback_state_win32.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {
namespace {

// The chosen monitor's full rectangle now. Monitors were listed at start; a monitor that has
// been unplugged since no longer answers, and a number past the list names nothing.
std::optional<MonitorRect> ChosenMonitorBounds(const std::vector<MonitorEntry>& monitors,
                                               int number) {
    if (number < 1 || static_cast<std::size_t>(number) > monitors.size()) return std::nullopt;
    const MonitorEntry& entry = monitors[static_cast<std::size_t>(number) - 1];
    RECT bounds = entry.bounds;
    if (entry.handle) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(entry.handle, &info)) return std::nullopt;
        bounds = info.rcMonitor;
    }
    return MonitorRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

}  // namespace

void TForm1::TntSpeedButton1Click() {
    if (UserDialogs().RunFileDialog(hwnd_, TntOpenDialog2)) {
        SetProgramPath(TntOpenDialog2.fileName);
    }
}

void TForm1::BitBtn1Click(std::wstring_view senderName) {
    PlayCheckInput checks;
    checks.programExists = FileExists(ProgramPath());
    checks.playlistCount = Playlist().Entries().size();
    checks.monitorNumber = MonitorNumber();
    checks.monitor = ChosenMonitorBounds(Monitors(), checks.monitorNumber);
    checks.primaryWidth = ::GetSystemMetrics(SM_CXSCREEN);
    checks.primaryHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (const auto message = FirstFailedPlayCheck(checks)) {
        UserDialogs().ShowMessage(hwnd_, *message);
        return;
    }

    PlayQueue = BuildPlayQueue(senderName, Playlist().Entries(), Playlist().SelectedIndex());
    RunProgramPath = ProgramPath();
    SharedPlaybackState& state = PlaybackState();
    state.targetTop.store(checks.monitor->top);
    state.targetLeft.store(checks.monitor->left);
    RunPlayQueue();
}

}  // namespace tidewell
