#pragma once
// The presentation program and a presentation as the launch takes them. Only the check (in
// path_check_win32.cpp) makes them: it refuses text that no file name can be and resolves the rest
// to the full path that the system would use. What the trust rules judge and what starts is that
// one full path, so no caller can launch text that was not checked, nor check one text and launch
// another.
#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

class CheckedProgram {
  public:
    // Full, with 8.3 parts made long where the file exists: judged, named to the user, stored as
    // the program the user chose, given its switch set, and started. Never the text it came from.
    const std::wstring& FullPath() const { return fullPath_; }

  private:
    explicit CheckedProgram(std::wstring fullPath) : fullPath_(std::move(fullPath)) {}
    friend std::optional<CheckedProgram> CheckProgram(std::wstring_view text);

    std::wstring fullPath_;
};

class CheckedPresentation {
  public:
    // Full: what the program is given, which never reads as a switch of its own.
    const std::wstring& FullPath() const { return fullPath_; }

  private:
    explicit CheckedPresentation(std::wstring fullPath) : fullPath_(std::move(fullPath)) {}
    friend std::optional<CheckedPresentation> CheckPresentation(std::wstring_view text);

    std::wstring fullPath_;
};

// The presentation program's command line: its own path, the switch set its full path calls for and
// the presentation, which the program reads back as its two or three arguments.
std::wstring BuildShowCommandLine(const CheckedProgram& program,
                                  const CheckedPresentation& presentation);

}  // namespace tidewell
