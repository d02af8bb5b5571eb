#include "common/plain_text.h"

#include "common/utf16.h"

namespace tidewell {

bool HasControlCharacter(std::wstring_view text) {
    for (const wchar_t c : text) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) return true;
    }
    return false;
}

void MakePlainUtf8(std::string& utf8) {
    // Each control character becomes one space, never more bytes than it had: the plain text is
    // written over the text as it is read.
    std::size_t to = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = [&](std::size_t at) {
            return at < utf8.size() ? static_cast<unsigned char>(utf8[at]) : 0u;
        };
        const unsigned c = byte(i);
        if (c < 0x20 || c == 0x7F) {
            utf8[to++] = ' ';
        } else if (c == 0xC2 && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F) {
            utf8[to++] = ' ';  // U+0080..U+009F
            i += 1;
        } else if (c == 0xE2 && byte(i + 1) == 0x80 &&
                   (byte(i + 2) == 0xA8 || byte(i + 2) == 0xA9)) {
            utf8[to++] = ' ';  // U+2028, U+2029
            i += 2;
        } else {
            utf8[to++] = static_cast<char>(c);
        }
    }
    utf8.resize(to);
}

std::string PlainUtf8(std::string_view utf8) {
    std::string out(utf8);
    MakePlainUtf8(out);
    return out;
}

std::string PlainUtf8(std::wstring_view text) {
    return PlainUtf8(std::string_view(EncodeUtf8(text)));
}

}  // namespace tidewell
