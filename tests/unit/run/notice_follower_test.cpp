#include "run/notice_follower.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// A notice is looked at at once, one look at a time, with one more look for a notice that came
// meanwhile; without notices the file is looked at once a minute (a notice may be lost on the
// way), and every few seconds while the folder cannot be watched.
TEST(NoticeFollower, LooksOnNoticeOneAtATimeAndByTheClockAsAFallback) {
    NoticeFollower follower(3'000, 60'000);
    EXPECT_TRUE(follower.TimeToLook(0)) << "the start's look";
    EXPECT_FALSE(follower.TimeToLook(3'000)) << "one look at a time";
    EXPECT_FALSE(follower.Answered(3'000));
    EXPECT_TRUE(follower.TimeToLook(3'000)) << "not watched: looked at every few seconds";
    follower.Answered(3'500);
    follower.Watching(true);

    EXPECT_FALSE(follower.TimeToLook(6'000)) << "watched: no notice, no look";
    EXPECT_TRUE(follower.Noticed(7'000));
    EXPECT_FALSE(follower.Noticed(7'100));
    EXPECT_TRUE(follower.Answered(7'500)) << "the notice that came meanwhile is looked at";
    EXPECT_FALSE(follower.Answered(8'000)) << "and no more after it";
    EXPECT_FALSE(follower.TimeToLook(67'400));
    EXPECT_TRUE(follower.TimeToLook(67'500)) << "a notice lost: the minute's look finds it";
    follower.Answered(68'000);
    follower.Watching(false);
    EXPECT_TRUE(follower.TimeToLook(70'000)) << "the folder cannot be watched any more";
}

}  // namespace
}  // namespace tidewell
