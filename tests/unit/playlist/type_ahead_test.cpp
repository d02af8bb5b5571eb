#include "playlist/type_ahead.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// ASCII case folding stands in for the system's rule here; which letters fold is the system's
// business, where the search starts, wraps and stops is what these tests are about.
bool SameAsciiIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

const std::vector<std::wstring> kRows = {L"C:\\b.ppt", L"D:\\a.ppt", L"c:\\c.pps", L"D:\\a.ppt"};

int Find(std::wstring_view typed, int start, bool partial, bool wrap,
         const std::vector<std::wstring>& rows = kRows) {
    return FindTypeAheadRow(rows, {typed, start, partial, wrap}, SameAsciiIgnoringCase);
}

TEST(FindTypeAheadRow, PartialText_FirstRowFromStartThatBeginsWithIt) {
    EXPECT_EQ(Find(L"c", 0, true, false), 0);
    EXPECT_EQ(Find(L"c", 1, true, false), 2);
    EXPECT_EQ(Find(L"C:\\C", 0, true, false), 2);  // case ignored
    EXPECT_EQ(Find(L"d:\\a", 2, true, false), 3);
    EXPECT_EQ(Find(L"x", 0, true, true), -1);
}

TEST(FindTypeAheadRow, WholeText_OnlyAnEqualRowMatches) {
    EXPECT_EQ(Find(L"D:\\A.PPT", 0, false, false), 1);
    EXPECT_EQ(Find(L"D:\\a", 0, false, true), -1);
    // Longer than every row.
    EXPECT_EQ(Find(L"D:\\a.ppt and more", 0, true, true), -1);
}

TEST(FindTypeAheadRow, PastTheLastRow_WrapsOnlyWhenAsked) {
    EXPECT_EQ(Find(L"C:\\b", 1, true, false), -1);
    EXPECT_EQ(Find(L"C:\\b", 1, true, true), 0);
    EXPECT_EQ(Find(L"C:", 3, true, true), 0);
    EXPECT_EQ(Find(L"D:", 2, true, true), 3);
    // The wrapped search ends just before where it started.
    EXPECT_EQ(Find(L"C:\\c", 3, true, true), 2);
}

TEST(FindTypeAheadRow, StartOutsideTheRows_SearchesFromTheFirst) {
    EXPECT_EQ(Find(L"D", -1, true, false), 1);
    EXPECT_EQ(Find(L"C", 4, true, false), 0);
    EXPECT_EQ(Find(L"C", 99, true, true), 0);
}

TEST(FindTypeAheadRow, NothingTypedOrNoRows_NoRow) {
    EXPECT_EQ(Find(L"", 0, true, true), -1);
    EXPECT_EQ(Find(L"C", 0, true, true, {}), -1);
}

}  // namespace
}  // namespace tidewell
