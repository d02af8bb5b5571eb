#include "playback/run_icon_win32.h"

#include <algorithm>
#include <string>
#include <utility>

#include "run/run_progress.h"
#include "playback/stop_request_win32.h"

namespace tidewell {
namespace {

enum MenuCommand : UINT { kStopAfterThis = 1, kStopNow = 2 };

}  // namespace

RunIcon::RunIcon(Dialogs& dialogs, HICON icon, HWND stopTarget)
    : Window<RunIcon>(dialogs), stopTarget_(stopTarget) {
    // A hidden top-level window rather than a message-only one: only top-level windows hear that
    // the taskbar was created again (Explorer restarted) and must be given the icon anew.
    Create({L"TidewellRunIcon", L"", WS_POPUP, 0, 0, 0, 0, nullptr});
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    data_.cbSize = sizeof(data_);
    data_.hWnd = hwnd_;
    data_.uID = kIconId;
    data_.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon;
    ::Shell_NotifyIconW(NIM_ADD, &data_);
}

RunIcon::~RunIcon() {
    Remove();
}

void RunIcon::Remove() {
    if (!std::exchange(removed_, true)) ::Shell_NotifyIconW(NIM_DELETE, &data_);
}

void RunIcon::ShowProgress(std::size_t position, std::size_t count,
                           std::wstring_view presentationPath) {
    ShowTip(RunTip(position, count, presentationPath, std::size(data_.szTip) - 1));
}

void RunIcon::ShowTip(std::wstring_view tip) {
    std::ranges::fill(data_.szTip, L'\0');
    std::ranges::copy(tip.substr(0, std::size(data_.szTip) - 1), data_.szTip);
    if (!removed_) ::Shell_NotifyIconW(NIM_MODIFY, &data_);
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
    if (message == taskbarCreated_ && taskbarCreated_ != 0 && !removed_) {
        ::Shell_NotifyIconW(NIM_ADD, &data_);
        return 0;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void RunIcon::ShowMenu() {
    const UniqueHMENU menu(::CreatePopupMenu());
    ::AppendMenuW(menu.get(), MF_STRING, kStopAfterThis, kStopAfterThisCaption);
    ::AppendMenuW(menu.get(), MF_STRING, kStopNow, kStopNowCaption);
    POINT at{};
    ::GetCursorPos(&at);
    // The menu closes when it loses the focus only if its owner is the foreground window; the
    // empty message afterwards lets it close at once on the next click elsewhere.
    ::SetForegroundWindow(hwnd_);
    const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
    ::PostMessageW(hwnd_, WM_NULL, 0, 0);
    if (chosen == kStopAfterThis || chosen == kStopNow) {
        ::PostMessageW(stopTarget_, StopRequestMessage(), chosen == kStopNow ? 1 : 0, 0);
    }
}

}  // namespace tidewell
