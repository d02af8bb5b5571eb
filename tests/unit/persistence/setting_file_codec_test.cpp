#include "persistence/setting_file_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/utf16.h"
#include "persistence/setting_content.h"

namespace tidewell {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::wstring>;

// Stands in for the machine's ANSI code page: Latin-1, one byte per character.
std::wstring Latin1(std::span<const std::uint8_t> bytes) {
    return std::wstring(bytes.begin(), bytes.end());
}

Bytes WithMark(Bytes mark, const Bytes& body) {
    mark.insert(mark.end(), body.begin(), body.end());
    return mark;
}

Bytes Utf16LeFile(std::wstring_view text) {
    return WithMark({0xFF, 0xFE}, EncodeUtf16(text, ByteOrder::LittleEndian));
}

// Written out by hand, one ASCII character at a time, so the expectation does
// not depend on the codec under test.
Bytes AsciiUtf16Le(std::string_view text) {
    Bytes bytes;
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

TEST(SettingFileCodec, Encode_MonitorProgramAndTwoEntries_ExactBytes) {
    const Bytes bytes = EncodeSettingFile(
        ComposeSettingLines(2, L"C:\\V\\pptview.exe", {L"C:\\s\\a.ppt", L"C:\\s\\b.pps"}));
    const Bytes expected = WithMark(
        {0xFF, 0xFE}, AsciiUtf16Le("2\r\nC:\\V\\pptview.exe\r\nC:\\s\\a.ppt\r\nC:\\s\\b.pps\r\n"));
    EXPECT_EQ(bytes, expected);
}

TEST(SettingFileCodec, EncodeThenDecode_NonAsciiPaths_ComeBackUnchanged) {
    const Lines lines = {L"1", L"C:\\Programme\\\u00FCber.exe",
                         L"D:\\\u6F14\u793A\\\U0001F600.pptx", L"E:\\x\u2029y.ppt"};
    EXPECT_EQ(DecodeSettingLines(EncodeSettingFile(lines), Latin1), lines);
}

TEST(SettingFileCodec, Decode_SameContentInEveryEncoding_GivesSameLines) {
    const Lines expected = {L"2", L"C:\\pr\u00E9s\\v.exe", L"C:\\a.ppt"};
    const std::wstring text = L"2\r\nC:\\pr\u00E9s\\v.exe\r\nC:\\a.ppt\r\n";
    const Bytes utf8Body = {'2', '\r', '\n', 'C', ':', '\\', 'p', 'r',  0xC3, 0xA9,
                            's', '\\', 'v',  '.', 'e', 'x',  'e', '\r', '\n', 'C',
                            ':', '\\', 'a',  '.', 'p', 'p',  't', '\r', '\n'};
    Bytes ansi;
    for (const wchar_t c : text) ansi.push_back(static_cast<std::uint8_t>(c));

    const struct {
        const char* name;
        Bytes bytes;
    } files[] = {
        {"utf16le", Utf16LeFile(text)},
        {"utf16be", WithMark({0xFE, 0xFF}, EncodeUtf16(text, ByteOrder::BigEndian))},
        {"utf8_with_mark", WithMark({0xEF, 0xBB, 0xBF}, utf8Body)},
        {"ansi", ansi},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(DecodeSettingLines(file.bytes, Latin1), expected);
    }
}

TEST(SettingFileCodec, DecodeText_Utf8WithoutMark_IsReadAsAnsi) {
    const Bytes bytes = {'x', 0xC3, 0xA9};
    EXPECT_EQ(DecodeSettingText(bytes, Latin1), L"x\u00C3\u00A9");
}

TEST(SettingFileCodec, DecodeText_ShortOrMarkOnlyFiles_MatchTable) {
    const struct {
        const char* name;
        Bytes bytes;
        std::wstring text;
    } cases[] = {
        {"empty", {}, L""},
        {"one_byte_ff", {0xFF}, L"\u00FF"},
        {"mark_only_le", {0xFF, 0xFE}, L""},
        {"mark_only_be", {0xFE, 0xFF}, L""},
        {"mark_only_utf8", {0xEF, 0xBB, 0xBF}, L""},
        // Two bytes of a UTF-8 mark are too short to be one: plain ANSI.
        {"partial_utf8_mark", {0xEF, 0xBB}, L"\u00EF\u00BB"},
        {"le_odd_byte_after_mark", {0xFF, 0xFE, 0x41}, L""},
        {"le_odd_last_byte", {0xFF, 0xFE, 0x41, 0x00, 0x42}, L"A"},
        {"be_odd_last_byte", {0xFE, 0xFF, 0x00, 0x41, 0x00}, L"A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeSettingText(c.bytes, Latin1), c.text);
    }
}

TEST(SettingFileCodec, DecodeLines_BreaksBlanksAndPadding_MatchTable) {
    const struct {
        const char* name;
        std::wstring text;
        Lines lines;
    } cases[] = {
        {"crlf", L"1\r\nP\r\nA\r\n", {L"1", L"P", L"A"}},
        {"lone_lf", L"1\nP\nA", {L"1", L"P", L"A"}},
        {"lone_cr", L"1\rP\rA\r", {L"1", L"P", L"A"}},
        {"line_separator", L"1\u2028P\u2028A", {L"1", L"P", L"A"}},
        {"nul_ends_text", std::wstring(L"1\r\nP\r\nA\0\r\nB\r\n", 13), {L"1", L"P", L"A"}},
        {"blank_lines_anywhere",
         L"\r\n\r\n1\r\n\r\n\r\nP\r\n \t \r\nA\r\n\r\n",
         {L"1", L"P", L"A"}},
        {"padded_lines", L"  1\t\r\n\tP  \r\n A B \r\n", {L"1", L"P", L"A B"}},
        {"controls_trimmed",
         L"\x01\x1F"
         L"1\x7F\r\nP",
         {L"1\x7F", L"P"}},
        {"no_break_at_end", L"1\r\nP", {L"1", L"P"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeSettingLines(Utf16LeFile(c.text), Latin1), c.lines);
    }
}

TEST(SettingFileCodec, DecodeLines_NulInAnsiFile_EndsText) {
    const Bytes bytes = {'1', '\n', 'P', '\n', 'A', 0, '\n', 'B'};
    EXPECT_EQ(DecodeSettingLines(bytes, Latin1), (Lines{L"1", L"P", L"A"}));
}

}  // namespace
}  // namespace tidewell
