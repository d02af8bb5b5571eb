#include "playback/playing_marker_win32.h"

#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace tidewell {
namespace {

// "S-1-5-21-..." of the user this process runs as; empty when the system does not say.
std::wstring UserSid() {
    HANDLE opened = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return {};
    const UniqueKernelHandle token(opened);
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        return {};
    }
    std::wstring sid(text);
    ::LocalFree(text);
    return sid;
}

}  // namespace

std::optional<PlayingMarker> PlayingMarker::Take() {
    // "Local\" keeps it to this session, the user's SID to this user within it.
    const std::wstring name = L"Local\\hollowfin.lanternrow.playing." + UserSid();
    ::SetLastError(ERROR_SUCCESS);
    UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
    // Fails closed: a marker that is not ours alone, whatever the reason (another run holds it,
    // another user's, an object of another type under its name), means another run may play.
    if (!mutex || ::GetLastError() != ERROR_SUCCESS) return std::nullopt;
    return PlayingMarker(std::move(mutex));
}

}  // namespace tidewell
