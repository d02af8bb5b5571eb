#pragma once
// The program's command line, for shows that start and stop with nobody at the desk:
//   tidewell.exe [/play] [/loop] [/exit] [/monitor N] [/timeout N] [/advance N] [/showfor N]
//                [/log FILE] [/status FILE] [/screenshot FILE] [/alert FILE] [setting-file]
//   tidewell.exe /stop [/now]
//   tidewell.exe /overview FOLDER [/report FOLDER]
//   tidewell.exe /report FOLDER [/from DATE] [/until DATE]
//   tidewell.exe /?
// Options come in any order and letter case, with "-" as well as "/" in front.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// "/monitor N": whether monitor N exists is only known to the running program, which names the
// number as it was typed when there is none.
struct MonitorChoice {
    int number = 0;  // numbers beyond the int range are held at its ends: no such monitor either
    std::wstring asTyped;
};

inline constexpr int kDefaultShowTimeoutSeconds = 120;
// Longer time-outs are held at this one, so that the time in milliseconds still fits an int.
inline constexpr int kMaxShowTimeoutSeconds = 2'147'483;

// What a start with a window does besides what a plain start does.
struct StartOptions {
    std::optional<std::wstring> settingFile;
    std::optional<MonitorChoice> monitor;
    bool play = false;
    bool loop = false;
    bool exitAfterRun = false;
    // "/timeout N": seconds a show may take to show its window before it is asked to close.
    int showTimeoutSeconds = kDefaultShowTimeoutSeconds;  // 0: wait for ever
    // "/advance N" and "/showfor N": the next-slide pace and the time on screen of every entry
    // that has none of its own, for this run.
    std::optional<int> advanceSeconds;
    std::optional<int> showForSeconds;
    // "/log FILE": as typed; %VARIABLES% are expanded by the log itself.
    std::optional<std::wstring> logFile;
    // "/status FILE", "/screenshot FILE": as typed, expanded like the log's name.
    std::optional<std::wstring> statusFile;
    std::optional<std::wstring> screenshotFile;
    // "/alert FILE": the announcement's setting file, followed while the run plays.
    std::optional<std::wstring> alertFile;
};

struct CommandLine {
    enum class Action {
        Start,      // open the window, with `start`
        ShowUsage,  // "/?": the usage, then end
        Stop,       // ask a running Tidewell to stop its run; `stopNow` also ends the current show
        Overview,   // write the page of the screens whose status files are in `overviewFolder`
        Report,     // write the proof of play of the play logs in `reportFolder`
        Refuse,     // `error` names what was wrong; the usage follows it, then the program ends
    };
    Action action = Action::Start;
    StartOptions start;
    bool stopNow = false;
    std::wstring overviewFolder;
    // "/report FOLDER": the play logs' folder; with /overview, the page shows today's figures.
    std::optional<std::wstring> reportFolder;
    // "/from DATE", "/until DATE": the first and last day of the report, in days since 1970.
    std::optional<int> reportFrom, reportUntil;
    std::wstring error;
};

// Exit codes of the process, as the README documents them for batch files and scheduled tasks.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNothingToStop = 1;  // "/stop": no Tidewell runs, or none plays
inline constexpr int kExitBadCommandLine = 2;
inline constexpr int kExitAlreadyPlaying = 3;  // "/play": another Tidewell of this user plays
// "/overview": the page could not be written, or a status folder or play log could not be read.
inline constexpr int kExitOverviewNotWritten = 4;
// "/report": report.csv could not be written, or a play log could not be read (its row says so).
inline constexpr int kExitReportNotWritten = 4;
inline constexpr int kExitUnexpectedError = 5;  // a failure nothing else caught (see the README)

// Shown in a message box, which wraps long lines: one option per line, no columns.
inline constexpr std::wstring_view kUsageText =
    L"Usage:\n"
    L"tidewell.exe [/play] [/loop] [/exit] [/monitor N] [/timeout N] [/advance N] [/showfor N] "
    L"[/log FILE] [/status FILE] [/screenshot FILE] [/alert FILE] [setting-file]\n"
    L"tidewell.exe /stop [/now]\n"
    L"tidewell.exe /overview FOLDER [/report FOLDER]\n"
    L"tidewell.exe /report FOLDER [/from DATE] [/until DATE]\n"
    L"\n"
    L"setting-file: loads this setting file, as \"Load setting\" does.\n"
    L"/monitor N: shows on monitor N (1 is the main monitor).\n"
    L"/play: presses \"Play All\" once the window is shown.\n"
    L"/loop: with /play, starts again from the top after the last presentation.\n"
    L"/exit: with /play, closes Tidewell when the run ends.\n"
    L"/timeout N: with /play, asks a show to close when its window has not appeared after N "
    L"seconds (default 120; 0 waits for ever).\n"
    L"/advance N: with /play, moves every presentation without a pace of its own on to its next "
    L"slide every N seconds.\n"
    L"/showfor N: with /play, ends every presentation without a time of its own after N seconds "
    L"on screen.\n"
    L"/log FILE: with /play, appends a line for each event of the run to FILE.\n"
    L"/status FILE: with /play, keeps FILE telling the run's state (JSON).\n"
    L"/screenshot FILE: with /play, keeps FILE a picture (PNG) of the monitor.\n"
    L"/alert FILE: with /play, plays the presentations of the setting file FILE instead of the "
    L"list while it names one that may play now.\n"
    L"/stop: asks the running Tidewell to stop after the current presentation.\n"
    L"/now: with /stop, also ends the current presentation.\n"
    L"/overview FOLDER: writes FOLDER\\index.html, a page of the screens whose status files "
    L"are in FOLDER; with /report, each card shows today's plays from the play logs in that "
    L"folder.\n"
    L"/report FOLDER: writes FOLDER\\report.csv, what each screen whose play log is in FOLDER "
    L"played, per day.\n"
    L"/from DATE, /until DATE: with /report, the first and last day of the report "
    L"(YYYY-MM-DD).\n"
    L"/?: shows this text.\n"
    L"\n"
    L"Options may come in any order and letter case, with - in place of /.";

// Reads the arguments that follow the program's name, as the system split them.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// "/monitor N" names no monitor of the `monitorCount` found at start: the message that says so.
// None when it names one.
std::optional<std::wstring> MonitorChoiceProblem(const MonitorChoice& choice, int monitorCount);

// The text of the box that refuses a command line: what was wrong, then the usage.
std::wstring RefusalText(const CommandLine& commandLine);

}  // namespace tidewell
