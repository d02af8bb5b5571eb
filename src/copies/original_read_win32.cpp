#include "copies/original_read_win32.h"

#include <algorithm>
#include <thread>

#include "common/file_exists_win32.h"
#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

using Outcome = OriginalRead::Outcome;

// Pieces of a copy: large enough that a share answers at its speed, small beside any memory.
constexpr std::uint64_t kPiece = 4 << 20;

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

OriginalRead Failed(const std::wstring& path, DWORD error) {
    OriginalRead read;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        read.outcome = Outcome::Changing;
    } else {
        read.outcome = PresenceOf(path) == Presence::Gone ? Outcome::Gone : Outcome::Unreachable;
    }
    return read;
}

// Looks at the file, waits `moment`, opens it and lets `use` read it, and looks again. `use`
// answers the outcome of its read (Read when it read the size the first look gave) and leaves
// the error in GetLastError when it could not read.
template <typename Use>
OriginalRead Between(const std::wstring& path, std::chrono::milliseconds moment,
                     std::uint64_t largest, Use use) {
    const std::optional<FileStamp> before = LookAt(path);
    if (!before) return Failed(path, ::GetLastError());
    if (before->size > largest) return {Outcome::TooLarge, *before, {}};
    std::this_thread::sleep_for(moment);
    OriginalRead read{Outcome::Read, *before, {}};
    {
        // Others may go on reading, writing and renaming it meanwhile: a writer that does not
        // allow readers (a save in progress) makes this fail instead of the other way round.
        UniqueFileHandle file(::CreateFileW(
            path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) return Failed(path, ::GetLastError());
        read.outcome = use(file.get(), read);
        if (read.outcome == Outcome::Unreachable) return Failed(path, ::GetLastError());
        if (read.outcome != Outcome::Read) return {read.outcome, read.stamp, {}};
    }
    const std::optional<FileStamp> after = LookAt(path);
    if (!after) return Failed(path, ::GetLastError());
    if (*after != *before) return {Outcome::Changing, *after, {}};
    return read;
}

// Reads the file from its start, a piece at a time, to `take`; one byte more than the first look
// gave is asked for, so that a file that grew meanwhile is seen to have.
template <typename Take>
Outcome ReadPieces(HANDLE file, std::uint64_t size, Take take) {
    std::vector<std::uint8_t> piece(static_cast<std::size_t>(std::min(size + 1, kPiece)));
    std::uint64_t total = 0;
    while (total <= size) {
        const DWORD asked = static_cast<DWORD>(std::min<std::uint64_t>(size + 1 - total, kPiece));
        DWORD got = 0;
        if (!::ReadFile(file, piece.data(), asked, &got, nullptr)) return Outcome::Unreachable;
        if (got == 0) break;
        if (!take(std::span<const std::uint8_t>(piece.data(), got))) return Outcome::NotWritten;
        total += got;
    }
    return total == size ? Outcome::Read : Outcome::Changing;
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
    return Between(path, moment, kLargestReadWhole, [](HANDLE file, OriginalRead& read) {
        read.bytes.reserve(read.stamp.size);
        return ReadPieces(file, read.stamp.size, [&](std::span<const std::uint8_t> piece) {
            read.bytes.insert(read.bytes.end(), piece.begin(), piece.end());
            return true;
        });
    });
}

OriginalRead CopyOriginal(const std::wstring& path, std::chrono::milliseconds moment,
                          const std::wstring& target) {
    return Between(path, moment, UINT64_MAX, [&](HANDLE file, OriginalRead& read) {
        UniqueFileHandle copy(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!copy) return Outcome::NotWritten;
        const Outcome outcome =
            ReadPieces(file, read.stamp.size, [&](std::span<const std::uint8_t> piece) {
                DWORD written = 0;
                return ::WriteFile(copy.get(), piece.data(), static_cast<DWORD>(piece.size()),
                                   &written, nullptr) &&
                       written == piece.size();
            });
        // On the disk before it is checked and renamed into place: a power cut right after the
        // rename must not leave a copy of zeros under a note that calls it good.
        if (outcome == Outcome::Read && !::FlushFileBuffers(copy.get())) return Outcome::NotWritten;
        return outcome;
    });
}

OriginalRead MapOriginal(const std::wstring& path, std::chrono::milliseconds moment,
                         const std::function<void(std::span<const std::uint8_t>)>& use) {
    return Between(path, moment, UINT64_MAX, [&](HANDLE file, OriginalRead& read) {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file, &size)) return Outcome::Unreachable;
        if (static_cast<std::uint64_t>(size.QuadPart) != read.stamp.size) return Outcome::Changing;
        // An empty file cannot be mapped, and has nothing to map.
        if (size.QuadPart == 0) {
            use({});
            return Outcome::Read;
        }
        const UniqueKernelHandle mapping(
            ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping) return Outcome::Unreachable;
        const UniqueMappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
        if (!view) return Outcome::Unreachable;
        use({static_cast<const std::uint8_t*>(view.get()),
             static_cast<std::size_t>(size.QuadPart)});
        return Outcome::Read;
    });
}

}  // namespace tidewell
