#pragma once
// What the user-interface thread tells the placement watchers: where the chosen monitor starts
// and which process is playing. Each value is one lock-free atomic word; there is no lock and no
// queue. Writers keep this order: target top and left before a run starts; the process id before
// the watcher of that process starts; the process handle after it.
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace tidewell {

struct SharedPlaybackState {
    std::atomic<std::int32_t> targetLeft{0};
    std::atomic<std::int32_t> targetTop{0};
    std::atomic<DWORD> currentProcessId{0};
    std::atomic<HANDLE> currentProcessHandle{nullptr};
};

static_assert(std::atomic<std::int32_t>::is_always_lock_free);
static_assert(std::atomic<DWORD>::is_always_lock_free);
static_assert(std::atomic<HANDLE>::is_always_lock_free);

// The one process-wide instance; all zero when the program starts.
SharedPlaybackState& PlaybackState();

}  // namespace tidewell
