#pragma once
// Helpers for the end-to-end tests of shows that run with nobody at the desk: a preferences key
// of the test's own, setting files, the program's message boxes, its exit code, and the icon in
// the notification area as a mouse reaches it.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle_win32.h"
#include "e2e_support.h"
#include "win32/support/standin_support.h"

namespace tidewell::e2e {

// The test preferences key (every program started by StartProgram uses it), empty at the start
// of a test and removed at its end.
class TestPreferences {
  public:
    TestPreferences();
    ~TestPreferences();
    TestPreferences(const TestPreferences&) = delete;
    TestPreferences& operator=(const TestPreferences&) = delete;

    bool Store(const std::vector<std::wstring>& files, const std::wstring& program, int monitor) {
        return StorePreferences(files, program, monitor);
    }
    // A stored value as the program wrote it; none when the value (or the key) is missing.
    std::optional<std::wstring> Value(const wchar_t* name) const;
    bool KeyExists() const;
    void Remove();
};

// A named event of the test's own, handed to the stand-in through one of its settings:
// "END_EVENT" (each Set ends its newest open show) or "SHOW_EVENT" (each Set lets one show window
// that is held back appear).
class StandinEvent {
  public:
    StandinEvent(testing::StandinSettings& standin, const std::wstring& setting)
        // A name of its own: a program an earlier test left running must never take this
        // test's signal.
        : name_(L"tidewell-e2e-" + setting + L"-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(++made_)),
          event_(::CreateEventW(nullptr, FALSE, FALSE, name_.c_str())) {
        standin.Set(setting, name_);
    }
    void Set() { ::SetEvent(event_.get()); }

  private:
    static inline unsigned made_ = 0;
    std::wstring name_;
    UniqueKernelHandle event_;
};

// Writes a setting file as "Save setting" does: UTF-16LE with its mark, one line each.
void WriteSettingFile(const std::wstring& path, const std::vector<std::wstring>& lines);

// How many threads the process has now.
std::size_t ThreadCount(DWORD processId);

// The process's exit code once it has ended within the time; none when it still runs.
std::optional<DWORD> WaitForExit(const RunningProgram& program, std::chrono::milliseconds timeout);

// Runs tidewell.exe with these arguments to its end; the exit code, or none after 20 s.
std::optional<DWORD> RunToEnd(const std::wstring& arguments);

// A message box of the process, by its caption, once it is shown; its text; its OK button.
HWND WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout);
std::wstring MessageBoxText(HWND box);
void PressOk(HWND box);

// The icons of the notification area sit, under Wine without a desktop shell, in a window of
// their own, one small square each from the left. Right-clicks the first, as a mouse does.
bool RightClickFirstNotificationIcon();
bool NotificationAreaShown();
// The popup menu that the process has open, once it is shown; null when none is within the time.
HWND WaitForPopupMenu(DWORD processId, std::chrono::milliseconds timeout);
// Clicks the item (counted from 0) of an open menu of `itemCount` items of one height.
void ClickMenuItem(HWND menu, int index, int itemCount);

}  // namespace tidewell::e2e
