#include "playback/run_icon_win32.h"

#include <algorithm>
#include <string>

#include "common/window_object_win32.h"
#include "playback/run_progress.h"

namespace tidewell {
namespace {

constexpr wchar_t kRunIconClass[] = L"TidewellRunIcon";
enum MenuCommand : UINT { kStopAfterThis = 1, kStopNow = 2 };

void RegisterRunIconClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (::GetClassInfoExW(instance, kRunIconClass, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = kRunIconClass;
    ::RegisterClassExW(&wc);
}

}  // namespace

RunIcon::RunIcon(HICON icon, StopHandler onStop) : onStop_(std::move(onStop)) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterRunIconClass(instance, WindowProc);
    // A hidden top-level window rather than a message-only one: only top-level windows hear that
    // the taskbar was created again (Explorer restarted) and must be given the icon anew.
    window_.reset(::CreateWindowExW(0, kRunIconClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, this));
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    data_.cbSize = sizeof(data_);
    data_.hWnd = window_.get();
    data_.uID = kIconId;
    data_.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon;
    ::Shell_NotifyIconW(NIM_ADD, &data_);
}

RunIcon::~RunIcon() {
    ::Shell_NotifyIconW(NIM_DELETE, &data_);
}

void RunIcon::ShowProgress(std::size_t position, std::size_t count,
                           std::wstring_view presentationPath) {
    const std::wstring tip = RunTip(position, count, presentationPath, std::size(data_.szTip) - 1);
    std::ranges::fill(data_.szTip, L'\0');
    std::ranges::copy(tip, data_.szTip);
    ::Shell_NotifyIconW(NIM_MODIFY, &data_);
}

LRESULT CALLBACK RunIcon::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    RunIcon* self = WindowObject<RunIcon>(hwnd, message, lParam);
    if (!self || message == WM_NCCREATE) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT RunIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallbackMessage) {
        // Either button opens the menu: a person at a kiosk screen may have only a touch screen
        // or a one-button mouse.
        if (lParam == WM_RBUTTONUP || lParam == WM_LBUTTONUP || lParam == WM_CONTEXTMENU) {
            ShowMenu();
        }
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        ::Shell_NotifyIconW(NIM_ADD, &data_);
        return 0;
    }
    return ::DefWindowProcW(Window(), message, wParam, lParam);
}

void RunIcon::ShowMenu() {
    const UniqueHMENU menu(::CreatePopupMenu());
    ::AppendMenuW(menu.get(), MF_STRING, kStopAfterThis, kStopAfterThisCaption);
    ::AppendMenuW(menu.get(), MF_STRING, kStopNow, kStopNowCaption);
    POINT at{};
    ::GetCursorPos(&at);
    // The menu closes when it loses the focus only if its owner is the foreground window; the
    // empty message afterwards lets it close at once on the next click elsewhere.
    ::SetForegroundWindow(Window());
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0,
                         Window(), nullptr));
    ::PostMessageW(Window(), WM_NULL, 0, 0);
    if (chosen == kStopAfterThis) onStop_(StopWhen::AfterThisPresentation);
    if (chosen == kStopNow) onStop_(StopWhen::Now);
}

}  // namespace tidewell
