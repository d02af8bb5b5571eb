#pragma once
// The text the common file dialogs take and give back, apart from the dialogs themselves: the
// filter as the dialog wants it, the bare default extension, and the split of a multiple choice.
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// The stored filter uses "|" between description and patterns; the dialog wants NUL separators
// and a double NUL at the end.
std::wstring NativeFilter(std::wstring_view filter);

// The dialog appends the default extension itself and wants it bare: "ppsv", not ".ppsv" or
// "*.exe". The stored value keeps its leading characters; only what the dialog sees is trimmed.
std::wstring BareExtension(std::wstring_view stored);

// The dialog's result buffer, read only within `buffer`: a multiple choice comes back as the
// folder, NUL, then each name, NUL, ending with a double NUL; a single choice as one full path.
// Either way the full paths, in the dialog's order.
std::vector<std::wstring> ParseFileChoice(std::wstring_view buffer);

}  // namespace tidewell
