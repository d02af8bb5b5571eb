#include "common/byte_search.h"

#include <cstdint>
#include <cstring>

namespace tidewell {

std::size_t FindByte(std::string_view text, char c, std::size_t from) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    std::size_t i = from;
    // A word holds `c` exactly when the word XOR the pattern has a zero byte.
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        const std::uint64_t x = word ^ pattern;
        if ((x - kOnes) & ~x & kHighs) break;
    }
    for (; i < text.size(); ++i) {
        if (text[i] == c) return i;
    }
    return std::string_view::npos;
}

}  // namespace tidewell
