#include "common/ansi_text_win32.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace tidewell {
namespace {

UINT CodePageId(AnsiCodePage page) {
    return page == AnsiCodePage::Thread ? CP_THREAD_ACP : CP_ACP;
}

// The system functions count in int; longer texts are no paths or setting files of ours.
int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long");
    return static_cast<int>(size);
}

}  // namespace

std::string ToAnsi(std::wstring_view text, AnsiCodePage page) {
    if (text.empty()) return {};
    const UINT codePage = CodePageId(page);
    const int length = CheckedLength(text.size());
    const int bytes =
        ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string result(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), bytes, nullptr, nullptr);
    return result;
}

std::wstring FromAnsi(std::span<const std::uint8_t> bytes, AnsiCodePage page) {
    if (bytes.empty()) return {};
    const UINT codePage = CodePageId(page);
    const int size = CheckedLength(bytes.size());
    const auto* source = reinterpret_cast<const char*>(bytes.data());
    const int length = ::MultiByteToWideChar(codePage, 0, source, size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, source, size, text.data(), length);
    return text;
}

std::wstring AnsiRoundTrip(std::wstring_view text, AnsiCodePage page) {
    const std::string bytes = ToAnsi(text, page);
    return FromAnsi({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, page);
}

}  // namespace tidewell
