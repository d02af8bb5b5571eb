#pragma once
// The main window. It owns its controls and composes the subsystems that do the work: the
// playlist, playback, the stored preferences and setting files, and help. Each user command keeps
// the name of the control and event that trigger it, as a one-line forward to its subsystem,
// reached through the window's command table.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/help_commands_win32.h"
#include "app/form1_fields_win32.h"
#include "common/command_line.h"
#include "common/dialogs_win32.h"
#include "common/images_win32.h"
#include "common/unique_handle_win32.h"
#include "common/window_win32.h"
#include "persistence/preferences_win32.h"
#include "persistence/setting_commands_win32.h"
#include "persistence/setting_file_watch_win32.h"
#include "playback/monitors_win32.h"
#include "playback/play_commands_win32.h"
#include "reporting/event_log_win32.h"
#include "reporting/play_log_win32.h"
#include "reporting/status_report_win32.h"
#include "playlist/playlist_commands_win32.h"

namespace tidewell {

class TForm2;
struct StartRead;

// What the program hands the main window when it creates it; tests hand their own.
struct Form1Settings {
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    std::vector<MonitorEntry> monitors;
    std::wstring preferencesKeyPath;  // below HKEY_CURRENT_USER
    int dpi = 0;  // the system's when 0; tests lay the window out at other densities
    // Draws the toolbar's images at a size in pixels; throws when it cannot.
    std::function<UniqueImageList(int size)> drawToolbarImages = CreateToolbarImages;
    // Starts the placement watcher of each show a run launches; throws when it cannot.
    WatcherStarter startPlacementWatcher = StartPlacementWatcher;
    // Reads the monitor list again when the displays change.
    std::function<std::vector<MonitorEntry>()> enumerateMonitors = EnumerateMonitors;
    // How long the runs wait for what (tests shorten it).
    RunTimings runTimings = RunTimingsOfProcess();
    // Keeps the display on while a run shows.
    ExecutionStateSetter setExecutionState = ::SetThreadExecutionState;
    // Where an unattended run's events go for the IT department's tools.
    std::function<bool(const EventLogEntry&)> writeEvent = WriteToEventLog;
};

// The main window's class: a second process ("/stop") finds the running program by it.
inline constexpr wchar_t kForm1ClassName[] = L"TForm1";

inline constexpr wchar_t kProgramPrompt[] =
    L"Please mouse click right button to select PowerPoint executable file name-> ";

// Posted to itself once shown: the command line's requests run inside the message loop, like
// a command the user gives.
inline constexpr UINT kStartOptionsMessage = WM_APP + 20;
// The worker of a start has read its setting file and looked for its program (lParam: StartRead).
inline constexpr UINT kStartReadMessage = WM_APP + 21;
// A start that waits (for its setting file, its program, its monitor) tries again on this timer.
inline constexpr UINT_PTR kStartRetryTimer = 0x7201;
// A start whose setting file on a share has not answered in time plays its last good copy.
inline constexpr UINT_PTR kStartCopyTimer = 0x7202;

class TForm1 : public Window<TForm1> {
  public:
    explicit TForm1(Form1Settings settings);
    ~TForm1();

    // Creates the window and its controls; the creation handler runs inside. Hidden until shown.
    void Create();
    void ShowCentered();
    // What the command line asks besides a plain start (a setting file, a monitor, a play),
    // done once the window is shown and its message loop runs. A play brings the marker it took.
    void Start(StartOptions options, std::optional<PlayingMarker> playing = std::nullopt);
    bool IsClosed() const { return closed_; }
    void AttachAbout(TForm2* form2) { help_.AttachAbout(form2); }

    // The subsystems, for the tests and benchmarks that drive them as the window does.
    PlaylistView& Playlist() { return playlist_->View(); }
    PlayCommands& Playback() { return *playback_; }
    HMENU ContextMenu() const { return contextMenu_.get(); }

  private:
    friend class Window<TForm1>;
    struct Command;
    static const Command kCommands[];

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWindowGone() {}
    // The pictures are drawn in code, which fails only when the system is out of graphics
    // resources: the controls are made all the same, and pictureErrors_ learns why the pictures
    // are missing, to show it once the creation handler has finished.
    void CreateControls();
    void CreateToolbar();
    HMENU CreateMenus();
    void ApplyStartStates();
    void OnCommand(int id);
    void OnClose();
    void RunStartOptions();
    // One try at what the command line asked; a start with "/play" whose setting file cannot be
    // read, or whose checks fail, waits and tries again for a while rather than asking nobody.
    // The file and the program are looked at on a worker (a share may not answer), and the try
    // goes on in ContinueStart once the worker's result is back.
    // `shareSilent`: the setting file's share did not answer in time; its last copy is read.
    void TryStart(bool shareSilent = false);
    void OnShareSilentAtStart();
    void OnStartRead(LPARAM lParam);
    void ContinueStart(StartRead& read);
    // Whether the program of a start with "/play" may start with nobody at the desk; otherwise the
    // start ends and a message says why.
    bool MayStartAlone(const std::optional<CheckedProgram>& checked, const std::wstring& program);
    void WaitToStart(const std::wstring& awaited);
    void EndWaiting();
    // What a run started from the command line tells the play log, and what the window adds to it.
    bool LogEvent(const RunEventRecord& record);
    void LogEvent(RunEvent event, const std::wstring& path, const std::wstring& detail);
    void EndStatusReport();
    // Before each pass of a loop, on a worker: the setting file's presentations when it was
    // rewritten; then, on the window's thread, the playlist shows them.
    static FollowedRead RereadSettingFile(const std::shared_ptr<SettingFileWatch>& watch);
    void ShowSettingEntries(const std::vector<PlaylistEntry>& entries);
    // Shutdown, restart or log-off: the preferences are stored as a close stores them.
    void OnEndSession(bool ending);
    // The one way the window goes, after the preferences were stored (or could not be): a run
    // or a waiting start lets go, and the window is destroyed.
    void EndWindow();
    LRESULT OnStopRequest(WPARAM now);
    // Monitors were switched on or off: the list and the selector's range are read again, and a
    // stored monitor number that was absent at start is applied once its monitor is there.
    void OnDisplayChange();
    // The user moved the Monitor selector, or a setting file or the command line chose the
    // monitor: a stored number of an absent monitor is no longer what the user wants. A number the
    // user chose (`byUser`) means the monitor listed at its place now; a setting file's number
    // means what it meant on this computer before.
    void OnMonitorChosen(bool byUser);
    // The label beside the Monitor selector names the monitor its number means.
    void ShowMonitorName();
    // A setting file replaced the playlist, the program and the monitor.
    void OnSettingLoaded();
    LRESULT OnControlColour(UINT message, WPARAM wParam, LPARAM lParam);
    // At the point a right click gives, or at the list's corner for the menu key (-1, -1).
    void ShowContextMenu(LPARAM screenPoint);
    // Enables or disables every control and menu item that carries this command id.
    void SetCommandEnabled(int commandId, bool enabled);
    void ApplyCommandEnableRule();
    int MonitorCount() const;

    // ---- Handlers, by control and event ----
    void TntFormCreate();
    // Throws when the preferences cannot be stored; the close is then abandoned.
    void TntFormClose() { preferences_->Save(); }
    void Exit1Click() { ::SendMessageW(hwnd_, WM_CLOSE, 0, 0); }
    void BitBtn3Click() { ::SendMessageW(hwnd_, WM_CLOSE, 0, 0); }
    void ListView1SelectItem() { ApplyCommandEnableRule(); }
    void ToolButton1Click() { playlist_->AddFiles(); }
    void ToolButton2Click() { playlist_->AddFolder(); }
    void ToolButton3Click() { playlist_->Remove(); }
    void ToolButton4Click() { playlist_->RemoveAll(); }
    void ToolButton5Click() { playlist_->MoveUp(); }
    void ToolButton6Click() { playlist_->MoveDown(); }
    void EntrySettingsClick() { playlist_->EditSettings(); }
    void ToolButton7Click() { settingFiles_->Save(); }
    void ToolButton8Click() { settingFiles_->Load(); }
    void TntSpeedButton1Click();
    // Also the context menu's "Play all" and "play selected", which stand for the two buttons.
    void BitBtn1Click(PlaySender sender);
    void Help2Click() { help_.Help(hwnd_); }
    void Hollowfinswebsite1Click() { help_.Website(hwnd_); }
    void Emailsupport1Click() { help_.EmailSupport(hwnd_); }
    void About1Click() { help_.About(hwnd_); }

    Form1Settings settings_;
    bool closed_ = false;
    UniqueGdiObject font_;
    UniqueHMENU contextMenu_;
    UniqueImageList toolbarImages_;
    UniqueHICON speedButtonGlyph_;
    HeldErrors pictureErrors_;
    UniqueHICON runIcon_;
    StartOptions startOptions_;
    // What a waiting start still has to do, and when it stops waiting and shows its message as a
    // start by hand would.
    StartOptions pendingStart_;
    std::unique_ptr<PlayLog> playLog_;            // with "/log"
    std::unique_ptr<StatusReport> statusReport_;  // with "/status" or "/screenshot"
    EventLogFeed eventFeed_;                      // every unattended run's
    // The setting file that a looping run started from the command line follows.
    std::shared_ptr<SettingFileWatch> settingWatch_;
    std::wstring startSettingFile_;  // the setting file a start with "/play" read, full path
    ULONGLONG waitUntil_ = 0;
    // The try whose worker is still out; a result of any other try is for nobody.
    unsigned startTry_ = 0;
    bool startReading_ = false;
    std::optional<RunIcon> waitIcon_;
    EditProgramField program_;
    UpDownMonitorSelector monitor_;
    HelpCommands help_;
    std::unique_ptr<PlaylistCommands> playlist_;
    std::unique_ptr<PlayCommands> playback_;
    std::unique_ptr<Preferences> preferences_;
    // The stored entries, read and checked while the window and its controls are made.
    std::future<KeptEntries> storedAhead_;
    std::unique_ptr<SettingCommands> settingFiles_;
};

}  // namespace tidewell
