#include "deck_slides.h"

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace standin {
namespace {

// A deck larger than this is not read; the demonstration's decks are a few kilobytes.
constexpr LONGLONG kLargestDeck = 64LL << 20;

std::vector<unsigned char> ReadWhole(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<unsigned char> bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart <= kLargestDeck) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size()) {
            bytes.clear();
        }
    }
    CloseHandle(file);
    return bytes;
}

std::uint32_t Read(const std::vector<unsigned char>& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

bool IsSlideName(std::string_view name) {
    constexpr std::string_view kStart = "ppt/slides/slide";
    constexpr std::string_view kEnd = ".xml";
    if (!name.starts_with(kStart) || !name.ends_with(kEnd)) return false;
    const std::string_view number =
        name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
    return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

int CountDeckSlides(const std::wstring& path) {
    const std::vector<unsigned char> bytes = ReadWhole(path);
    // The end record of the zip folder: 22 bytes and a comment of up to 64 KiB, at the very end.
    constexpr std::size_t kEndRecord = 22;
    if (bytes.size() < kEndRecord) return 0;
    std::size_t end = bytes.size() - kEndRecord + 1;
    do {
        --end;
    } while (end > 0 && bytes.size() - end < kEndRecord + 0xFFFF &&
             Read(bytes, end, 4) != 0x06054b50);
    if (Read(bytes, end, 4) != 0x06054b50) return 0;
    const std::uint32_t entries = Read(bytes, end + 10, 2);
    std::size_t at = Read(bytes, end + 16, 4);
    int slides = 0;
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (at + 46 > end || Read(bytes, at, 4) != 0x02014b50) return 0;
        const std::size_t nameLength = Read(bytes, at + 28, 2);
        if (at + 46 + nameLength > end) return 0;
        slides += IsSlideName({reinterpret_cast<const char*>(&bytes[at + 46]), nameLength});
        at += 46 + nameLength + Read(bytes, at + 30, 2) + Read(bytes, at + 32, 2);
    }
    return slides;
}

}  // namespace standin
