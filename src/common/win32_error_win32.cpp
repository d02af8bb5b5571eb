#include "common/win32_error_win32.h"

#include "common/text_rules.h"

namespace tidewell {

std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text =
        length ? Trim(std::wstring_view(buffer, length)) : L"System error " + std::to_wstring(code);
    if (buffer) ::LocalFree(buffer);
    return text;
}

}  // namespace tidewell
