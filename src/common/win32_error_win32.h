#pragma once
#include <windows.h>

#include <string>
#include <type_traits>

#include "common/app_error.h"

namespace tidewell {

// The system's own text for an error code, without the trailing line break. FormatMessageW keeps
// the text wide; std::system_category() would hand it back in the ANSI code page under MinGW.
std::wstring SystemMessage(DWORD code);

// Throws AppError when `failed`: the error names `call` and carries the thread's last error code.
// `text` is what the user is shown: a fixed message, or a function that makes it from the code.
template <typename Text>
void ThrowLastErrorIf(bool failed, const wchar_t* call, Text&& text) {
    if (!failed) return;
    const DWORD code = ::GetLastError();
    if constexpr (std::is_invocable_v<Text, DWORD>) {
        throw AppError(text(code), call, code);
    } else {
        throw AppError(std::wstring(text), call, code);
    }
}

}  // namespace tidewell
