#include "copies/presentation_finding.h"

namespace tidewell {

PresentationFinding NotWhole(std::wstring detail) {
    return {Soundness::NotWhole, std::move(detail)};
}

PresentationFinding CheckTookTooLong() {
    return NotWhole(L"it takes too long to check");
}

std::wstring FindingText(const PresentationFinding& finding) {
    switch (finding.soundness) {
        case Soundness::Whole:
            return {};
        case Soundness::NotWhole:
            return L"not a whole presentation: " + finding.detail;
        case Soundness::NeedsPassword:
            return L"needs a password";
        case Soundness::NotReadyYet:
            return finding.detail;
    }
    return {};
}

}  // namespace tidewell
