#include "playlist/type_ahead.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// ASCII case folding stands in for the system's rule: which letters fold is the system's business;
// where the search starts, wraps and stops is what is tested here.
bool SameAsciiIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

TEST(FindTypeAheadRow, Queries_FirstMatchFromStartWrappingOnlyWhenAsked) {
    const std::vector<std::wstring> rows = {L"C:\\b.ppt", L"D:\\a.ppt", L"c:\\c.pps", L"D:\\a.ppt"};
    const struct {
        const wchar_t* typed;
        int start;
        bool partial, wrap;
        int row;
    } cases[] = {
        {L"c", 0, true, false, 0},
        {L"c", 1, true, false, 2},
        {L"C:\\C", 0, true, false, 2},
        {L"d:\\a", 2, true, false, 3},
        {L"x", 0, true, true, -1},
        {L"", 0, true, true, -1},
        // Whole text: only an equal row.
        {L"D:\\A.PPT", 0, false, false, 1},
        {L"D:\\a", 0, false, true, -1},
        {L"D:\\a.ppt and more", 0, true, true, -1},
        // Past the last row; the wrapped search ends just before where it started.
        {L"C:\\b", 1, true, false, -1},
        {L"C:\\b", 1, true, true, 0},
        {L"C:\\c", 3, true, true, 2},
        // A start outside the rows means the first row.
        {L"D", -1, true, false, 1},
        {L"C", 99, true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.typed)) + " from " +
                     std::to_string(c.start));
        EXPECT_EQ(
            FindTypeAheadRow(rows, {c.typed, c.start, c.partial, c.wrap}, SameAsciiIgnoringCase),
            c.row);
    }
    EXPECT_EQ(
        FindTypeAheadRow(std::vector<std::wstring>{}, {L"C", 0, true, true}, SameAsciiIgnoringCase),
        -1);
}

}  // namespace
}  // namespace tidewell
