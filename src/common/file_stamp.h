#pragma once
// What tells one version of a file from another without reading it: its size and last-write time.
#include <cstdint>

namespace tidewell {

struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // FILETIME, UTC
    bool operator==(const FileStamp&) const = default;
};

}  // namespace tidewell
