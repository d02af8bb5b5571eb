#include "about/ansi_text_win32.h"

#include <windows.h>

namespace tidewell {

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int bytes =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, result.data(), bytes, nullptr,
                              nullptr);
    return result;
}

}  // namespace tidewell
