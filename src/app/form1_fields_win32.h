#pragma once
// The main window's program field and Monitor selector over their controls: the read-only edit
// that shows the program's path, and the up-down that holds the monitor number.
#include <windows.h>
#include <commctrl.h>

#include "common/window_fields.h"
#include "common/window_text_win32.h"

namespace tidewell {

class EditProgramField final : public ProgramField {
  public:
    void Attach(HWND edit) { edit_ = edit; }
    std::wstring ProgramPath() const override { return WindowText(edit_); }
    void SetProgramPath(const std::wstring& path) override {
        ::SetWindowTextW(edit_, path.c_str());
    }

  private:
    HWND edit_ = nullptr;
};

class UpDownMonitorSelector final : public MonitorSelector {
  public:
    // The range is 1 to `count`, starting at 1.
    void Attach(HWND upDown, int count) {
        upDown_ = upDown;
        count_ = count;
        ::SendMessageW(upDown_, UDM_SETRANGE32, 1, count_);
        ::SendMessageW(upDown_, UDM_SETPOS32, 0, 1);
    }
    // The displays changed: the range is 1 to the new count, the position stays.
    void SetMonitorCount(int count) {
        count_ = count;
        ::SendMessageW(upDown_, UDM_SETRANGE32, 1, count_);
    }
    int MonitorNumber() const override {
        return static_cast<short>(::SendMessageW(upDown_, UDM_GETPOS32, 0, 0));
    }
    void SetMonitorNumber(int number) override { ::SendMessageW(upDown_, UDM_SETPOS32, 0, number); }
    int MonitorCount() const override { return count_; }

  private:
    HWND upDown_ = nullptr;
    int count_ = 1;
};

}  // namespace tidewell
