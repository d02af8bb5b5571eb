#include "copies/copy_record.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <span>

#include "common/utf16.h"

namespace tidewell {
namespace {

constexpr std::string_view kFirstLine = "Tidewell copy";

std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::wstring CopyFolderName(std::wstring_view originalFullPath) {
    // FNV-1a over the UTF-16 code units, ASCII letters folded: a name, not a secret.
    std::uint64_t hash = 14695981039346656037ULL;
    for (wchar_t c : originalFullPath) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c == L'/') c = L'\\';
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ULL;
    }
    wchar_t digits[17] = {};
    std::swprintf(digits, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

bool IsCopyFolderName(std::wstring_view name) {
    return name.size() == CopyFolderName(L"").size() &&
           std::all_of(name.begin(), name.end(), [](wchar_t c) {
               return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f');
           });
}

std::string EncodeCopyRecord(const CopyRecord& record) {
    return std::string(kFirstLine) + "\r\n" + EncodeUtf8(record.original) + "\r\n" +
           std::to_string(record.size) + "\r\n" + std::to_string(record.lastWrite) + "\r\n" +
           std::to_string(record.copiedAt) + "\r\n";
}

std::optional<CopyRecord> DecodeCopyRecord(std::string_view bytes) {
    std::string_view lines[5];
    for (std::string_view& line : lines) {
        const std::size_t end = bytes.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        line = bytes.substr(0, end);
        bytes.remove_prefix(end + 2);
    }
    if (lines[0] != kFirstLine) return std::nullopt;
    const auto size = Number(lines[2]), lastWrite = Number(lines[3]), copiedAt = Number(lines[4]);
    if (!size || !lastWrite || !copiedAt) return std::nullopt;
    const std::span<const std::uint8_t> original(
        reinterpret_cast<const std::uint8_t*>(lines[1].data()), lines[1].size());
    return CopyRecord{DecodeUtf8(original), *size, *lastWrite, *copiedAt};
}

std::wstring CopyStartDetail(std::wstring_view copyTime, std::wstring_view why) {
    return L"copy of " + std::wstring(copyTime) + L", " + std::wstring(why);
}

}  // namespace tidewell
