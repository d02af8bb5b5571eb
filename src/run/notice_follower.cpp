#include "run/notice_follower.h"

#include <utility>

namespace tidewell {

bool NoticeFollower::Begin(std::uint64_t now) {
    if (underway_) return false;
    underway_ = looked_ = true;
    lookedAt_ = now;
    return true;
}

bool NoticeFollower::Noticed(std::uint64_t now) {
    if (Begin(now)) return true;
    again_ = true;
    return false;
}

bool NoticeFollower::TimeToLook(std::uint64_t now) {
    if (watching_ && looked_ && now - lookedAt_ < fallbackMs_) return false;
    return Begin(now);
}

bool NoticeFollower::Answered(std::uint64_t now) {
    underway_ = false;
    return std::exchange(again_, false) && Begin(now);
}

}  // namespace tidewell
