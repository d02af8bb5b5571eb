#pragma once
// Creates the real main window in-process, with scripted dialogs, a recording shell, a monitor
// list of the test's choosing and a preferences key of its own below HKEY_CURRENT_USER, so that
// the tests never touch a user's stored preferences.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form1_win32.h"
#include "support/scripted_dialogs.h"

namespace tidewell::testing {

// A fresh, unique key path below HKCU; deleted again by the fixture.
std::wstring UniqueTestKeyPath();
void DeleteTestKey(const std::wstring& path);

std::vector<MonitorEntry> MonitorsOfSize(std::initializer_list<RECT> bounds);

// Handles every message queued for this thread now, through the program's own pump.
void PumpMessages();

class FormFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window (its creation handler runs); monitors default to two of 1024x768.
    void CreateForm(std::vector<MonitorEntry> monitors = {});
    // Sends WM_COMMAND for a command id, as a click or menu choice does.
    void Click(int commandId);

    // What the user sees in the window's controls, and sets there as tests need.
    HWND Control(int id) const { return form_->Control(id); }
    std::wstring ProgramPath() const;
    void SetProgramPath(const std::wstring& path);
    int MonitorNumber() const;
    void SetMonitorNumber(int number);
    // Dispatches messages as the program's loop does until the run that plays has ended (true)
    // or the time is up (false).
    bool PlayToTheEnd(DWORD timeoutMs = 60'000);
    // A toolbar button's or push button's enabled state.
    bool IsCommandEnabled(int commandId) const;

    std::wstring keyPath_;
    // When set before CreateForm, the window draws its toolbar images and starts the placement
    // watchers of its runs with these.
    std::function<UniqueImageList(int size)> drawToolbarImages_;
    WatcherStarter startPlacementWatcher_;
    // When set before CreateForm, what the window reads as the monitor list when displays change.
    std::function<std::vector<MonitorEntry>()> enumerateMonitors_;
    // The runs' timings, short where a test would only wait them out.
    RunTimings runTimings_;
    // What the window's runs asked of SetThreadExecutionState, in order; the test thread's own
    // state is left alone.
    std::vector<EXECUTION_STATE> executionStates_;
    ScriptedDialogs dialogs_;
    RecordingShell shell_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace tidewell::testing
