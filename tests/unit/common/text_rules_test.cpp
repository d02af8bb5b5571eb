#include "common/text_rules.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "common/app_error.h"
#include "common/error_text.h"

namespace tidewell {
namespace {

using Lines = std::vector<std::wstring>;

TEST(Trim, BlanksAndControlCharacters_RemovedAtBothEndsOnly) {
    EXPECT_EQ(Trim(L" \t\r\n a b \x01\x1f "), L"a b");
    EXPECT_EQ(Trim(L"\x20\x21"), L"\x21");  // U+0021 is the first character kept
    EXPECT_EQ(Trim(L" \t "), L"");
    EXPECT_EQ(Trim(L""), L"");
    // A no-break space and U+3000 are above U+0020 and stay.
    EXPECT_EQ(Trim(L"\u00a0x\u3000"), L"\u00a0x\u3000");
}

struct LinesCase {
    const wchar_t* name;
    std::wstring text;
    Lines lines;
};

class TextToLinesCases : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextToLinesCases, Text_SplitsAsTheLineRuleSays) {
    EXPECT_EQ(TextToLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineRule, TextToLinesCases,
    ::testing::Values(
        LinesCase{L"crlf", L"a\r\nb\r\n", {L"a", L"b"}},
        LinesCase{L"final break gives no empty line", L"a\n", {L"a"}},
        LinesCase{L"no final break", L"a\rb", {L"a", L"b"}},
        LinesCase{L"lone lf", L"a\nb", {L"a", L"b"}},
        LinesCase{L"cr cr gives an empty line", L"a\r\rb", {L"a", L"", L"b"}},
        LinesCase{L"lf cr gives an empty line", L"a\n\rb", {L"a", L"", L"b"}},
        LinesCase{L"line separator", L"a\u2028b", {L"a", L"b"}},
        LinesCase{L"cr lf ls is one break", L"a\r\n\u2028b", {L"a", L"b"}},
        LinesCase{L"nul ends the text", std::wstring(L"a\nb\0c\nd", 7), {L"a", L"b"}},
        LinesCase{L"leading break gives an empty first line", L"\r\na", {L"", L"a"}},
        LinesCase{L"empty", L"", {}}));

TEST(LinesToText, EveryLineEndsWithCrLf_RoundTripsThroughTextToLines) {
    const Lines lines = {L"2", L"C:\\p.exe", L"\u0416\u4e2d.ppt"};
    EXPECT_EQ(LinesToText(lines), L"2\r\nC:\\p.exe\r\n\u0416\u4e2d.ppt\r\n");
    EXPECT_EQ(TextToLines(LinesToText(lines)), lines);
    EXPECT_EQ(LinesToText({}), L"");
}

struct ParseCase {
    std::wstring text;
    int expected;
};

class ParseIntCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntCases, Text_ParsesOrGivesTheFallback) {
    EXPECT_EQ(ParseIntOrDefault(GetParam().text, 1), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    IntegerParse, ParseIntCases,
    ::testing::Values(ParseCase{L"2", 2}, ParseCase{L" 2", 2}, ParseCase{L"+5", 5},
                      ParseCase{L"-2", -2}, ParseCase{L"0", 0}, ParseCase{L"$1F", 31},
                      ParseCase{L"0x10", 16}, ParseCase{L"0X10", 16}, ParseCase{L"x1a", 26},
                      ParseCase{L"-$10", -16}, ParseCase{L"2147483647", 2147483647},
                      ParseCase{L"-2147483648", -2147483647 - 1},
                      // Everything below gives the fallback 1.
                      ParseCase{L"2 ", 1}, ParseCase{L"abc", 1}, ParseCase{L"", 1},
                      ParseCase{L"   ", 1}, ParseCase{L"2147483648", 1},
                      ParseCase{L"-2147483649", 1}, ParseCase{L"99999999999999999999", 1},
                      ParseCase{L"$", 1}, ParseCase{L"0x", 1}, ParseCase{L"-", 1},
                      ParseCase{L"1.5", 1}, ParseCase{L"\t2", 1}, ParseCase{L"$G", 1},
                      ParseCase{L"12a", 1}, ParseCase{L"+-1", 1}));

TEST(ErrorBoxText, MessageEndingAfterDot_GetsAFinalDot) {
    EXPECT_EQ(ErrorBoxText(L"Stream write error"), L"Stream write error.");
    EXPECT_EQ(ErrorBoxText(L"version 2"), L"version 2.");
    // "." itself and everything that sorts before it are left alone.
    EXPECT_EQ(ErrorBoxText(L"Done."), L"Done.");
    EXPECT_EQ(ErrorBoxText(L"Stop!"), L"Stop!");
    EXPECT_EQ(ErrorBoxText(L"a -"), L"a -");
    EXPECT_EQ(ErrorBoxText(L"Failed to get data for 'files'"), L"Failed to get data for 'files'");
    EXPECT_EQ(ErrorBoxText(L""), L"");
}

TEST(UserErrorText, ProgramsOwnError_ItsMessage) {
    EXPECT_EQ(UserErrorText(std::make_exception_ptr(AppError(L"Cannot open file \"x\". Gone."))),
              L"Cannot open file \"x\". Gone.");
}

TEST(UserErrorText, LibraryFailures_WordsInsteadOfLibraryText) {
    const std::wstring memory = UserErrorText(std::make_exception_ptr(std::bad_alloc()));
    EXPECT_EQ(memory, L"There is not enough memory to finish the command.");
    const std::wstring unexpected =
        L"The command could not be finished because of an unexpected error.";
    EXPECT_EQ(
        UserErrorText(std::make_exception_ptr(std::length_error("vector::_M_realloc_insert"))),
        unexpected);
    EXPECT_EQ(UserErrorText(std::make_exception_ptr(std::runtime_error("std::bad_alloc"))),
              unexpected);
    EXPECT_EQ(UserErrorText(std::make_exception_ptr(42)), unexpected);
    EXPECT_EQ(UserErrorText(nullptr), unexpected);
}

}  // namespace
}  // namespace tidewell
