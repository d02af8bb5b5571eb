#include "common/file_dialog_text.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using Paths = std::vector<std::wstring>;

TEST(NativeFilter, StoredFilter_BarsBecomeNulsWithDoubleNulEnd) {
    EXPECT_EQ(NativeFilter(L"Setting file|*.ppsv"), L"Setting file\0*.ppsv\0\0"sv);
    EXPECT_EQ(NativeFilter(L"A|*.a|B|*.b;*.c"), L"A\0*.a\0B\0*.b;*.c\0\0"sv);
    EXPECT_EQ(NativeFilter(L""), L"\0\0"sv);
}

TEST(BareExtension, StoredForms_LeadingDotsAndStarsGo) {
    EXPECT_EQ(BareExtension(L".ppsv"), L"ppsv");
    EXPECT_EQ(BareExtension(L"*.exe"), L"exe");
    EXPECT_EQ(BareExtension(L"ppt"), L"ppt");
    EXPECT_EQ(BareExtension(L"tar.gz"), L"tar.gz");
    EXPECT_EQ(BareExtension(L"*."), L"");
    EXPECT_EQ(BareExtension(L""), L"");
}

TEST(ParseFileChoice, SingleChoice_OneFullPath) {
    EXPECT_EQ(ParseFileChoice(L"C:\\shows\\a.ppt\0\0\0\0"sv), (Paths{L"C:\\shows\\a.ppt"}));
}

TEST(ParseFileChoice, MultipleChoice_FolderJoinedToEveryName) {
    EXPECT_EQ(ParseFileChoice(L"C:\\shows\0a.ppt\0b c.pps\0\0\0"sv),
              (Paths{L"C:\\shows\\a.ppt", L"C:\\shows\\b c.pps"}));
    // A drive's root already ends with the separator.
    EXPECT_EQ(ParseFileChoice(L"D:\\\0x.pptx\0y.ppsx\0\0"sv),
              (Paths{L"D:\\x.pptx", L"D:\\y.ppsx"}));
}

TEST(ParseFileChoice, NothingChosen_NoPaths) {
    EXPECT_TRUE(ParseFileChoice(L"\0\0\0"sv).empty());
    EXPECT_TRUE(ParseFileChoice(L""sv).empty());
}

TEST(ParseFileChoice, BufferFilledToItsEnd_StopsAtTheEnd) {
    // No closing NULs: the parts end where the buffer ends, nothing beyond it is read.
    EXPECT_EQ(ParseFileChoice(L"C:\\shows\\a.ppt"sv), (Paths{L"C:\\shows\\a.ppt"}));
    EXPECT_EQ(ParseFileChoice(L"C:\\shows\0a.ppt\0b.pps"sv),
              (Paths{L"C:\\shows\\a.ppt", L"C:\\shows\\b.pps"}));
    const std::wstring longer = L"C:\\shows\0a.ppt\0b.pps\0\0"s;
    EXPECT_EQ(ParseFileChoice(std::wstring_view(longer).substr(0, 14)),
              (Paths{L"C:\\shows\\a.ppt"}));
}

}  // namespace
}  // namespace tidewell
