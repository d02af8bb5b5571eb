#include "playback/unattended_launch_win32.h"

#include <windows.h>

#include "common/full_path_win32.h"
#include "common/text_rules.h"
#include "playback/unattended_launch.h"

namespace tidewell {
namespace {

// Calls a "fill this buffer" function of the system until the buffer is large enough.
template <typename Fill>
std::wstring SystemPath(Fill fill) {
    std::wstring text(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return {};
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
    return {};
}

bool OnLocalDrive(const std::wstring& fullPath) {
    if (!IsAbsoluteDrivePath(fullPath)) return false;
    const std::wstring root = fullPath.substr(0, 2) + L'\\';
    switch (::GetDriveTypeW(root.c_str())) {
        case DRIVE_FIXED:
        case DRIVE_REMOVABLE:
        case DRIVE_CDROM:
        case DRIVE_RAMDISK:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::wstring FullLongPath(const std::wstring& path) {
    const std::wstring trimmed = Trim(path);
    if (trimmed.empty()) return trimmed;
    const std::wstring full = FullPathOf(trimmed);
    std::wstring longPath = SystemPath([&](wchar_t* buffer, DWORD size) {
        return ::GetLongPathNameW(full.c_str(), buffer, size);
    });
    return longPath.empty() ? full : longPath;
}

bool MayStartProgramUnattended(const std::wstring& programPath, const std::wstring& userChosen) {
    const std::wstring full = FullLongPath(programPath);
    const std::wstring chosen = FullLongPath(userChosen);
    return MayStartUnattended({programPath, full, OnLocalDrive(full)}, chosen);
}

}  // namespace tidewell
