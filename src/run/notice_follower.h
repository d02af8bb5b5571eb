#pragma once
// When the run looks at the announcement file: at once when its folder sends a notice of a change
// (a file server passes these on), and otherwise only now and then, as a fallback for servers that
// send none or a notice lost on the way. While the folder cannot be watched (a share away, no
// notices at all) it is looked at often, as before there were notices. One look at a time: a
// notice that comes while a look is under way is followed by one more look once it has answered.
// Between looks, what the file held is judged again by the clock (its hours, its dates) as often
// as before, without asking the share.
#include <cstdint>

namespace tidewell {

class NoticeFollower {
  public:
    NoticeFollower(unsigned quickMs, unsigned fallbackMs)
        : quickMs_(quickMs), fallbackMs_(fallbackMs) {}

    // The folder's notices come from now on (true), or no longer can (false).
    void Watching(bool watching) { watching_ = watching; }
    bool IsWatching() const { return watching_; }
    // How often the announcement is judged again, and its file maybe looked at.
    unsigned Interval() const { return quickMs_; }

    // Each returns true when a look at the file is to begin now (`now`: a steady clock, in ms).
    bool Noticed(std::uint64_t now);
    bool TimeToLook(std::uint64_t now);
    bool Answered(std::uint64_t now);

  private:
    bool Begin(std::uint64_t now);

    unsigned quickMs_;
    unsigned fallbackMs_;
    bool watching_ = false;
    bool underway_ = false;
    bool again_ = false;
    bool looked_ = false;
    std::uint64_t lookedAt_ = 0;
};

}  // namespace tidewell
