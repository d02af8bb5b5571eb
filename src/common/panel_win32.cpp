#include "common/panel_win32.h"

namespace tidewell {
namespace {

void PaintBevel(HWND panel) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(panel, &paint);
    RECT client;
    ::GetClientRect(panel, &client);
    ::DrawEdge(dc, &client, BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT);
    ::EndPaint(panel, &paint);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            if (!(::GetWindowLongW(hwnd, GWL_STYLE) & kPanelBevel)) break;
            PaintBevel(hwnd);
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ::SendMessageW(::GetParent(hwnd), message, wParam, lParam);
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterPanelClass() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, kPanelClass, &wc)) return;
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    ::RegisterClassExW(&wc);
}

}  // namespace tidewell
