#pragma once
// The one error type for failures that a command does not check for itself. It carries the wide
// text that the Error box shows; the window's dispatch catches it and the program goes on.
#include <exception>
#include <string>

namespace tidewell {

class AppError : public std::exception {
  public:
    explicit AppError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return "tidewell::AppError"; }

  private:
    std::wstring message_;
};

}  // namespace tidewell
