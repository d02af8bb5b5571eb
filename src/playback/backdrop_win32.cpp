#include "playback/backdrop_win32.h"

namespace tidewell {
namespace {

constexpr wchar_t kBackdropClass[] = L"TidewellBackdrop";

LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A click on black (a visitor touching the screen) must not take the focus from a show.
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    // Black means black: no pointer left standing in the middle of the lobby screen.
    if (message == WM_SETCURSOR) {
        ::SetCursor(nullptr);
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterBackdropClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{sizeof(windowClass)};
    if (::GetClassInfoExW(instance, kBackdropClass, &windowClass)) return true;
    windowClass = {sizeof(windowClass)};
    windowClass.lpfnWndProc = BackdropProc;
    windowClass.hInstance = instance;
    // The background is erased black before anything else: the window never shows another
    // colour, not even for the first frame.
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kBackdropClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool Backdrop::Cover(const RECT& monitorRect) noexcept {
    const int width = monitorRect.right - monitorRect.left;
    const int height = monitorRect.bottom - monitorRect.top;
    if (window_) {
        return ::SetWindowPos(window_, nullptr, monitorRect.left, monitorRect.top, width, height,
                              SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
    }
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!RegisterBackdropClass(instance)) return false;
    // Disabled as well: when a show closes, the system gives the activation to the next window in
    // line that may take it, and only a disabled one is passed over everywhere (Wine ignores
    // WS_EX_NOACTIVATE there).
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBackdropClass, L"",
                                WS_POPUP | WS_DISABLED, monitorRect.left, monitorRect.top, width,
                                height, nullptr, nullptr, instance, nullptr);
    if (!window_) return false;
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window_);
    return true;
}

void Backdrop::Remove() noexcept {
    if (window_) ::DestroyWindow(window_);
    window_ = nullptr;
}

}  // namespace tidewell
