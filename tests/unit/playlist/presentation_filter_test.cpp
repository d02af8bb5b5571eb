#include "playlist/presentation_filter.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

const std::wstring kUpperFilter = L"MS POWERPOINT PRESENTATION FILES|*.PPT;*.PPS;*.PPTX;*.PPSX";

TEST(ExtensionOf, VariousPaths_TakesFromLastDotUnlessPathGoesOn) {
    struct Case {
        const wchar_t* path;
        const wchar_t* extension;
    } const cases[] = {
        {L"C:\\a\\b.ppt", L".ppt"}, {L"C:\\a\\b.tar.PPTX", L".PPTX"},
        {L"C:\\a\\b.", L"."},       {L"C:\\a\\noext", L""},
        {L"C:\\dir.d\\noext", L""}, {L"C:\\dir.d\\", L""},
        {L"C:.x:stream", L""},      {L"C:\\a\\b.ppt;", L".ppt;"},
        {L".pps", L".pps"},         {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.path)));
        EXPECT_EQ(ExtensionOf(c.path), c.extension);
    }
}

TEST(UpperAsciiLetters, MixedText_UpperCasesOnlyAToZ) {
    EXPECT_EQ(UpperAsciiLetters(L"ab.Pptx;z~$"), L"AB.PPTX;Z~$");
    // Letters outside a-z (e acute, Greek alpha) stay as they are.
    EXPECT_EQ(UpperAsciiLetters(L"\x00E9\x03B1q"), L"\x00E9\x03B1Q");
}

TEST(ExtensionMatchesFilter, PresentationFilter_AcceptsPatternsAndTheirPrefixes) {
    for (const wchar_t* path : {L"a.ppt", L"b.PPTX", L"c.pps", L"d.ppsx", L"e.pp", L"f.p", L"g.",
                                L"h.ppt;", L"i.pps;", L"j.pptx;", L"k.PpSx"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(path)));
        EXPECT_TRUE(ExtensionMatchesFilter(UpperAsciiLetters(ExtensionOf(path)), kUpperFilter));
    }
}

TEST(ExtensionMatchesFilter, PresentationFilter_RefusesOtherExtensions) {
    for (const wchar_t* path : {L"a.pptm", L"b.ppsm", L"c.pot", L"d.potx", L"e.pdf", L"noext",
                                L"g.ppsx;", L"h.ppt.bak", L"dir.ppt\\file"}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(path)));
        EXPECT_FALSE(ExtensionMatchesFilter(UpperAsciiLetters(ExtensionOf(path)), kUpperFilter));
    }
}

TEST(ExtensionMatchesFilter, LowerCaseExtensionAgainstUpperFilter_IsRefused) {
    // The comparison itself is case-sensitive: callers must upper-case both sides.
    EXPECT_FALSE(ExtensionMatchesFilter(L".ppt", kUpperFilter));
    EXPECT_TRUE(ExtensionMatchesFilter(L".PPT", kUpperFilter));
}

TEST(ContainsLockFileMark, PathsWithAndWithoutMark_DetectedAnywhere) {
    EXPECT_TRUE(ContainsLockFileMark(L"C:\\d\\~$deck.pptx"));
    EXPECT_TRUE(ContainsLockFileMark(L"C:\\a~$b\\deck.ppt"));
    EXPECT_TRUE(ContainsLockFileMark(L"deck.ppt~$"));
    EXPECT_FALSE(ContainsLockFileMark(L"C:\\d\\~deck$.pptx"));
    EXPECT_FALSE(ContainsLockFileMark(L"C:\\d\\$~deck.pptx"));
    EXPECT_FALSE(ContainsLockFileMark(L""));
}

TEST(WithoutTrailingBackslash, RootAndFolders_DropsExactlyOneBackslash) {
    EXPECT_EQ(WithoutTrailingBackslash(L"C:\\"), L"C:");
    EXPECT_EQ(WithoutTrailingBackslash(L"C:\\Decks"), L"C:\\Decks");
    EXPECT_EQ(WithoutTrailingBackslash(L"\\\\server\\share\\\\"), L"\\\\server\\share\\");
    EXPECT_EQ(WithoutTrailingBackslash(L""), L"");
}

}  // namespace
}  // namespace tidewell
