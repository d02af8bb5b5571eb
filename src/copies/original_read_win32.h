#pragma once
// A presentation read and let go of at once: nothing of ours holds a file on a share open while it
// plays, so that whoever saves a new version there is never told "in use". Each read looks at the
// file's size and time before and after, a moment apart, to tell a file at rest from one still
// being written.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/file_stamp.h"

namespace tidewell {

struct OriginalRead {
    enum class Outcome {
        Read,         // read whole, the same at two looks a moment apart
        Gone,         // the folder answers and the file is not there
        Unreachable,  // the drive, the share or the folder does not answer
        Changing,     // still being written: it changed meanwhile, or its writer denies reading
        TooLarge,     // larger than a read into memory takes
        NotWritten,   // the copy could not be written (a full disk)
    };
    Outcome outcome = Outcome::Unreachable;
    FileStamp stamp;
    std::vector<std::uint8_t> bytes;  // ReadOriginal's only
};

// The file's size and last-write time now; nothing when it cannot be looked at.
std::optional<FileStamp> LookAt(const std::wstring& path);

// A file read whole into memory: a small one (a setting file); larger ones are TooLarge.
inline constexpr std::uint64_t kLargestReadWhole = 1ULL << 30;
OriginalRead ReadOriginal(const std::wstring& path, std::chrono::milliseconds moment);

// The file copied piece by piece into `target` (created, or written over), so that a presentation
// of any size takes one piece of memory.
OriginalRead CopyOriginal(const std::wstring& path, std::chrono::milliseconds moment,
                          const std::wstring& target);

// The file's bytes handed to `use` through a read-only mapping, which pages them in as they are
// read rather than holding them all; the mapping is gone when this returns. Only for files on
// this computer's own disks: a mapped file that stops answering cannot be read on from.
OriginalRead MapOriginal(const std::wstring& path, std::chrono::milliseconds moment,
                         const std::function<void(std::span<const std::uint8_t>)>& use);

}  // namespace tidewell
