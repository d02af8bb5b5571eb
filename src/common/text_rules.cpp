#include "common/text_rules.h"

#include <cstdint>
#include <optional>

namespace tidewell {

namespace {

bool IsBlankOrControl(wchar_t c) {
    return static_cast<std::uint32_t>(c) <= 0x20;
}

bool EndsLine(wchar_t c) {
    return c == L'\r' || c == L'\n' || c == L'\u2028';
}

std::optional<int> DigitValue(wchar_t c, int base) {
    int value = -1;
    if (c >= L'0' && c <= L'9')
        value = c - L'0';
    else if (c >= L'a' && c <= L'f')
        value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        value = c - L'A' + 10;
    if (value < 0 || value >= base) return std::nullopt;
    return value;
}

}  // namespace

std::wstring Trim(std::wstring_view text) {
    return std::wstring(TrimmedView(text));
}

std::wstring_view TrimmedView(std::wstring_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first])) ++first;
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::optional<std::wstring_view> NextLine(std::wstring_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] == L'\0') return std::nullopt;
    std::size_t end = pos;
    while (end < text.size() && text[end] != L'\0' && !EndsLine(text[end])) ++end;
    const std::wstring_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == L'\r') ++pos;
    if (pos < text.size() && text[pos] == L'\n') ++pos;
    if (pos < text.size() && text[pos] == L'\u2028') ++pos;
    return line;
}

std::vector<std::wstring> TextToLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t pos = 0;
    while (const auto line = NextLine(text, pos)) lines.emplace_back(*line);
    return lines;
}

std::wstring LinesToText(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines) {
        text += line;
        text += L"\r\n";
    }
    return text;
}

int ParseIntOrDefault(std::wstring_view text, int fallback) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == L' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && (text[pos] == L'$' || text[pos] == L'x' || text[pos] == L'X')) {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == L'0' &&
               (text[pos + 1] == L'x' || text[pos + 1] == L'X')) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) return fallback;
    // Magnitude is accumulated in 64 bits and checked against the 32-bit range after every digit,
    // so that no digit string, however long, can overflow.
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; pos < text.size(); ++pos) {
        const auto digit = DigitValue(text[pos], base);
        if (!digit) return fallback;
        magnitude = magnitude * base + *digit;
        if (magnitude > limit) return fallback;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace tidewell
