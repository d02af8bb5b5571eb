#pragma once
// The end of a thread that writes to files that may sit on a share that does not answer: it is
// told to finish what is pending and waited for, but only for so long; a writer still stuck after
// that is left to finish alone. It holds its own share of the state, so it may outlive its owner.
#include <chrono>
#include <mutex>
#include <thread>

namespace tidewell {

// `State` has a mutex, a condition variable `changed`, and flags `closing` (set here) and
// `finished` (set by the writer as it ends, with `changed` notified).
template <typename State>
void FinishWriter(std::thread& writer, State& state, std::chrono::milliseconds timeout) {
    if (!writer.joinable()) return;
    std::unique_lock lock(state.mutex);
    state.closing = true;
    state.changed.notify_all();
    const bool finished = state.changed.wait_for(lock, timeout, [&] { return state.finished; });
    lock.unlock();
    if (finished) {
        writer.join();
    } else {
        writer.detach();
    }
}

}  // namespace tidewell
