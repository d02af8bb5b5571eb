#pragma once
// Letter case of the ASCII letters only: file names and extensions compared as Windows compares
// them, without the locale of the machine that runs the code.
#include <string>

namespace tidewell {

inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string LowerAscii(std::string text) {
    for (char& c : text) c = LowerAscii(c);
    return text;
}

}  // namespace tidewell
