#include "playlist/path_compaction.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// One unit per UTF-16 code unit, the ellipsis included: the cuts are what is tested, not a font.
int CodeUnits(std::wstring_view text) {
    return static_cast<int>(text.size());
}

TEST(CompactPath, Widths_KeepTheStartAndTheFileNameLeavingOutFoldersFromTheMiddle) {
    const std::wstring demo = L"C:\\users\\Public\\Documents\\Tidewell demo\\Welcome.pptx";
    const struct {
        const wchar_t* path;
        int width;
        const wchar_t* shown;
    } cases[] = {
        {demo.c_str(), 52, demo.c_str()},
        {demo.c_str(), 51, L"C:\\users\\Public\\Documents\\\u2026\\Welcome.pptx"},
        {demo.c_str(), 30, L"C:\\users\\Public\\\u2026\\Welcome.pptx"},
        {demo.c_str(), 24, L"C:\\users\\\u2026\\Welcome.pptx"},
        {demo.c_str(), 18, L"C:\\\u2026\\Welcome.pptx"},
        {demo.c_str(), 14, L"\u2026\\Welcome.pptx"},
        {demo.c_str(), 13, L"Welcome.pptx"},
        {demo.c_str(), 11, L"Welcome.pp\u2026"},
        {demo.c_str(), 3, L"We\u2026"},
        {demo.c_str(), 0, L"\u2026"},
        // A server's name stays with its share's path.
        {L"\\\\lobby\\shows\\2026\\Welcome.pptx", 23, L"\\\\lobby\\\u2026\\Welcome.pptx"},
        {L"\\\\lobby\\shows\\2026\\Welcome.pptx", 21, L"\u2026\\Welcome.pptx"},
        // Forward slashes separate as well; a name without any is shortened at its end.
        {L"C:/a/bb/cc/x.ppt", 15, L"C:/a/bb/\u2026/x.ppt"},
        {L"Welcome.pptx", 6, L"Welco\u2026"},
        {L"C:\\Welcome.pptx", 14, L"\u2026\\Welcome.pptx"},
        // A character outside the basic plane is never cut in half.
        {L"\xD83C\xDF0A\xD83C\xDF0A.ppt", 3, L"\xD83C\xDF0A\u2026"},
        {L"\xD83C\xDF0A\xD83C\xDF0A.ppt", 2, L"\u2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width);
        const std::wstring shown = CompactPath(c.path, c.width, CodeUnits);
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(CodeUnits(shown) <= c.width || shown == L"\u2026");
    }
}

// A path as long as Windows allows, kept for a drive that does not answer, is drawn on every paint:
// what is measured must grow with the path's length, not with its square, for long folder names
// and for a long file name alike.
TEST(CompactPath, LongestPaths_MeasureWorkLinearInTheLength) {
    std::wstring folders = L"C:";
    while (folders.size() < 32'000) folders += L"\\f";
    const std::wstring name = L"\\" + std::wstring(32'000, L'n') + L".pptx";
    for (const std::wstring& path :
         {folders + L"\\Welcome.pptx", L"C:\\a" + name, folders + name}) {
        std::size_t measured = 0;
        const std::wstring shown = CompactPath(path, 400, [&](std::wstring_view text) {
            measured += text.size();
            return CodeUnits(text);
        });
        EXPECT_LE(CodeUnits(shown), 400);
        EXPECT_LE(measured, 4 * path.size()) << path.size();
    }
}

}  // namespace
}  // namespace tidewell
