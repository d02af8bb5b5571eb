#include "common/error_text.h"

namespace tidewell {

std::wstring ErrorBoxText(std::wstring_view message) {
    std::wstring text(message);
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}

}  // namespace tidewell
