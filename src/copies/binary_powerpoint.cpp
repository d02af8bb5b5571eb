#include "copies/binary_powerpoint.h"

#include "copies/little_endian.h"

namespace tidewell {
namespace {

constexpr std::uint16_t kCurrentUserAtom = 0x0FF6;
constexpr std::uint16_t kUserEditAtom = 0x0FF5;
constexpr std::uint32_t kEncryptedToken = 0xF3D1C4DF;
// The edit record's length without and with the reference to the encryption record.
constexpr std::uint32_t kEditWithEncryption = 0x20;

std::uint16_t RecordType(std::span<const std::uint8_t> b) {
    return ReadU16(b, 2);
}

}  // namespace

std::optional<CurrentUser> ReadCurrentUser(std::span<const std::uint8_t> stream) {
    // Header (8), fixed length (4), token (4), edit offset (4).
    if (stream.size() < 20 || RecordType(stream) != kCurrentUserAtom) return std::nullopt;
    return CurrentUser{ReadU32(stream, 16), ReadU32(stream, 12) == kEncryptedToken};
}

bool EditRecordPointsAtEncryption(std::span<const std::uint8_t> header) {
    return header.size() >= kEditRecordHeaderSize && RecordType(header) == kUserEditAtom &&
           ReadU32(header, 4) >= kEditWithEncryption;
}

}  // namespace tidewell
