#include "common/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tidewell {
namespace {

// Every start and every byte, in texts of every length up to a few words, with the sought byte
// anywhere (or nowhere), as std::string_view::find answers.
TEST(FindByte, AnswersAsFindDoes_AtEveryPlaceAndLength) {
    std::mt19937 random(7);
    for (std::size_t length = 0; length < 40; ++length) {
        std::string text(length, '\0');
        for (char& c : text)
            c = static_cast<char>(
                "\t\n\r\x80\xff"
                "ab"[random() % 7]);
        for (const char sought : {'\t', '\n', '\r', '\x80', '\xff', 'a', 'z', '\0'}) {
            for (std::size_t from = 0; from <= length; ++from) {
                ASSERT_EQ(FindByte(text, sought, from), std::string_view(text).find(sought, from))
                    << length << " " << int(sought) << " " << from;
            }
        }
    }
}

}  // namespace
}  // namespace tidewell
