#include "copies/original_read_win32.h"

#include <thread>

#include "common/file_exists_win32.h"
#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

OriginalRead Failed(const std::wstring& path, DWORD error) {
    OriginalRead read;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        read.outcome = OriginalRead::Outcome::Changing;
    } else {
        read.outcome = PresenceOf(path) == Presence::Gone ? OriginalRead::Outcome::Gone
                                                          : OriginalRead::Outcome::Unreachable;
    }
    return read;
}

}  // namespace

std::optional<FileStamp> LookAt(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    return FileStamp{Join(data.nFileSizeHigh, data.nFileSizeLow),
                     Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

OriginalRead ReadOriginal(const std::wstring& path, std::chrono::milliseconds moment) {
    const std::optional<FileStamp> before = LookAt(path);
    if (!before) return Failed(path, ::GetLastError());
    if (before->size > kLargestPresentation) return {OriginalRead::Outcome::TooLarge, *before, {}};
    std::this_thread::sleep_for(moment);
    OriginalRead read{OriginalRead::Outcome::Read, *before, {}};
    {
        // Others may go on reading, writing and renaming it meanwhile: a writer that does not
        // allow readers (a save in progress) makes this fail instead of the other way round.
        UniqueFileHandle file(::CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) return Failed(path, ::GetLastError());
        read.bytes.resize(before->size);
        std::uint64_t total = 0;
        while (total < read.bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::uint64_t>(read.bytes.size() - total, 1 << 24));
            DWORD got = 0;
            if (!::ReadFile(file.get(), read.bytes.data() + total, chunk, &got, nullptr)) {
                return Failed(path, ::GetLastError());
            }
            if (got == 0) break;
            total += got;
        }
        read.bytes.resize(total);
    }
    const std::optional<FileStamp> after = LookAt(path);
    if (!after) return Failed(path, ::GetLastError());
    if (*after != *before || read.bytes.size() != before->size) {
        return {OriginalRead::Outcome::Changing, *after, {}};
    }
    return read;
}

}  // namespace tidewell
