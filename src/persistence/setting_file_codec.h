#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tidewell {

// Turns bytes in the machine's ANSI code page into text. Passed in by the
// caller so that the codec itself stays free of the platform.
using AnsiDecoder = std::function<std::wstring(std::span<const std::uint8_t>)>;

// A setting file as written: the UTF-16LE mark FF FE, then every line followed
// by CR LF, in UTF-16LE. Nothing follows the last CR LF.
std::vector<std::uint8_t> EncodeSettingFile(const std::vector<std::wstring>& lines);

// The whole text of a setting file, its encoding chosen by its first bytes:
// FF FE little-endian UTF-16, FE FF big-endian UTF-16, EF BB BF UTF-8, and
// anything else the ANSI code page. The mark itself is not part of the text.
std::wstring DecodeSettingText(std::span<const std::uint8_t> bytes, const AnsiDecoder& decodeAnsi);

// The lines of a setting file as the reader counts them: split at line breaks,
// each trimmed, empty ones removed wherever they stand.
std::vector<std::wstring> DecodeSettingLines(std::span<const std::uint8_t> bytes,
                                             const AnsiDecoder& decodeAnsi);

}  // namespace tidewell
