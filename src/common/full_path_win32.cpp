#include "common/full_path_win32.h"

#include <windows.h>

#include <vector>

namespace tidewell {

std::optional<std::wstring> SystemFullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return std::nullopt;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return std::nullopt;
    full.resize(length);
    return full;
}

std::wstring FullPathOf(const std::wstring& path) {
    return SystemFullPath(path).value_or(path);
}

std::wstring LongPathOf(const std::wstring& fullPath) {
    const DWORD needed = ::GetLongPathNameW(fullPath.c_str(), nullptr, 0);
    if (needed == 0) return fullPath;
    std::wstring longPath(needed, L'\0');
    const DWORD length = ::GetLongPathNameW(fullPath.c_str(), longPath.data(), needed);
    if (length == 0 || length >= needed) return fullPath;
    longPath.resize(length);
    return longPath;
}

std::wstring ExpandedFullPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(path.size() + 1);
    for (;;) {
        const DWORD needed = ::ExpandEnvironmentStringsW(path.c_str(), buffer.data(),
                                                         static_cast<DWORD>(buffer.size()));
        if (needed == 0) return FullPathOf(path);
        if (needed <= buffer.size()) return FullPathOf(buffer.data());
        buffer.resize(needed);
    }
}

}  // namespace tidewell
