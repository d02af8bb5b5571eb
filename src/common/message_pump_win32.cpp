#include "common/message_pump_win32.h"

namespace tidewell {

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

HWND& NavigationWindow() {
    static HWND window = nullptr;
    return window;
}

void Process(MSG& message) {
    if (Hook() && Hook()(message)) return;
    const HWND navigation = NavigationWindow();
    if (navigation && ::IsWindow(navigation) && ::IsDialogMessageW(navigation, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

}  // namespace

void SetMessageHook(MessageHook hook) {
    Hook() = std::move(hook);
}

void SetNavigationWindow(HWND window) {
    NavigationWindow() = window;
}

int RunMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) Process(message);
    return static_cast<int>(message.wParam);
}

bool PumpPendingMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Process(message);
    }
    return true;
}

}  // namespace tidewell
