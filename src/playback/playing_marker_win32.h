#pragma once
// Marks "a Tidewell of this user plays" on this desktop for as long as the marker lives, so that a
// second start with "/play" (a logon task and a Startup shortcut, say) leaves the one screen to the
// run that has it.
#include <windows.h>
#include <sddl.h>

#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell {

// The marker's name: "Local\" keeps it to this session, the user's SID ("S-1-5-21-...") to this
// user within it. Inline, so that a test of the built program names the very same marker.
inline std::wstring PlayingMarkerName() {
    std::wstring sid;
    HANDLE opened = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        const UniqueKernelHandle token(opened);
        DWORD size = 0;
        ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        std::vector<BYTE> buffer(size);
        LPWSTR text = nullptr;
        if (size != 0 &&
            ::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) &&
            ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid,
                                     &text)) {
            sid = text;
            ::LocalFree(text);
        }
    }
    return L"Local\\hollowfin.lanternrow.playing." + sid;
}

class PlayingMarker {
  public:
    // The marker, or none while another run of this user holds it. It is created, not looked for,
    // so of two starts at the same instant exactly one has it. A marker that the system refuses
    // for any other reason counts as held: two runs on one screen are worse than none.
    static std::optional<PlayingMarker> Take();

  private:
    explicit PlayingMarker(UniqueKernelHandle mutex) : mutex_(std::move(mutex)) {}

    UniqueKernelHandle mutex_;
};

}  // namespace tidewell
