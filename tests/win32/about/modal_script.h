#pragma once
// Acts as the user while code under test sits in a modal loop: each step runs on its own timer
// tick, from inside that loop. When the steps are done and the box is still up, a guard closes it
// after a while and says so, so that a faulty box fails its test instead of hanging the run.
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace tidewell::testing {

class ModalScript {
  public:
    using Step = std::function<void()>;

    ModalScript(HWND box, std::vector<Step> steps) : box_(box), steps_(std::move(steps)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, kTickMilliseconds, &ModalScript::Tick);
    }
    ~ModalScript() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    std::size_t StepsRun() const { return next_; }
    bool GuardClosedTheBox() const { return guardClosed_; }

  private:
    static constexpr UINT kTickMilliseconds = 20;
    static constexpr int kGuardTicks = 100;  // two seconds after the last step

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* self = current_;
        if (!self) return;
        if (self->next_ < self->steps_.size()) {
            // Taken before it runs: a step that ends the modal loop must not run twice.
            const Step& step = self->steps_[self->next_++];
            step();
            return;
        }
        ++self->idleTicks_;
        if (self->idleTicks_ == kGuardTicks && ::IsWindowVisible(self->box_)) {
            self->guardClosed_ = true;
            ::PostMessageW(self->box_, WM_CLOSE, 0, 0);
        }
        // A box that ignores even that: WM_QUIT ends any loop built on the program's pump, and
        // the fixture takes it from the queue afterwards.
        if (self->idleTicks_ == 2 * kGuardTicks && self->guardClosed_) ::PostQuitMessage(0);
    }

    static inline ModalScript* current_ = nullptr;
    HWND box_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int idleTicks_ = 0;
    bool guardClosed_ = false;
    UINT_PTR timer_ = 0;
};

}  // namespace tidewell::testing
