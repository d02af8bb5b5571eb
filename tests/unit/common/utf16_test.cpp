#include "common/utf16.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tidewell {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A grinning face, U+1F600: one wchar_t on Linux, a surrogate pair on Windows.
const std::wstring kFace = L"\U0001F600";

struct Utf16Case {
    const char* name;
    std::wstring text;
    Bytes littleEndian;
};

std::vector<Utf16Case> Utf16Cases() {
    return {
        {"empty", L"", {}},
        {"ascii", L"A1", {0x41, 0x00, 0x31, 0x00}},
        {"bmp", L"\u00E9\u20AC", {0xE9, 0x00, 0xAC, 0x20}},
        {"break_and_nul", std::wstring(L"\r\n\0", 3), {0x0D, 0x00, 0x0A, 0x00, 0x00, 0x00}},
        {"surrogate_pair", kFace, {0x3D, 0xD8, 0x00, 0xDE}},
        {"pair_between_text",
         L"a" + kFace + L"b",
         {0x61, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x62, 0x00}},
    };
}

Bytes Swapped(const Bytes& bytes) {
    Bytes swapped(bytes);
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    return swapped;
}

TEST(Utf16, EncodeAndDecode_BothByteOrders_MatchTable) {
    for (const Utf16Case& c : Utf16Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EncodeUtf16(c.text, ByteOrder::LittleEndian), c.littleEndian);
        EXPECT_EQ(EncodeUtf16(c.text, ByteOrder::BigEndian), Swapped(c.littleEndian));
        EXPECT_EQ(DecodeUtf16(c.littleEndian, ByteOrder::LittleEndian), c.text);
        EXPECT_EQ(DecodeUtf16(Swapped(c.littleEndian), ByteOrder::BigEndian), c.text);
    }
}

TEST(Utf16, AppendUtf16_ExistingBytes_AreKept) {
    Bytes out{0xFF, 0xFE};
    AppendUtf16(L"A", ByteOrder::LittleEndian, out);
    EXPECT_EQ(out, (Bytes{0xFF, 0xFE, 0x41, 0x00}));
}

TEST(Utf16, DecodeUtf16_OddLastByte_IsIgnored) {
    EXPECT_EQ(DecodeUtf16(Bytes{0x41, 0x00, 0x42}, ByteOrder::LittleEndian), L"A");
    EXPECT_EQ(DecodeUtf16(Bytes{0x41}, ByteOrder::LittleEndian), L"");
}

TEST(Utf16, UnpairedSurrogates_RoundTripUnchanged) {
    const std::vector<Bytes> inputs = {
        {0x00, 0xD8, 0x41, 0x00},  // high surrogate followed by a letter
        {0x41, 0x00, 0x00, 0xDC},  // low surrogate on its own
        {0x00, 0xDC, 0x00, 0xD8},  // low before high is no pair
        {0x00, 0xD8},              // high surrogate at the very end
    };
    for (const Bytes& input : inputs) {
        const std::wstring text = DecodeUtf16(input, ByteOrder::LittleEndian);
        EXPECT_EQ(text.size(), input.size() / 2);
        EXPECT_EQ(EncodeUtf16(text, ByteOrder::LittleEndian), input);
    }
}

struct Utf8Case {
    const char* name;
    Bytes bytes;
    std::wstring text;
};

TEST(Utf8, DecodeUtf8_WellAndIllFormed_MatchTable) {
    const std::wstring r = L"\uFFFD";
    const std::vector<Utf8Case> cases = {
        {"ascii", {0x50, 0x2E}, L"P."},
        {"two_bytes", {0xC3, 0xA9}, L"\u00E9"},
        {"three_bytes", {0xE2, 0x82, 0xAC}, L"\u20AC"},
        {"four_bytes", {0xF0, 0x9F, 0x98, 0x80}, kFace},
        {"line_separator", {0xE2, 0x80, 0xA8}, L"\u2028"},
        {"overlong_two", {0xC0, 0x80}, r + r},
        {"overlong_three", {0xE0, 0x80, 0x80}, r + r + r},
        {"encoded_surrogate", {0xED, 0xA0, 0x80}, r + r + r},
        {"beyond_unicode", {0xF4, 0x90, 0x80, 0x80}, r + r + r + r},
        {"truncated_then_letter", {0xE2, 0x82, 0x41}, r + L"A"},
        {"truncated_at_end", {0x41, 0xF0, 0x9F, 0x98}, L"A" + r},
        {"stray_continuation", {0x80, 0x41}, r + L"A"},
        {"invalid_lead", {0xFF, 0x41}, r + L"A"},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeUtf8(c.bytes), c.text);
    }
}

TEST(Utf8, EncodeUtf8_RoundTripsWellFormedText_ReplacesWhatUtf8CannotCarry) {
    for (const Utf8Case& c :
         {Utf8Case{"ascii", {0x50, 0x2E}, L"P."}, Utf8Case{"two_bytes", {0xC3, 0xA9}, L"\u00E9"},
          Utf8Case{"three_bytes", {0xE2, 0x82, 0xAC}, L"\u20AC"},
          Utf8Case{"four_bytes", {0xF0, 0x9F, 0x98, 0x80}, kFace}}) {
        SCOPED_TRACE(c.name);
        const std::string encoded = EncodeUtf8(c.text);
        EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), c.bytes);
    }
    const std::string lone = EncodeUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x");
    EXPECT_EQ(lone, "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace tidewell
