#include "run/errand_slots.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// Two starts a share holds: a third waits, and only the latest of those that wait begins when
// one of the two answers; an answer of something never underway frees nothing.
TEST(ErrandSlots, BeyondTheLimit_OnlyTheLatestWaitsAndBeginsWhenASlotFrees) {
    ErrandSlots starts(2);
    EXPECT_TRUE(starts.Ask(1));
    EXPECT_TRUE(starts.Ask(2));
    EXPECT_FALSE(starts.Ask(3));
    EXPECT_FALSE(starts.Ask(4));
    EXPECT_EQ(starts.Done(99), std::nullopt);
    EXPECT_EQ(starts.Done(1), 4u);
    EXPECT_EQ(starts.Underway(), 2u);
    EXPECT_EQ(starts.Done(2), std::nullopt);
    EXPECT_TRUE(starts.Ask(5));
    EXPECT_FALSE(starts.Ask(6));
}

}  // namespace
}  // namespace tidewell
