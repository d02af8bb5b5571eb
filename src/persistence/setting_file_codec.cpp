#include "persistence/setting_file_codec.h"

#include "common/text_rules.h"
#include "common/utf16.h"

namespace tidewell {
namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
    if (bytes.size() < mark.size()) return false;
    std::size_t i = 0;
    for (const std::uint8_t b : mark) {
        if (bytes[i++] != b) return false;
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeSettingFile(const std::vector<std::wstring>& lines) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    AppendUtf16(LinesToText(lines), ByteOrder::LittleEndian, bytes);
    return bytes;
}

std::wstring DecodeSettingText(std::span<const std::uint8_t> bytes, const AnsiDecoder& decodeAnsi) {
    if (StartsWith(bytes, {0xFF, 0xFE})) {
        return DecodeUtf16(bytes.subspan(2), ByteOrder::LittleEndian);
    }
    if (StartsWith(bytes, {0xFE, 0xFF})) {
        return DecodeUtf16(bytes.subspan(2), ByteOrder::BigEndian);
    }
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        return DecodeUtf8(bytes.subspan(3));
    }
    return decodeAnsi(bytes);
}

std::vector<std::wstring> DecodeSettingLines(std::span<const std::uint8_t> bytes,
                                             const AnsiDecoder& decodeAnsi) {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : TextToLines(DecodeSettingText(bytes, decodeAnsi))) {
        std::wstring trimmed = Trim(line);
        if (!trimmed.empty()) lines.push_back(std::move(trimmed));
    }
    return lines;
}

}  // namespace tidewell
