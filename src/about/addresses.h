#pragma once
// The maker's addresses: one host name and one support address, used by the status bar, the Help
// menu and the About box alike.
#include <string>

namespace tidewell {

inline constexpr wchar_t kMakerHostName[] = L"www.hollowfin.com";
inline constexpr wchar_t kSupportEmail[] = L"support@hollowfin.com";

inline std::wstring MakerWebAddress() {
    return std::wstring(L"http://") + kMakerHostName;
}

inline std::wstring HelpPageAddress() {
    return MakerWebAddress() + L"/ppt/tidewell/tidewell.htm?a=help";
}

// The subject is the application title appended as it is, without percent-encoding.
inline std::wstring SupportMailRequest(const std::wstring& title) {
    return std::wstring(L"mailto:") + kSupportEmail + L"?subject=" + title;
}

}  // namespace tidewell
