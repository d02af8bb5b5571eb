#include "playlist/ansi_text_win32.h"

#include <windows.h>

namespace tidewell {

std::wstring AnsiRoundTrip(const std::wstring& text) {
    if (text.empty()) return {};
    const int wideLength = static_cast<int>(text.size());
    const int byteCount =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (byteCount <= 0) return {};
    std::string bytes(static_cast<std::size_t>(byteCount), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, bytes.data(), byteCount, nullptr,
                          nullptr);
    const int charCount = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteCount, nullptr, 0);
    if (charCount <= 0) return {};
    std::wstring back(static_cast<std::size_t>(charCount), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteCount, back.data(), charCount);
    return back;
}

}  // namespace tidewell
