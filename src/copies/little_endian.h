#pragma once
// Little-endian fields of the file formats a presentation comes in, read at an offset that the
// caller has already found inside the bytes.
#include <cstddef>
#include <cstdint>
#include <span>

namespace tidewell {

inline std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
    return ReadU16(b, at) | (static_cast<std::uint32_t>(ReadU16(b, at + 2)) << 16);
}
inline std::uint64_t ReadU64(std::span<const std::uint8_t> b, std::size_t at) {
    return ReadU32(b, at) | (static_cast<std::uint64_t>(ReadU32(b, at + 4)) << 32);
}

}  // namespace tidewell
