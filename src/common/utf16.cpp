#include "common/utf16.h"

namespace tidewell {
namespace {

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;
constexpr char32_t kReplacement = 0xFFFD;

void AppendUnit(char16_t unit, ByteOrder order, std::vector<std::uint8_t>& out) {
    const auto low = static_cast<std::uint8_t>(unit & 0xFF);
    const auto high = static_cast<std::uint8_t>(unit >> 8);
    if (order == ByteOrder::LittleEndian) {
        out.push_back(low);
        out.push_back(high);
    } else {
        out.push_back(high);
        out.push_back(low);
    }
}

char16_t UnitAt(std::span<const std::uint8_t> bytes, std::size_t index, ByteOrder order) {
    const std::uint8_t first = bytes[2 * index];
    const std::uint8_t second = bytes[2 * index + 1];
    return order == ByteOrder::LittleEndian ? static_cast<char16_t>(first | (second << 8))
                                            : static_cast<char16_t>((first << 8) | second);
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendCodePoint(char32_t cp, std::wstring& out) {
    if (kWideIsUtf16 && cp > 0xFFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(cp));
    }
}

}  // namespace

void AppendUtf16(std::wstring_view text, ByteOrder order, std::vector<std::uint8_t>& out) {
    out.reserve(out.size() + 2 * text.size());
    for (const wchar_t c : text) {
        auto cp = static_cast<char32_t>(c);
        if (kWideIsUtf16 || cp <= 0xFFFF) {
            AppendUnit(static_cast<char16_t>(cp), order, out);
            continue;
        }
        if (cp > 0x10FFFF) {
            AppendUnit(static_cast<char16_t>(kReplacement), order, out);
            continue;
        }
        cp -= 0x10000;
        AppendUnit(static_cast<char16_t>(0xD800 + (cp >> 10)), order, out);
        AppendUnit(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)), order, out);
    }
}

std::vector<std::uint8_t> EncodeUtf16(std::wstring_view text, ByteOrder order) {
    std::vector<std::uint8_t> out;
    AppendUtf16(text, order, out);
    return out;
}

std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, ByteOrder order) {
    const std::size_t units = bytes.size() / 2;
    std::wstring out;
    if constexpr (kWideIsUtf16) {
        // Unit for unit: a stored playlist of megabytes is decoded in one pass, not appended to
        // character by character.
        out.resize(units);
        for (std::size_t i = 0; i < units; ++i)
            out[i] = static_cast<wchar_t>(UnitAt(bytes, i, order));
        return out;
    }
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = UnitAt(bytes, i, order);
        if (IsHighSurrogate(unit) && i + 1 < units) {
            const char32_t next = UnitAt(bytes, i + 1, order);
            if (IsLowSurrogate(next)) {
                out.push_back(
                    static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00)));
                ++i;
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(unit));
    }
    return out;
}

std::wstring DecodeUtf8(std::span<const std::uint8_t> bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i++];
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            continue;
        }
        // The allowed range of the first continuation byte excludes overlong
        // forms (E0, F0), surrogates (ED) and values beyond U+10FFFF (F4).
        int needed = 0;
        char32_t cp = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            needed = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            needed = 2;
            cp = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            needed = 3;
            cp = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            AppendCodePoint(kReplacement, out);
            continue;
        }
        int taken = 0;
        while (taken < needed && i < bytes.size() && bytes[i] >= low && bytes[i] <= high) {
            cp = (cp << 6) | (bytes[i] & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++i;
            ++taken;
        }
        // A broken sequence is replaced as a whole; the byte that broke it is
        // read again as the start of the next sequence.
        AppendCodePoint(taken == needed ? cp : kReplacement, out);
    }
    return out;
}

std::string EncodeUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if (IsHighSurrogate(cp) && i + 1 < text.size() &&
            IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
        } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp) || cp > 0x10FFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace tidewell
