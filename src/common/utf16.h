#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// The one place where text becomes bytes and bytes become text. A std::wstring
// holds UTF-16 code units on Windows and whole code points on Linux (32-bit
// wchar_t); these functions hide that difference so the same bytes come out
// of, and go into, both builds.

enum class ByteOrder { LittleEndian, BigEndian };

// Appends the UTF-16 code units of `text`, two bytes each. On a 32-bit wchar_t
// a code point above U+FFFF becomes a surrogate pair; a value beyond U+10FFFF
// cannot be encoded and becomes U+FFFD.
void AppendUtf16(std::wstring_view text, ByteOrder order, std::vector<std::uint8_t>& out);
std::vector<std::uint8_t> EncodeUtf16(std::wstring_view text, ByteOrder order);

// Decodes two bytes per code unit; an odd last byte is ignored. On a 32-bit
// wchar_t a valid surrogate pair becomes one code point, while an unpaired
// surrogate is kept as it is so that encoding gives back the same bytes.
std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, ByteOrder order);

// Decodes UTF-8 (no mark expected). Each ill-formed sequence (overlong forms,
// surrogates, values beyond U+10FFFF, truncated sequences) becomes one U+FFFD
// per maximal ill-formed part, as Windows' own converter does.
std::wstring DecodeUtf8(std::span<const std::uint8_t> bytes);

// Encodes as UTF-8 (no mark). A surrogate pair becomes its one code point; an unpaired surrogate
// or a value beyond U+10FFFF, which UTF-8 cannot carry, becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

}  // namespace tidewell
