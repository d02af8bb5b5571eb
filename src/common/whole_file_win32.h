#pragma once
// A file that others read while it is being rewritten (a status file or a picture on a share):
// the new content is written beside it under a name of its own and then moved over it in one
// step, so that a reader sees the old file or the new one, never half of one.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

// False when the file could not be replaced; the old one is then left as it was and the
// temporary file removed. Never throws. `flush`: the new content reaches the disk before the
// move, so that a power cut right after cannot leave the name on a file of zeros (for a file that
// is trusted once written, as a copy's note is).
bool ReplaceWholeFile(const std::wstring& target, std::string_view bytes,
                      bool flush = false) noexcept;

// Up to `limit` bytes from the start of a small file, in one read; none when it cannot be opened
// or read. It is opened sharing read, write and delete, so that the writer's move of a new
// version over it never fails while it is read.
std::optional<std::string> ReadSmallFile(const std::wstring& path, std::size_t limit);

}  // namespace tidewell
