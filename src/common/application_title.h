#pragma once

namespace tidewell {

// The caption of the main window, of every message box and the About box's title, and the subject
// of support e-mails.
inline constexpr wchar_t kApplicationTitle[] = L"Tidewell";

}  // namespace tidewell
