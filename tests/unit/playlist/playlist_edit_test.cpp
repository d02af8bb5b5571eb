#include "playlist/playlist_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tidewell {
namespace {

using Entries = std::vector<std::wstring>;

Entries Letters(const wchar_t* letters) {
    Entries entries;
    for (const wchar_t* p = letters; *p != 0; ++p) entries.emplace_back(1, *p);
    return entries;
}

TEST(RemoveSelectedEntry, FourthOfFive_SelectsThird) {
    Entries entries = Letters(L"ABCDE");
    EXPECT_EQ(RemoveSelectedEntry(entries, 3), 2);
    EXPECT_EQ(entries, Letters(L"ABCE"));
}

TEST(RemoveSelectedEntry, FirstOrOnlyOrNone_LeavesNoSelection) {
    Entries entries = Letters(L"ABC");
    EXPECT_EQ(RemoveSelectedEntry(entries, 0), -1);
    EXPECT_EQ(entries, Letters(L"BC"));

    Entries only = Letters(L"A");
    EXPECT_EQ(RemoveSelectedEntry(only, 0), -1);
    EXPECT_TRUE(only.empty());

    Entries untouched = Letters(L"AB");
    EXPECT_EQ(RemoveSelectedEntry(untouched, -1), -1);
    EXPECT_EQ(RemoveSelectedEntry(untouched, 2), -1);
    EXPECT_EQ(untouched, Letters(L"AB"));
}

TEST(RemoveSelectedEntry, DuplicatePaths_RemovedOneByOne) {
    Entries entries = {L"C:\\x.ppt", L"C:\\x.ppt"};
    EXPECT_EQ(RemoveSelectedEntry(entries, 1), 0);
    EXPECT_EQ(entries, (Entries{L"C:\\x.ppt"}));
    EXPECT_EQ(RemoveSelectedEntry(entries, 0), -1);
    EXPECT_TRUE(entries.empty());
}

TEST(MoveEntryUpDown, SequenceOfMoves_FollowsEntryAndSelection) {
    Entries entries = Letters(L"ABCD");
    EXPECT_EQ(MoveEntryUp(entries, 1), 0);  // B to the top
    EXPECT_EQ(entries, Letters(L"BACD"));
    EXPECT_EQ(MoveEntryDown(entries, 0), 1);
    EXPECT_EQ(MoveEntryDown(entries, 1), 2);
    EXPECT_EQ(MoveEntryDown(entries, 2), 3);
    EXPECT_EQ(entries, Letters(L"ACDB"));
}

TEST(MoveEntryUpDown, AtEdgeOrNoSelection_ChangesNothing) {
    Entries entries = Letters(L"ABC");
    EXPECT_FALSE(MoveEntryUp(entries, 0));
    EXPECT_FALSE(MoveEntryUp(entries, -1));
    EXPECT_FALSE(MoveEntryUp(entries, 3));
    EXPECT_FALSE(MoveEntryDown(entries, 2));
    EXPECT_FALSE(MoveEntryDown(entries, -1));
    EXPECT_FALSE(MoveEntryDown(entries, 5));
    EXPECT_EQ(entries, Letters(L"ABC"));

    Entries single = Letters(L"A");
    EXPECT_FALSE(MoveEntryUp(single, 0));
    EXPECT_FALSE(MoveEntryDown(single, 0));
}

TEST(MoveEntryUpDown, NonAnsiPaths_KeepEveryCharacter) {
    const std::wstring cyrillic = L"C:\\\x041F\x0440\x0435\x0437\\\x0434\x043E\x043A.pptx";
    const std::wstring chinese = L"D:\\\x6F14\x793A\\\x6587\x7A3F.ppt";
    Entries entries = {cyrillic, chinese};
    EXPECT_EQ(MoveEntryUp(entries, 1), 0);
    EXPECT_EQ(entries, (Entries{chinese, cyrillic}));
    EXPECT_EQ(MoveEntryDown(entries, 0), 1);
    EXPECT_EQ(entries, (Entries{cyrillic, chinese}));
}

struct DragCase {
    const char* name;
    int dragged;
    int target;
    const wchar_t* expectedOrder;
    std::optional<int> expectedSelection;
};

const DragCase kDragCases[] = {
    {"B_onto_E", 1, 4, L"ACDBE", 3},
    {"D_onto_B", 3, 1, L"ADBCE", 1},
    {"B_onto_C_directly_below", 1, 2, L"ABCDE", 1},
    {"B_below_E", 1, -1, L"ACDEB", 4},
    {"B_onto_itself", 1, 1, L"ABCDE", std::nullopt},
    {"E_below_E", 4, -1, L"ABCDE", 4},
    {"E_onto_A", 4, 0, L"EABCD", 0},
    {"A_onto_E", 0, 4, L"BCDAE", 3},
    {"A_past_end_index", 0, 9, L"BCDEA", 4},
    {"nothing_dragged", -1, 2, L"ABCDE", std::nullopt},
};

TEST(DragMoveEntry, ExamplesOnFiveRows_InsertBeforeTargetOrAtEnd) {
    for (const DragCase& c : kDragCases) {
        SCOPED_TRACE(c.name);
        Entries entries = Letters(L"ABCDE");
        EXPECT_EQ(DragMoveEntry(entries, c.dragged, c.target), c.expectedSelection);
        EXPECT_EQ(entries, Letters(c.expectedOrder));
    }
}

TEST(DragMoveEntry, DuplicateEntries_MovesOnlyTheDraggedCopy) {
    Entries entries = {L"x", L"y", L"x"};
    EXPECT_EQ(DragMoveEntry(entries, 2, 0), 0);
    EXPECT_EQ(entries, (Entries{L"x", L"x", L"y"}));
}

}  // namespace
}  // namespace tidewell
