#include "support/user_input.h"

#include <windowsx.h>

#include "common/message_pump_win32.h"

namespace tidewell::testing {

namespace {

void Send(INPUT input) {
    ::SendInput(1, &input, sizeof(INPUT));
}

void SendMouse(DWORD flags, POINT screen = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute positions run from 0 to 65535 over the primary monitor; the half step puts the
        // position in the middle of the wanted pixel, so that rounding cannot move it to the next.
        const int width = ::GetSystemMetrics(SM_CXSCREEN);
        const int height = ::GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = static_cast<LONG>((screen.x * 65536LL + 32768) / width);
        input.mi.dy = static_cast<LONG>((screen.y * 65536LL + 32768) / height);
    }
    Send(input);
}

void SendKey(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(input);
}

}  // namespace

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpPendingMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Wakes as soon as anything arrives; the time-out only bounds a wait for nothing.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void UserInput::MoveTo(POINT screen) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen);
    // Handled once the loop has taken the move from the queue (the last message's position).
    PumpUntil([&] {
        const DWORD at = ::GetMessagePos();
        return GET_X_LPARAM(at) == screen.x && GET_Y_LPARAM(at) == screen.y;
    });
}

void UserInput::GlideTo(POINT screen, int steps) {
    POINT start{};
    ::GetCursorPos(&start);
    for (int i = 1; i <= steps; ++i) {
        MoveTo({start.x + (screen.x - start.x) * i / steps,
                start.y + (screen.y - start.y) * i / steps});
    }
}

void UserInput::PressLeft() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void UserInput::ReleaseLeft() {
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void UserInput::Key(WORD virtualKey, WORD held) {
    if (held) SendKey(held, true);
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
    if (held) SendKey(held, false);
}

POINT OnScreen(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    return client;
}

}  // namespace tidewell::testing
