#pragma once
#include <windows.h>

#include <string>

namespace tidewell {

// A window's whole text, however long.
inline std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace tidewell
