#pragma once
// What the check of a presentation found, and the words the play log, the status file and the
// overview card use for it.
#include <chrono>
#include <string>

namespace tidewell {

// When a check gives up. A file made to keep its check busy must not keep a screen black: the
// check of a show's deck ends with the show's own time-out.
using CheckDeadline = std::chrono::steady_clock::time_point;
inline constexpr CheckDeadline kNoDeadline = CheckDeadline::max();

enum class Soundness {
    Whole,
    NotWhole,       // cut short, damaged, or not a presentation at all
    NeedsPassword,  // PowerPoint would ask for a password
    NotReadyYet,    // empty or still being written: look again later
};

struct PresentationFinding {
    Soundness soundness = Soundness::Whole;
    std::wstring detail;  // what is wrong, for NotWhole and NotReadyYet

    bool IsWhole() const { return soundness == Soundness::Whole; }
};

PresentationFinding NotWhole(std::wstring detail);
// What a check that ran past its deadline found.
PresentationFinding CheckTookTooLong();

// "not a whole presentation: slide3.xml is cut short", "needs a password", ...; empty when whole.
std::wstring FindingText(const PresentationFinding& finding);

}  // namespace tidewell
