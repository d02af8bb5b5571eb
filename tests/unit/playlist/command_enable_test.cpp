#include "playlist/command_enable.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

struct EnableCase {
    const char* name;
    std::size_t count;
    int selected;
    CommandEnableState expected;
};

// Columns: remove, removeAll, moveUp, moveDown, saveSetting, playAll, playSelected.
const EnableCase kCases[] = {
    {"empty", 0, -1, {false, false, false, false, false, false, false}},
    {"one_unselected", 1, -1, {false, true, false, false, true, true, false}},
    {"one_selected", 1, 0, {true, true, false, false, true, true, true}},
    {"three_first", 3, 0, {true, true, false, true, true, true, true}},
    {"three_middle", 3, 1, {true, true, true, true, true, true, true}},
    {"three_last", 3, 2, {true, true, true, false, true, true, true}},
    {"three_unselected", 3, -1, {false, true, false, false, true, true, false}},
    {"two_last", 2, 1, {true, true, true, false, true, true, true}},
    {"selection_past_end", 2, 2, {false, true, false, false, true, true, false}},
    {"empty_with_stale_selection", 0, 0, {false, false, false, false, false, false, false}},
};

TEST(ComputeCommandEnable, TableOfSizesAndSelections_MatchesRule) {
    for (const EnableCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const CommandEnableState got = ComputeCommandEnable(c.count, c.selected);
        EXPECT_EQ(got.remove, c.expected.remove);
        EXPECT_EQ(got.removeAll, c.expected.removeAll);
        EXPECT_EQ(got.moveUp, c.expected.moveUp);
        EXPECT_EQ(got.moveDown, c.expected.moveDown);
        EXPECT_EQ(got.saveSetting, c.expected.saveSetting);
        EXPECT_EQ(got.playAll, c.expected.playAll);
        EXPECT_EQ(got.playSelected, c.expected.playSelected);
    }
}

TEST(ComputeCommandEnable, LargePlaylistMiddleSelected_EnablesEverything) {
    const CommandEnableState all{true, true, true, true, true, true, true};
    EXPECT_EQ(ComputeCommandEnable(100000, 49999), all);
}

}  // namespace
}  // namespace tidewell
