#pragma once
// What a presentation's ZIP directory may not do, found before anything is unpacked, so that a
// file made to keep the check busy is refused at once: name one part twice (a presentation's
// parts are unique, whatever their letter case), let the bytes of two entries overlap, or promise
// to unpack to far more than a file of its size holds.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "copies/presentation_finding.h"
#include "copies/zip_directory.h"

namespace tidewell {

// The most the check unpacks from a file of `fileSize` bytes: a ratio of its size, as ZIP readers
// that take files from anyone bound it, with a floor so that a small deck of plain text passes.
// Office's XML packs to a tenth of its size or so; its pictures and media hardly pack at all.
inline constexpr std::uint64_t kUnpackRatio = 100;
inline constexpr std::uint64_t kUnpackRatioFloor = 1 << 20;
std::uint64_t UnpackBudget(std::uint64_t fileSize);

std::optional<PresentationFinding> ZipLayoutFault(std::span<const std::uint8_t> file,
                                                  const std::vector<ZipEntry>& entries);

}  // namespace tidewell
