#include "app/last_guard_win32.h"

#include <windows.h>

#include "common/error_text.h"
#include "reporting/event_log_win32.h"
#include "reporting/play_log_win32.h"

namespace tidewell {

int LastGuard(const CommandLine& commandLine, Dialogs& dialogs) noexcept {
    try {
        const std::wstring text = UserErrorText(std::current_exception());
        ::OutputDebugStringW((L"Tidewell: " + text + L"\n").c_str());
        const bool unattended = commandLine.action == CommandLine::Action::Overview ||
                                commandLine.action == CommandLine::Action::Report ||
                                commandLine.start.play;
        if (commandLine.start.play) {
            for (const EventLogEntry& entry :
                 EventLogFeed().Take(RunEventRecord{RunEvent::Error, 0, {}, text})) {
                WriteToEventLog(entry);
            }
        }
        if (commandLine.start.play && commandLine.start.logFile) {
            PlayLog log(*commandLine.start.logFile);
            log.Write(RunEventRecord{RunEvent::Error, 0, {}, text});
            log.WaitWritten(PlayLog::kDrainTime);
        }
        if (!unattended) dialogs.ShowError(nullptr, text);
    } catch (...) {
        // Nothing more can be said: the exit code says it.
    }
    return kExitUnexpectedError;
}

}  // namespace tidewell
