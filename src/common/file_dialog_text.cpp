#include "common/file_dialog_text.h"

#include <algorithm>

namespace tidewell {

std::wstring NativeFilter(std::wstring_view filter) {
    std::wstring native(filter);
    for (auto& c : native)
        if (c == L'|') c = L'\0';
    native.push_back(L'\0');
    native.push_back(L'\0');
    return native;
}

std::wstring BareExtension(std::wstring_view stored) {
    const auto start = stored.find_first_not_of(L"*.");
    return start == std::wstring_view::npos ? std::wstring() : std::wstring(stored.substr(start));
}

std::vector<std::wstring> ParseFileChoice(std::wstring_view buffer) {
    std::vector<std::wstring> parts;
    // A buffer that the dialog filled to its last character has no closing NUL: its last part
    // ends with the buffer instead of running on past it.
    while (!buffer.empty() && buffer.front() != L'\0') {
        const std::size_t end = std::min(buffer.find(L'\0'), buffer.size());
        parts.emplace_back(buffer.substr(0, end));
        buffer.remove_prefix(std::min(end + 1, buffer.size()));
    }
    if (parts.size() <= 1) return parts;
    std::wstring folder = parts.front();
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    std::vector<std::wstring> files;
    files.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
    return files;
}

}  // namespace tidewell
