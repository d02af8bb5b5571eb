#pragma once
// Finding one byte in a long text eight bytes at a time. The C library that a program gets under
// Wine looks at one byte at a time in memchr, which std::string_view::find calls: the play logs of
// a fleet (a hundred megabytes for a month) spent a seventh of their report there.
#include <cstddef>
#include <string_view>

namespace tidewell {

// As text.find(c, from): the first `c` at or after `from`, or npos.
std::size_t FindByte(std::string_view text, char c, std::size_t from = 0);

}  // namespace tidewell
