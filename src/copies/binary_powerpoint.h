#pragma once
// What the streams of a binary PowerPoint file (.ppt, .pps) say about a password. The file is a
// compound file; reading its streams is the platform's job, judging their bytes is this one's.
#include <cstdint>
#include <optional>
#include <span>

namespace tidewell {

// The bytes a password check needs from the "Current User" stream: where the newest edit record
// lies in the "PowerPoint Document" stream, and whether the stream itself says "encrypted".
struct CurrentUser {
    std::uint32_t editOffset = 0;
    bool saysEncrypted = false;
};
std::optional<CurrentUser> ReadCurrentUser(std::span<const std::uint8_t> stream);

// How many bytes of the "PowerPoint Document" stream, at the edit offset, the check reads.
inline constexpr std::size_t kEditRecordHeaderSize = 8;

// True when the edit record's header (the first bytes at the edit offset) is of the longer form
// that points at the encryption record. Not every writer sets the Current User's token, but every
// encrypted file has this reference.
bool EditRecordPointsAtEncryption(std::span<const std::uint8_t> header);

}  // namespace tidewell
