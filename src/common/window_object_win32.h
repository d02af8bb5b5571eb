#pragma once
// One window class, one object: the window procedure finds its object through the window. The
// object is stored when the window is first created (from CreateWindowEx's last argument) and
// forgotten when the window is gone, so no message reaches an object that no longer owns it.
#include <windows.h>

namespace tidewell {

// The object of `hwnd`, or null before WM_NCCREATE and from WM_NCDESTROY on (that last message
// still returns the object, for its own clean-up).
template <typename T>
T* WindowObject(HWND hwnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return self;
}

// The system's dots per inch; layouts are given at 96 and scaled by this.
inline int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace tidewell
