#pragma once
// Work that may wait on a share (reading a file, looking for one, starting a program) done away
// from a window's thread, so that the window answers at once whatever the network does. The
// result is posted back to the window, which takes it with TakePosted. The worker never touches
// a window: a result that cannot be posted (the window is gone) goes with the worker, and a worker
// that never returns is left behind, never waited for.
#include <windows.h>

#include <functional>
#include <memory>
#include <system_error>
#include <thread>

namespace tidewell {

// Does `work` on a thread of its own and posts `message` (lParam: `result`, now the receiver's)
// to `window`. When no thread can be made the work is done here: slower, but nothing is lost.
template <typename Result>
void DoOnWorker(HWND window, UINT message, std::unique_ptr<Result> result,
                std::function<void(Result&)> work) {
    Result* const taken = result.release();
    const auto finish = [window, message, taken, work = std::move(work)] {
        std::unique_ptr<Result> done(taken);
        work(*done);
        if (::PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(done.get()))) {
            done.release();
        }
    };
    try {
        std::thread(finish).detach();
    } catch (const std::system_error&) {
        finish();  // the thread was never made: the work is still to do
    }
}

// The result that a worker posted with `message`.
template <typename Result>
std::unique_ptr<Result> TakePosted(LPARAM lParam) {
    return std::unique_ptr<Result>(reinterpret_cast<Result*>(lParam));
}

}  // namespace tidewell
