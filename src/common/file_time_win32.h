#pragma once
// A FILETIME (100 ns since 1601, UTC) as the one number it is, and back: copies' notes, the play
// log and the tests count with the number, the system takes and gives the structure.
#include <windows.h>

#include <cstdint>

namespace tidewell {

inline std::uint64_t FileTimeValue(const FILETIME& time) noexcept {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME FileTimeOf(std::uint64_t value) noexcept {
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

inline std::uint64_t FileTimeNow() noexcept {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return FileTimeValue(now);
}

}  // namespace tidewell
