#include "about/bevel_panel_win32.h"

#include "common/window_class_win32.h"

namespace tidewell {
namespace {

constexpr wchar_t kPanelClass[] = L"TidewellBevelPanel";

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(hwnd, &paint);
            RECT client;
            ::GetClientRect(hwnd, &client);
            ::DrawEdge(dc, &client, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
            ::EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
            return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateBevelPanel(HWND parent, int id, const RECT& bounds) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterButtonFaceClass(instance, kPanelClass, PanelProc);
    return ::CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                             bounds.left, bounds.top, bounds.right - bounds.left,
                             bounds.bottom - bounds.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace tidewell
