#include "common/whole_file_win32.h"

#include <windows.h>

#include <cstdio>
#include <random>

#include "common/unique_handle_win32.h"

namespace tidewell {

bool ReplaceWholeFile(const std::wstring& target, std::string_view bytes, bool flush) noexcept {
    try {
        // Same folder, so that the move is a rename. The folder is shared, so whatever stands
        // under a name there may have been planted (a link to a file of somebody else's): the
        // name is fresh and unguessable, and only a file that this call creates is written.
        std::random_device random;
        std::wstring temporary;
        UniqueFileHandle file;
        for (int attempt = 0; !file && attempt < 16; ++attempt) {
            wchar_t name[24];
            std::swprintf(name, 24, L".%08x%08x.tmp", random(), random());
            temporary = target + name;
            file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file && ::GetLastError() != ERROR_FILE_EXISTS) return false;
        }
        if (!file) return false;
        DWORD count = 0;
        const bool written = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &count, nullptr) &&
                             count == bytes.size() && (!flush || ::FlushFileBuffers(file.get()));
        file.reset();
        if (written && ::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        ::DeleteFileW(temporary.c_str());
        return false;
    } catch (...) {
        return false;  // no memory for the name, no randomness: this update is lost, not the next
    }
}

std::optional<std::string> ReadSmallFile(const std::wstring& path, std::size_t limit) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string text(limit, '\0');
    DWORD got = 0;
    if (!::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
        return std::nullopt;
    }
    text.resize(got);
    return text;
}

}  // namespace tidewell
