#include "reporting/file_name_text.h"

#include <cstdint>

#include "common/plain_text.h"
#include "common/utf16.h"

namespace tidewell {
namespace {

// One of the two is the system's kind of name; the other is never called.
[[maybe_unused]] std::string NativeNameText(const std::wstring& name) {
    return PlainUtf8(std::wstring_view(name));
}
[[maybe_unused]] std::string NativeNameText(const std::string& name) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
    return PlainUtf8(std::wstring_view(DecodeUtf8({bytes, name.size()})));
}

}  // namespace

std::string FileNameText(const std::filesystem::path& name) {
    return NativeNameText(name.native());
}

}  // namespace tidewell
