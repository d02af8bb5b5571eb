#pragma once
// The check of a presentation's bytes as PowerPoint would take them: a ZIP deck by its directory
// and entries, a binary deck by its compound file and streams, either one for a password.
#include <cstdint>
#include <span>
#include <string>

#include "copies/presentation_finding.h"

namespace tidewell {

PresentationFinding CheckPresentationBytes(std::span<const std::uint8_t> bytes,
                                           CheckDeadline deadline = kNoDeadline);

}  // namespace tidewell
