#include "playback/playing_marker_win32.h"

#include <windows.h>

namespace tidewell {
namespace {

// A named object lives while a handle to it is open, and "Local\" keeps it to this session.
constexpr wchar_t kMarkerName[] = L"Local\\hollowfin.lanternrow.playing";

}  // namespace

PlayingMarker::PlayingMarker() : mutex_(::CreateMutexW(nullptr, FALSE, kMarkerName)) {}

bool PlayingMarker::AnotherRunPlays() {
    const UniqueKernelHandle existing(::OpenMutexW(SYNCHRONIZE, FALSE, kMarkerName));
    return static_cast<bool>(existing);
}

}  // namespace tidewell
