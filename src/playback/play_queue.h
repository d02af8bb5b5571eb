#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// The play buttons share one handler and are told apart by their component
// names; the context menu's items pass the name of the button they stand for.
inline constexpr std::wstring_view kPlayAllSender = L"BitBtn1";
inline constexpr std::wstring_view kPlaySelectedSender = L"BitBtn2";

// The entries one play run works through: every playlist entry for "Play
// All", the selected one (if any) for "Play Selected", nothing for any other
// sender.
std::vector<std::wstring> BuildPlayQueue(std::wstring_view senderName,
                                         const std::vector<std::wstring>& playlist,
                                         int selectedIndex);

}  // namespace tidewell
