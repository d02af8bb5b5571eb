#pragma once
// What a test reads off a real window: its text, where it sits, its font.
#include <windows.h>

#include <string>
#include <string_view>

#include "common/window_text_win32.h"

namespace tidewell::testing {

inline std::wstring TextOf(HWND window) {
    return WindowText(window);
}

// Left, top, width, height in the parent's client area.
inline RECT PlaceInParent(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle) ::GetObjectW(handle, sizeof(font), &font);
    return font;
}

// The width `text` takes in the control's own font, as the font reports it.
inline int TextWidthInOwnFont(HWND control, std::wstring_view text) {
    HDC dc = ::GetDC(control);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return size.cx;
}

// The width the control's own text takes in its font.
inline int TextWidthInOwnFont(HWND control) {
    return TextWidthInOwnFont(control, TextOf(control));
}

}  // namespace tidewell::testing
