#include "persistence/preference_values.h"

#include <algorithm>

#include "common/text_rules.h"
#include "common/utf16.h"

namespace tidewell {
namespace {

std::wstring Quoted(std::wstring_view prefix, std::wstring_view name) {
    std::wstring text(prefix);
    text += L'\'';
    text += name;
    text += L'\'';
    return text;
}

}  // namespace

std::wstring JoinPlaylistForStore(const std::vector<PlaylistEntry>& entries) {
    std::vector<std::wstring> lines;
    lines.reserve(entries.size());
    for (const PlaylistEntry& entry : entries) lines.push_back(FormatEntryLine(entry));
    return Trim(LinesToText(lines));
}

std::vector<PlaylistEntry> SplitStoredPlaylist(std::wstring_view stored) {
    // Line by line in place: 50,000 stored entries are megabytes of text, not worth copying twice.
    const std::wstring_view text = TrimmedView(stored);
    std::vector<PlaylistEntry> entries;
    // About one entry per line feed: reserved once, instead of moving every entry read so far
    // each time the vector grows.
    entries.reserve(std::count(text.begin(), text.end(), L'\n') + 1);
    std::size_t pos = 0;
    while (const auto line = NextLine(text, pos))
        entries.push_back(ParseEntryLineKeepingAll(*line));
    return entries;
}

std::vector<std::uint8_t> RegistryStringData(std::wstring_view text) {
    std::vector<std::uint8_t> data = EncodeUtf16(text, ByteOrder::LittleEndian);
    data.push_back(0);
    data.push_back(0);
    return data;
}

std::wstring TextFromRegistryData(std::span<const std::uint8_t> data) {
    std::wstring text = DecodeUtf16(data, ByteOrder::LittleEndian);
    const std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);
    return text;
}

std::wstring InvalidDataTypeMessage(std::wstring_view valueName) {
    return Quoted(L"Invalid data type for ", valueName);
}

std::wstring FailedToGetDataMessage(std::wstring_view valueName) {
    return Quoted(L"Failed to get data for ", valueName);
}

std::wstring FailedToSetDataMessage(std::wstring_view valueName) {
    return Quoted(L"Failed to set data for ", valueName);
}

}  // namespace tidewell
