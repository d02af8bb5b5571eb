#pragma once
// The check of an Office Open XML presentation (.pptx, .ppsx) from its bytes: a ZIP whose
// directory is whole, that holds the parts PowerPoint cannot open a deck without, and whose every
// entry unpacks to the size and CRC-32 its directory gives. A deck still being copied, or saved
// half, fails here instead of in front of the lobby with PowerPoint's "Repair?" dialog.
#include <cstdint>
#include <span>

#include "copies/presentation_finding.h"

namespace tidewell {

PresentationFinding CheckOoxmlPresentation(std::span<const std::uint8_t> file,
                                           CheckDeadline deadline = kNoDeadline);

}  // namespace tidewell
