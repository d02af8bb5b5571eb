#include "app/form1_win32.h"

#include <windowsx.h>

#include <array>

#include "app/message_pump_win32.h"
#include "app/resource.h"
#include "common/application_title.h"
#include "common/error_text.h"
#include "common/window_object_win32.h"
#include "playback/play_queue.h"
#include "common/window_text_win32.h"
#include "playlist/playlist_view_win32.h"

namespace tidewell {

namespace {

constexpr wchar_t kForm1Class[] = L"TForm1";
constexpr DWORD kForm1Style =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidth = 629;
constexpr int kClientHeight = 423;

// Every command id and the handler it runs; the context menu items share the ids of the controls
// whose clicks they perform, so "play selected" runs the play handler with BitBtn2 as sender.
struct CommandRoute {
    int id;
    void (*run)(TForm1&);
};

const std::array<CommandRoute, 18> kCommandRoutes = {{
    {IDC_ToolButton1, [](TForm1& f) { f.ToolButton1Click(); }},
    {IDC_ToolButton2, [](TForm1& f) { f.ToolButton2Click(); }},
    {IDC_ToolButton3, [](TForm1& f) { f.ToolButton3Click(); }},
    {IDC_ToolButton4, [](TForm1& f) { f.ToolButton4Click(); }},
    {IDC_ToolButton5, [](TForm1& f) { f.ToolButton5Click(); }},
    {IDC_ToolButton6, [](TForm1& f) { f.ToolButton6Click(); }},
    {IDC_ToolButton7, [](TForm1& f) { f.ToolButton7Click(); }},
    {IDC_ToolButton8, [](TForm1& f) { f.ToolButton8Click(); }},
    {IDC_TntSpeedButton1, [](TForm1& f) { f.TntSpeedButton1Click(); }},
    {IDC_BitBtn1, [](TForm1& f) { f.BitBtn1Click(kPlayAllSender); }},
    {IDC_BitBtn2, [](TForm1& f) { f.BitBtn1Click(kPlaySelectedSender); }},
    {IDC_BitBtn3, [](TForm1& f) { f.BitBtn3Click(); }},
    {IDM_Exit1, [](TForm1& f) { f.Exit1Click(); }},
    {IDM_Help2, [](TForm1& f) { f.Help2Click(); }},
    {IDM_Hollowfinswebsite1, [](TForm1& f) { f.Hollowfinswebsite1Click(); }},
    {IDM_Emailsupport1, [](TForm1& f) { f.Emailsupport1Click(); }},
    {IDM_About1, [](TForm1& f) { f.About1Click(); }},
    {0, nullptr},
}};

void RegisterForm1Class(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (::GetClassInfoExW(instance, kForm1Class, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_TIDEWELL));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TIDEWELL),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kForm1Class;
    ::RegisterClassExW(&wc);
}

}  // namespace

std::vector<MonitorEntry> EnumerateMonitors() {
    std::vector<MonitorEntry> monitors;
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT bounds, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<MonitorEntry>*>(data)->push_back({monitor, *bounds});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

TForm1::TForm1(Form1Settings settings) : settings_(std::move(settings)) {}

TForm1::~TForm1() {
    if (hwnd_) ::DestroyWindow(hwnd_);
    if (TntPopupMenu1) ::DestroyMenu(TntPopupMenu1);
    if (toolbarImages_) ::ImageList_Destroy(toolbarImages_);
}

void TForm1::Create() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterForm1Class(instance, &TForm1::WindowProc);
    dpi_ = SystemDpi();
    // "MS Shell Dlg 2" at 8 points; every control takes this font when it is made.
    font_.reset(::CreateFontW(-::MulDiv(8, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2"));
    CreateMenus();
    CreateFileDialogs();
    RECT frame{0, 0, ::MulDiv(kClientWidth, dpi_, 96), ::MulDiv(kClientHeight, dpi_, 96)};
    ::AdjustWindowRectEx(&frame, kForm1Style, TRUE, 0);
    // The design-time caption; the creation handler replaces it with the application title.
    ::CreateWindowExW(0, kForm1Class, L"Form1", kForm1Style, CW_USEDEFAULT, CW_USEDEFAULT,
                      frame.right - frame.left, frame.bottom - frame.top, nullptr, TntMainMenu2,
                      instance, this);
}

void TForm1::ShowCentered() {
    RECT frame{};
    ::GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowObject<TForm1>(hwnd, message, lParam);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCCREATE) self->hwnd_ = hwnd;
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // The one place where errors that escape a handler end: shown, and the program goes on.
    LRESULT result = 0;
    bool handled = false;
    self->Guarded([&] {
        result = self->HandleMessage(message, wParam, lParam);
        handled = true;
    });
    return handled ? result : 0;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT listResult = 0;
    if (playlist_ && HandleListViewMessage(message, wParam, lParam, listResult)) return listResult;
    switch (message) {
        case WM_CREATE:
            CreateControls();
            TntFormCreate();
            return 0;
        case WM_COMMAND:
            // Clicks from controls arrive as BN_CLICKED (0); menu items and toolbar buttons as 0.
            if (HIWORD(wParam) == 0 || HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == ListView1) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                if (at.x == -1 && at.y == -1) {  // from the keyboard: at the list's corner
                    at = {0, 0};
                    ::ClientToScreen(ListView1, &at);
                }
                ShowContextMenu(at);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            // Read-only edits and labels sit on the button face like the window itself.
            ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TForm1::OnCommand(int id) {
    for (const auto& route : kCommandRoutes) {
        if (route.id == id && route.run) {
            route.run(*this);
            return;
        }
    }
}

void TForm1::ShowContextMenu(POINT screenPoint) {
    ::TrackPopupMenu(TntPopupMenu1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y,
                     0, hwnd_, nullptr);
}

void TForm1::TntFormCreate() {
    preferencesKeyPath_ = settings_.preferencesKeyPath;
    ::SetWindowTextW(hwnd_, kApplicationTitle);
    SetMessageHook([this](MSG& message) {
        bool handled = false;
        Guarded([&] { handled = ShellDropHook(message); });
        return handled;
    });
    ::SendMessageW(TntUpDown1, UDM_SETRANGE32, 1, MonitorCount());
    ::SendMessageW(TntUpDown1, UDM_SETPOS32, 0, 1);
    playlist_ = std::make_unique<PlaylistView>(ListView1, [this] { ListView1SelectItem(); });
    ::DragAcceptFiles(ListView1, TRUE);
    // A failure to restore the preferences is shown, and the window still opens.
    Guarded([this] { LoadPreferences(); });
    PlayQueue.clear();
}

void TForm1::OnClose() {
    // When storing the preferences fails, the error leaves here before the window is destroyed:
    // the close is abandoned and the window stays open.
    TntFormClose();
    closed_ = true;
    ::DestroyWindow(hwnd_);
}

void TForm1::TntFormClose() {
    SavePreferences();
}

void TForm1::Exit1Click() {
    ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::BitBtn3Click() {
    ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm1::ReportError(const std::wstring& message) {
    settings_.dialogs->ShowError(hwnd_, ErrorBoxText(message));
}

void TForm1::SetCommandEnabled(int commandId, bool enabled) {
    ::SendMessageW(TntToolBar1, TB_ENABLEBUTTON, commandId, MAKELPARAM(enabled ? TRUE : FALSE, 0));
    ::EnableMenuItem(TntPopupMenu1, commandId, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (commandId == IDC_BitBtn1) ::EnableWindow(BitBtn1, enabled);
    if (commandId == IDC_BitBtn2) ::EnableWindow(BitBtn2, enabled);
}

bool TForm1::IsCommandEnabled(int commandId) const {
    if (commandId == IDC_BitBtn1) return ::IsWindowEnabled(BitBtn1) != FALSE;
    if (commandId == IDC_BitBtn2) return ::IsWindowEnabled(BitBtn2) != FALSE;
    return ::SendMessageW(TntToolBar1, TB_ISBUTTONENABLED, commandId, 0) != 0;
}

int TForm1::MonitorCount() const {
    return settings_.monitors.empty() ? ::GetSystemMetrics(SM_CMONITORS)
                                      : static_cast<int>(settings_.monitors.size());
}

int TForm1::MonitorNumber() const {
    return static_cast<short>(::SendMessageW(TntUpDown1, UDM_GETPOS32, 0, 0));
}

void TForm1::SetMonitorNumber(int number) {
    ::SendMessageW(TntUpDown1, UDM_SETPOS32, 0, number);
}

std::wstring TForm1::ProgramPath() const {
    return WindowText(TntEdit1);
}

void TForm1::SetProgramPath(const std::wstring& path) {
    ::SetWindowTextW(TntEdit1, path.c_str());
}

}  // namespace tidewell
