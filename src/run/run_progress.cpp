#include "run/run_progress.h"

#include <utility>

#include "launch/switch_set.h"

namespace tidewell {

std::optional<std::size_t> RunProgress::NextEntry() {
    newPass_ = false;
    if (stopped_ || count_ == 0) return std::nullopt;
    if (!started_) {
        started_ = true;
        return current_ = 0;
    }
    if (current_ + 1 < count_) return ++current_;
    if (!loop_ || (dueInPass_ && !startedInPass_)) return std::nullopt;
    startedInPass_ = false;
    dueInPass_ = false;
    newPass_ = true;
    return current_ = 0;
}

unsigned PassPacing::RestBeforeNextPass() {
    if (std::exchange(lasted_, false)) {
        nextRestMs_ = firstRestMs_;
        return 0;
    }
    const unsigned rest = nextRestMs_;
    nextRestMs_ = rest >= longestRestMs_ / 2 ? longestRestMs_ : rest * 2;
    return rest;
}

std::wstring RunTip(std::size_t position, std::size_t count, std::wstring_view presentationPath,
                    std::size_t maxLength) {
    std::wstring tip = L"Tidewell: playing " + std::to_wstring(position) + L" of " +
                       std::to_wstring(count) + L"\n" +
                       std::wstring(FileNamePart(presentationPath));
    constexpr std::wstring_view kEllipsis = L"...";
    if (tip.size() <= maxLength) return tip;
    std::size_t cut = maxLength - kEllipsis.size();
    // Never half a surrogate pair: the shell would show a stray box in its place.
    if (tip[cut - 1] >= 0xD800 && tip[cut - 1] <= 0xDBFF) --cut;
    return tip.substr(0, cut) + std::wstring(kEllipsis);
}

}  // namespace tidewell
