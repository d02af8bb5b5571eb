#include "app/form1_win32.h"

#include <windowsx.h>

#include "app/resource.h"
#include "common/application_title.h"
#include "common/message_pump_win32.h"
#include "playback/stop_request_win32.h"
#include "playlist/command_enable.h"

namespace tidewell {

namespace {

constexpr DWORD kForm1Style =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidth = 629;
constexpr int kClientHeight = 423;

}  // namespace

TForm1::TForm1(Form1Settings settings)
    : Window(*settings.dialogs), settings_(std::move(settings)), help_(*settings_.shell) {}

TForm1::~TForm1() {
    Destroy();
}

void TForm1::Create() {
    // Thousands of stored entries take a while to read and to look for: that is done meanwhile.
    storedAhead_ = ReadStoredEntriesAhead(settings_.preferencesKeyPath);
    // The design-time caption; the creation handler replaces it with the application title.
    Window::Create({kForm1ClassName, L"Form1", kForm1Style, 0, kClientWidth, kClientHeight,
                    IDI_TIDEWELL, CreateMenus(), settings_.dpi});
}

void TForm1::ShowCentered() {
    CentreOnScreen(0);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == StopRequestMessage()) return OnStopRequest(wParam);
    if (playback_ && playback_->HandleRunMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_NOTIFY: {
            LRESULT result = 0;
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (playlist_ && playlist_->HandleNotify(header, result)) return result;
            break;
        }
        case WM_COMMAND:
            // Clicks from controls arrive as BN_CLICKED (0); menu items and toolbar buttons as 0.
            if (HIWORD(wParam) == 0 || HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) != Control(IDC_ListView1)) break;
            ShowContextMenu(lParam);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return OnControlColour(message, wParam, lParam);
        case WM_ACTIVATE:
            // A keyboard user finds the focus on the list at start.
            RestoreFocusOnActivation(wParam, Control(IDC_ListView1));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_VSCROLL:
            if (reinterpret_cast<HWND>(lParam) == Control(IDC_TntUpDown1)) OnMonitorChosen(true);
            return 0;
        case WM_DISPLAYCHANGE:
            OnDisplayChange();
            break;
        case kStartOptionsMessage:
            RunStartOptions();
            return 0;
        case kStartReadMessage:
            OnStartRead(lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kStartCopyTimer) {
                OnShareSilentAtStart();
                return 0;
            }
            if (wParam != kStartRetryTimer) break;
            ::KillTimer(hwnd_, kStartRetryTimer);
            TryStart();
            return 0;
        case WM_QUERYENDSESSION:
            // Until the session's end is decided, a run starts no further show.
            if (playback_) playback_->HoldLaunches(true);
            return TRUE;
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            return 0;
        case WM_DESTROY:
            // The hook reaches into this window's playlist: it goes with the window.
            SetMessageHook(nullptr);
            UnmarkTidewellWindow(hwnd_);
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT TForm1::OnControlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    const HDC dc = reinterpret_cast<HDC>(wParam);
    const bool inPanel = ::GetParent(reinterpret_cast<HWND>(lParam)) == Control(IDC_TntPanel1);
    if (message == WM_CTLCOLOREDIT && !inPanel) {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    // Read-only edits and labels sit on the button face like the window itself, and so does the
    // tips memo in its panel; all in the window-text colour, as the DC's own black would vanish
    // in a dark high-contrast scheme.
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

void TForm1::ShowContextMenu(LPARAM screenPoint) {
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (at.x == -1 && at.y == -1) {  // from the keyboard: at the list's corner
        at = {0, 0};
        ::ClientToScreen(Control(IDC_ListView1), &at);
    }
    ::TrackPopupMenu(contextMenu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_,
                     nullptr);
}

int TForm1::MonitorCount() const {
    return settings_.monitors.empty() ? ::GetSystemMetrics(SM_CMONITORS)
                                      : static_cast<int>(settings_.monitors.size());
}

void TForm1::TntFormCreate() {
    ::SetWindowTextW(hwnd_, kApplicationTitle);
    MarkAsTidewellWindow(hwnd_);
    program_.Attach(Control(IDC_TntEdit1));
    monitor_.Attach(Control(IDC_TntUpDown1), MonitorCount());
    Dialogs& dialogs = UserDialogs();
    playlist_ = std::make_unique<PlaylistCommands>(hwnd_, Control(IDC_ListView1), dialogs, *this,
                                                   [this] { ListView1SelectItem(); });
    PlaylistView& rows = playlist_->View();
    runIcon_.reset(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TIDEWELL), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    playback_ =
        std::make_unique<PlayCommands>(hwnd_, dialogs, rows, program_, monitor_, settings_.monitors,
                                       settings_.startPlacementWatcher, runIcon_.get(),
                                       settings_.runTimings, settings_.setExecutionState);
    preferences_ =
        std::make_unique<Preferences>(settings_.preferencesKeyPath, rows, program_, monitor_);
    settingFiles_ = std::make_unique<SettingCommands>(hwnd_, dialogs, rows, program_, monitor_,
                                                      [this] { OnSettingLoaded(); });
    SetMessageHook([this](MSG& message) {
        bool handled = false;
        Guarded([&] { handled = playlist_->TakeShellDrop(message); });
        return handled;
    });
    playback_->Monitors().RememberIn(&preferences_->Monitors(), [this](const std::wstring& line) {
        LogEvent(RunEvent::MonitorMoved, {}, line);
    });
    // A failure to restore the preferences is shown, and the window still opens.
    Guarded([this] { preferences_->Load(std::move(storedAhead_)); });
    ShowMonitorName();
    // Shown once every control and subsystem exists, so that nothing the Error box's own message
    // loop dispatches meets a window half made.
    pictureErrors_.PassTo(*this);
}

void TForm1::OnClose() {
    // When storing the preferences fails, the error leaves here before the window is destroyed:
    // the close is abandoned and the window stays open.
    TntFormClose();
    EndWindow();
}

void TForm1::EndWindow() {
    // A run (a close request from another program came during a show) starts nothing more and
    // leaves the window alone from now on.
    if (playback_ && playback_->IsPlaying()) LogEvent(RunEvent::Stop, {}, L"Tidewell is closing");
    EndWaiting();
    if (playback_) playback_->EndForGood();
    closed_ = true;
    ::DestroyWindow(hwnd_);
}

void TForm1::ApplyCommandEnableRule() {
    const PlaylistView& rows = playlist_->View();
    const CommandEnableState state = ComputeCommandEnable(rows.Count(), rows.SelectedIndex());
    // Each id covers the toolbar button or push button and the context-menu item of one command.
    SetCommandEnabled(IDC_ToolButton3, state.remove);
    SetCommandEnabled(IDC_ToolButton4, state.removeAll);
    SetCommandEnabled(IDC_ToolButton5, state.moveUp);
    SetCommandEnabled(IDC_ToolButton6, state.moveDown);
    SetCommandEnabled(IDC_ToolButton7, state.saveSetting);
    SetCommandEnabled(IDC_BitBtn1, state.playAll);
    SetCommandEnabled(IDC_BitBtn2, state.playSelected);
    SetCommandEnabled(IDM_EntrySettings, rows.SelectedIndex() >= 0);
}

}  // namespace tidewell
