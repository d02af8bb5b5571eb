#pragma once
// A presentation read whole into memory and let go of at once: nothing of ours holds a file on a
// share open while it plays, so that whoever saves a new version there is never told "in use".
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidewell {

struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // FILETIME, UTC
    bool operator==(const FileStamp&) const = default;
};

struct OriginalRead {
    enum class Outcome {
        Read,         // `bytes` hold the whole file, the same at two looks a moment apart
        Gone,         // the folder answers and the file is not there
        Unreachable,  // the drive, the share or the folder does not answer
        Changing,     // still being written: it changed meanwhile, or its writer denies reading
        TooLarge,
    };
    Outcome outcome = Outcome::Unreachable;
    FileStamp stamp;
    std::vector<std::uint8_t> bytes;
};

// The file's size and last-write time now; nothing when it cannot be looked at.
std::optional<FileStamp> LookAt(const std::wstring& path);

// Larger presentations are not read into memory (nor played unattended from a share).
inline constexpr std::uint64_t kLargestPresentation = 1ULL << 30;

// Looks at the file, waits `moment`, reads it whole, and looks again.
OriginalRead ReadOriginal(const std::wstring& path, std::chrono::milliseconds moment);

}  // namespace tidewell
