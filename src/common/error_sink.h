#pragma once
// Where errors that no command checked for end up. A window reports them in its Error box; the
// code that runs inside another window's procedure (a list's drag, the message hook) reaches the
// same box through this interface and RunGuarded.
#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "common/error_text.h"

namespace tidewell {

class ErrorSink {
  public:
    virtual void ReportError(const std::wstring& message) = 0;

  protected:
    ~ErrorSink() = default;
};

// Holds the errors reported to it until what they interrupted has been finished, then passes
// each different one on once.
class HeldErrors final : public ErrorSink {
  public:
    void ReportError(const std::wstring& message) override {
        if (std::find(messages_.begin(), messages_.end(), message) == messages_.end())
            messages_.push_back(message);
    }
    void PassTo(ErrorSink& sink) {
        for (const std::wstring& message : std::exchange(messages_, {})) sink.ReportError(message);
    }

  private:
    std::vector<std::wstring> messages_;
};

// Runs `action`; an error it raises is reported to `sink` and goes no further, so that none can
// unwind through the system's code that called us.
template <typename Action>
void RunGuarded(ErrorSink& sink, Action&& action) noexcept {
    try {
        action();
    } catch (...) {
        sink.ReportError(UserErrorText(std::current_exception()));
    }
}

}  // namespace tidewell
