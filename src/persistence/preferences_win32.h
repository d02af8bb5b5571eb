#pragma once
// The stored preferences: the playlist, the program and the monitor number, restored once while
// the main window is created and stored at every close, under one registry key.
#include <future>
#include <optional>
#include <string>

#include "common/window_fields.h"
#include "persistence/kept_entries_win32.h"
#include "playback/remembered_monitors.h"
#include "playlist/playlist_rows.h"

namespace tidewell {

// The stored entries that are not gone, read and checked from now on on a thread of their own, so
// that the window is made meanwhile; Preferences::Load of the same key takes them.
std::future<KeptEntries> ReadStoredEntriesAhead(const std::wstring& keyPath);

class Preferences {
  public:
    // `keyPath` is below HKEY_CURRENT_USER.
    Preferences(std::wstring keyPath, PlaylistRows& playlist, ProgramField& program,
                MonitorSelector& monitor);

    // Entries and a program that no longer exist are left out; those that cannot be reached are
    // kept. A key that cannot be opened means a start with defaults and no message. The entries
    // are `storedAhead`'s when it has them to give, else read here.
    void Load(std::future<KeptEntries> storedAhead = {});
    // Throws AppError when a value cannot be written; the later values then stay unwritten.
    void Save();

    // The program the user chose (see kChosenProgramValueName); stored at every close.
    const std::wstring& ChosenProgram() const { return chosenProgram_; }
    void SetChosenProgram(std::wstring path) { chosenProgram_ = std::move(path); }

    // A stored monitor number whose monitor was not there at start. The selector shows 1 then,
    // and the number is stored again until the monitor number is chosen otherwise.
    std::optional<int> AbsentMonitor() const { return absentMonitor_; }
    void ForgetAbsentMonitor() { absentMonitor_.reset(); }

    // Which monitor each number means on this computer; stored at every close.
    RememberedMonitors& Monitors() { return monitors_; }

  private:
    std::wstring keyPath_;
    PlaylistRows& playlist_;
    ProgramField& program_;
    MonitorSelector& monitor_;
    std::wstring chosenProgram_;
    std::optional<int> absentMonitor_;
    RememberedMonitors monitors_;
};

// The key named by the TIDEWELL_PREFERENCES_KEY variable, or the program's own.
std::wstring PreferencesKeyFromEnvironment();

}  // namespace tidewell
