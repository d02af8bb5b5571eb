#pragma once
// The one error type for failures that a command does not check for itself. It carries the wide
// text that the Error box shows; the window's dispatch catches it and the program goes on. An
// error raised by a failed system call also names the call and carries the system's error code,
// for whoever looks into it; the user sees only the message.
#include <exception>
#include <string>

namespace tidewell {

class AppError : public std::exception {
  public:
    explicit AppError(std::wstring message) : message_(std::move(message)) {}
    AppError(std::wstring message, std::wstring failedCall, unsigned long systemCode)
        : message_(std::move(message)),
          failedCall_(std::move(failedCall)),
          systemCode_(systemCode) {}
    const std::wstring& Message() const noexcept { return message_; }
    // The system call that failed, or empty when the error is not a system call's.
    const std::wstring& FailedCall() const noexcept { return failedCall_; }
    unsigned long SystemCode() const noexcept { return systemCode_; }
    const char* what() const noexcept override { return "tidewell::AppError"; }

  private:
    std::wstring message_;
    std::wstring failedCall_;
    unsigned long systemCode_ = 0;
};

}  // namespace tidewell
