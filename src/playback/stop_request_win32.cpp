#include "playback/stop_request_win32.h"

namespace tidewell {

UINT StopRequestMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Tidewell.StopRun");
    return message;
}

namespace {

constexpr wchar_t kTidewellMark[] = L"hollowfin.lanternrow.Tidewell";

}  // namespace

void MarkAsTidewellWindow(HWND window) {
    ::SetPropW(window, kTidewellMark, reinterpret_cast<HANDLE>(1));
}

void UnmarkTidewellWindow(HWND window) {
    ::RemovePropW(window, kTidewellMark);
}

bool RequestStopFromOutside(const wchar_t* mainWindowClass, bool now) {
    constexpr UINT kAnswerTimeoutMs = 5000;
    constexpr DWORD kRetryMs = 200;
    bool stopped = false;
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, mainWindowClass, nullptr)) != nullptr) {
        if (!::GetPropW(window, kTidewellMark)) continue;
        // A window that is busy (a share that does not answer) is asked again for as long as it
        // is there: its run is alive, and "nothing is playing" would be a false answer.
        DWORD_PTR answer = 0;
        while (!::SendMessageTimeoutW(window, StopRequestMessage(), now ? 1 : 0, 0,
                                      SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &answer)) {
            if (!::IsWindow(window)) break;
            ::Sleep(kRetryMs);
        }
        if (answer == static_cast<DWORD_PTR>(kStopRequestAccepted)) stopped = true;
    }
    return stopped;
}

void AskShowToEnd(DWORD processId) {
    if (processId == 0) return;
    ::EnumWindows(
        [](HWND window, LPARAM target) -> BOOL {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == static_cast<DWORD>(target) && ::IsWindowVisible(window)) {
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        static_cast<LPARAM>(processId));
}

}  // namespace tidewell
