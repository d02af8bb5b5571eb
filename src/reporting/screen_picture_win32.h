#pragma once
// A picture of what the visitors see: the monitor's rectangle of the screen as a PNG, made small
// enough to send over a share every few minutes. Encoded by the Windows Imaging Component, which
// every Windows has.
#include <windows.h>

#include <string>

namespace tidewell {

inline constexpr int kLargestPictureWidth = 960;

// The PNG file's bytes of `bounds` (screen coordinates), scaled to at most kLargestPictureWidth
// pixels wide with its aspect kept; empty when it could not be taken. Needs COM on the thread.
std::string ScreenPicturePng(const RECT& bounds) noexcept;

}  // namespace tidewell
