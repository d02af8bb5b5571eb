#include "common/command_line_quoting.h"

namespace tidewell {

void AppendQuotedArgument(std::wstring& line, std::wstring_view argument) {
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: 2n of them and \" there give n and a quote.
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        line += c;
        backslashes = 0;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

}  // namespace tidewell
