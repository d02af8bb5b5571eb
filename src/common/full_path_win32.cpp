#include "common/full_path_win32.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "common/folder_listing_plan.h"

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

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The path joined to the folder the way the system joins a path to the current folder.
std::wstring JoinedBeside(std::wstring_view fileFullPath, const std::wstring& path) {
    if (!PathRoot(path).empty() ||
        (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])))
        return path;
    const std::wstring_view folder = fileFullPath.substr(0, fileFullPath.find_last_of(L"\\/") + 1);
    if (!path.empty() && IsSeparator(path[0])) {
        const std::wstring_view root = PathRoot(fileFullPath);
        return std::wstring(root.empty() ? folder : root) + path.substr(1);
    }
    if (path.size() >= 2 && path[1] == L':') {
        const bool sameDrive = !folder.empty() && ::towupper(folder[0]) == ::towupper(path[0]) &&
                               folder.size() >= 2 && folder[1] == L':';
        return (sameDrive ? std::wstring(folder) : path.substr(0, 2) + L"\\") + path.substr(2);
    }
    return std::wstring(folder) + path;
}

}  // namespace

std::optional<std::wstring> FullPathBeside(const std::wstring& fileFullPath,
                                           const std::wstring& path) {
    // "C:/shows/x.pptx" is as full as "C:\shows\x.pptx": its root is found with either separator.
    std::wstring separated = path;
    std::replace(separated.begin(), separated.end(), L'/', L'\\');
    return SystemFullPath(JoinedBeside(fileFullPath, separated));
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
