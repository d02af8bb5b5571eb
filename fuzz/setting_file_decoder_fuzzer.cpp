// Feeds arbitrary bytes to the setting-file decoder. Setting files come from
// wherever the user picks them, so the decoder must never crash, and what it
// returns must hold the promises the loader relies on.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "common/utf16.h"
#include "persistence/setting_file_codec.h"

namespace {

// Any single-byte code page maps each byte to one character; Latin-1 is the
// simplest such stand-in for the machine's ANSI code page.
std::wstring Latin1(std::span<const std::uint8_t> bytes) {
    return std::wstring(bytes.begin(), bytes.end());
}

void Require(bool condition) {
    if (!condition) std::abort();
}

bool IsLineBreakOrNul(wchar_t c) {
    return c == L'\r' || c == L'\n' || c == 0x2028 || c == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::vector<std::wstring> lines = tidewell::DecodeSettingLines(bytes, Latin1);

    for (const std::wstring& line : lines) {
        // Every line is trimmed, non-empty and holds no line break.
        Require(!line.empty());
        Require(static_cast<std::uint32_t>(line.front()) > 0x20);
        Require(static_cast<std::uint32_t>(line.back()) > 0x20);
        for (const wchar_t c : line) Require(!IsLineBreakOrNul(c));
    }

    // What the reader accepts, the writer writes back so that it reads the same.
    const auto rewritten = tidewell::EncodeSettingFile(lines);
    Require(tidewell::DecodeSettingLines(rewritten, Latin1) == lines);

    // Both UTF-16 byte orders give back exactly the bytes they decoded.
    const std::size_t even = size & ~std::size_t{1};
    for (const auto order : {tidewell::ByteOrder::LittleEndian, tidewell::ByteOrder::BigEndian}) {
        const std::wstring text = tidewell::DecodeUtf16(bytes, order);
        const auto encoded = tidewell::EncodeUtf16(text, order);
        Require(encoded.size() == even && std::equal(encoded.begin(), encoded.end(), data));
    }
    return 0;
}
