#pragma once
// The presentations kept with the tests (written by a real office program), and files derived
// from them: cut short, a byte changed. Header-only, for the in-process tests and the benchmarks.
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "temp_folder.h"

namespace tidewell::testing {

inline std::wstring TestPresentation(std::wstring_view name) {
    const std::string folder = TIDEWELL_TEST_DATA "/presentations/";
    return std::wstring(folder.begin(), folder.end()) + std::wstring(name);
}

inline std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The first half of a deck, as a copy or a save broken off half-way leaves it.
inline std::vector<std::uint8_t> CutShort(const std::vector<std::uint8_t>& deck) {
    return {deck.begin(), deck.begin() + static_cast<std::ptrdiff_t>(deck.size() / 2)};
}

// A whole presentation of that name in `folder` (Welcome.pptx for an Open XML name, Welcome.ppt
// for any other), for runs that check what they hand over; returns its path.
inline std::wstring PutDeck(const TempFolder& folder, const std::wstring& name) {
    std::wstring extension = name.substr(name.find_last_of(L'.') + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
    const bool openXml = extension == L"pptx" || extension == L"ppsx";
    WriteBytes(folder.File(name),
               ReadBytes(TestPresentation(openXml ? L"Welcome.pptx" : L"Welcome.ppt")));
    return folder.File(name);
}

// Where `text` first occurs in `bytes` (the local header of a ZIP entry holds its name), or npos.
inline std::size_t FindBytes(const std::vector<std::uint8_t>& bytes, std::string_view text) {
    const auto at =
        std::search(bytes.begin(), bytes.end(), text.begin(), text.end(),
                    [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
    return at == bytes.end() ? std::string_view::npos
                             : static_cast<std::size_t>(at - bytes.begin());
}

}  // namespace tidewell::testing
