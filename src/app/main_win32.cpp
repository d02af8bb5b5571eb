// Process start: the command line first, then the monitor list, COM for the folder browser, the
// two windows and the message loop until the main window closes.
#include <windows.h>
#include <commctrl.h>

#include "about/form2_win32.h"
#include "app/form1_win32.h"
#include "app/last_guard_win32.h"
#include "common/com_apartment_win32.h"
#include "common/command_line.h"
#include "common/command_line_win32.h"
#include "common/error_text.h"
#include "common/message_pump_win32.h"
#include "persistence/preferences_win32.h"
#include "playback/monitors_win32.h"
#include "reporting/overview_win32.h"
#include "reporting/proof_of_play_win32.h"
#include "playback/playing_marker_win32.h"
#include "playback/stop_request_win32.h"

namespace tidewell {
namespace {

int Main(const CommandLine& commandLine, SystemDialogs& dialogs) {
    switch (commandLine.action) {
        case CommandLine::Action::ShowUsage:
            dialogs.ShowMessage(nullptr, std::wstring(kUsageText));
            return kExitOk;
        case CommandLine::Action::Refuse:
            dialogs.ShowError(nullptr, RefusalText(commandLine));
            return kExitBadCommandLine;
        case CommandLine::Action::Stop:
            return RequestStopFromOutside(kForm1ClassName, commandLine.stopNow)
                       ? kExitOk
                       : kExitNothingToStop;
        case CommandLine::Action::Overview:
            // Made by a scheduled task every minute: no box that nobody would close.
            return WriteOverviewPage(commandLine.overviewFolder, commandLine.reportFolder)
                       ? kExitOk
                       : kExitOverviewNotWritten;
        case CommandLine::Action::Report:
            // Made by a nightly task, as the page is.
            {
                const std::optional<ProofOfPlay> proof = WriteProofOfPlayReport(
                    *commandLine.reportFolder, {commandLine.reportFrom, commandLine.reportUntil});
                return proof && proof->unreadFiles.empty() ? kExitOk : kExitReportNotWritten;
            }
        case CommandLine::Action::Start:
            break;
    }
    // One screen, one run: a second run would fight the first for the monitor. Taken before the
    // window appears and held while the start waits, so that two starts at once give one run.
    std::optional<PlayingMarker> playing;
    if (commandLine.start.play) {
        playing = PlayingMarker::Take();
        if (!playing) return kExitAlreadyPlaying;
    }

    std::vector<MonitorEntry> monitors = EnumerateMonitors();

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);

    SystemShell shell;
    TForm1 form1({&dialogs, &shell, std::move(monitors), PreferencesKeyFromEnvironment()});
    form1.Create();
    TForm2 form2(dialogs, shell);
    form2.Create();
    form1.AttachAbout(&form2);
    // Queued before the window is shown, so that it comes before anything else sent to it.
    form1.Start(commandLine.start, std::move(playing));
    form1.ShowCentered();
    SetNavigationWindow(form1.Handle());
    return RunMessageLoop();
}

}  // namespace
}  // namespace tidewell

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tidewell;
    SystemDialogs dialogs;
    CommandLine commandLine;
    try {
        // Requests that need no window end in Main, before anything stored is read or written.
        commandLine = ParseCommandLine(ProgramArguments());
        return Main(commandLine, dialogs);
    } catch (...) {
        return LastGuard(commandLine, dialogs);
    }
}
