#include "run/errand_slots.h"

#include <algorithm>
#include <utility>

namespace tidewell {

bool ErrandSlots::Ask(std::uint64_t id) {
    if (underway_.size() < limit_) {
        underway_.push_back(id);
        return true;
    }
    waiting_ = id;
    return false;
}

std::optional<std::uint64_t> ErrandSlots::Done(std::uint64_t id) {
    const auto found = std::ranges::find(underway_, id);
    if (found == underway_.end()) return std::nullopt;
    underway_.erase(found);
    const std::optional<std::uint64_t> next = std::exchange(waiting_, std::nullopt);
    if (next) underway_.push_back(*next);
    return next;
}

}  // namespace tidewell
