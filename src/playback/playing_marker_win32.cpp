#include "playback/playing_marker_win32.h"

#include <windows.h>

#include <string>

namespace tidewell {

std::optional<PlayingMarker> PlayingMarker::Take() {
    const std::wstring name = PlayingMarkerName();
    ::SetLastError(ERROR_SUCCESS);
    UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
    // Fails closed: a marker that is not ours alone, whatever the reason (another run holds it,
    // another user's, an object of another type under its name), means another run may play.
    if (!mutex || ::GetLastError() != ERROR_SUCCESS) return std::nullopt;
    return PlayingMarker(std::move(mutex));
}

}  // namespace tidewell
