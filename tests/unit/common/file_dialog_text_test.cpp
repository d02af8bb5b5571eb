#include "common/file_dialog_text.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

using namespace std::string_view_literals;
using Paths = std::vector<std::wstring>;

TEST(NativeFilter, StoredFilter_BarsBecomeNulsWithDoubleNulEnd) {
    EXPECT_EQ(NativeFilter(L"A|*.a|B|*.b;*.c"), L"A\0*.a\0B\0*.b;*.c\0\0"sv);
}

TEST(BareExtension, StoredForms_LeadingDotsAndStarsGo) {
    EXPECT_EQ(BareExtension(L".ppsv"), L"ppsv");
    EXPECT_EQ(BareExtension(L"*.tar.gz"), L"tar.gz");
    EXPECT_EQ(BareExtension(L"*."), L"");
}

TEST(ParseFileChoice, DialogResults_FullPathsInOrder) {
    const struct {
        std::wstring_view buffer;
        Paths paths;
    } cases[] = {
        {L"C:\\shows\\a.ppt\0\0\0"sv, {L"C:\\shows\\a.ppt"}},
        {L"C:\\shows\0a.ppt\0b c.pps\0\0\0"sv, {L"C:\\shows\\a.ppt", L"C:\\shows\\b c.pps"}},
        // A drive's root already ends with the separator.
        {L"D:\\\0x.pptx\0y.ppsx\0\0"sv, {L"D:\\x.pptx", L"D:\\y.ppsx"}},
        {L"\0\0\0"sv, {}},
        {L""sv, {}},
        // A buffer filled to its end has no closing NUL: nothing beyond it is read.
        {L"C:\\shows\\a.ppt"sv, {L"C:\\shows\\a.ppt"}},
        {L"C:\\shows\0a.ppt\0b.pps"sv, {L"C:\\shows\\a.ppt", L"C:\\shows\\b.pps"}},
        {L"C:\\shows\0a.ppt\0b.pps\0\0"sv.substr(0, 14), {L"C:\\shows\\a.ppt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.buffer)));
        EXPECT_EQ(ParseFileChoice(c.buffer), c.paths);
    }
}

}  // namespace
}  // namespace tidewell
