#pragma once
// How the reports read a folder that other computers write meanwhile: the screens replace their
// status files, append to their logs and rotate them while the page or the report is made. A file
// is opened once and read from that one opening to its end, so that a file replaced in between
// gives its old content whole, never a mix; and what could not be listed or read is said, never
// taken as empty.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tidewell {

struct FoundFile {
    std::filesystem::path path;
    long long writtenUtcSeconds = 0;  // the last write, by the clock of the computer holding it
};

class ReadableFile {
  public:
    virtual ~ReadableFile() = default;
    // Up to `size` bytes into `into`: how many (0 at the end); none when the read failed.
    virtual std::optional<std::size_t> Read(char* into, std::size_t size) = 0;
};

struct ReportFiles {
    // Calls `take` with each plain file of `folder`; false when the folder could not be listed
    // whole (it cannot be read, or the listing failed part-way).
    std::function<bool(const std::filesystem::path& folder,
                       const std::function<void(const FoundFile&)>& take)>
        list;
    // The file opened for reading; null when it cannot be opened.
    std::function<std::unique_ptr<ReadableFile>(const std::filesystem::path&)> open;
};

// The standard library's listing and streams (what the portable tests read with).
ReportFiles StandardReportFiles();

// The whole content of an opened file, read to its end; none when a read failed or the file holds
// more than `limit` bytes.
std::optional<std::string> ReadWhole(ReadableFile& file, std::size_t limit);

}  // namespace tidewell
