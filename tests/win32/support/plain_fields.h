#pragma once
// The window's parts that the subsystems see, as plain values: for tests that drive a subsystem
// without creating the main window.
#include <string>
#include <vector>

#include "common/error_sink.h"
#include "common/window_fields.h"
#include "playlist/playlist_rows.h"

namespace tidewell::testing {

class PlainRows final : public PlaylistRows {
  public:
    std::vector<PlaylistEntry> entries;
    int selected = -1;

    const std::vector<PlaylistEntry>& Entries() const override { return entries; }
    int SelectedIndex() const override { return selected; }
    void SetSelectedIndex(int index) override {
        selected = index >= 0 && static_cast<std::size_t>(index) < entries.size() ? index : -1;
    }
    void AppendEntries(std::vector<PlaylistEntry> added) override {
        entries.insert(entries.end(), added.begin(), added.end());
    }
    void RemoveAll() override {
        entries.clear();
        selected = -1;
    }
};

class PlainFields final : public ProgramField, public MonitorSelector {
  public:
    std::wstring program;
    int number = 1;
    int count = 2;

    std::wstring ProgramPath() const override { return program; }
    void SetProgramPath(const std::wstring& path) override { program = path; }
    int MonitorNumber() const override { return number; }
    void SetMonitorNumber(int value) override { number = value; }
    int MonitorCount() const override { return count; }
};

class RecordedErrors final : public ErrorSink {
  public:
    std::vector<std::wstring> messages;
    void ReportError(const std::wstring& message) override { messages.push_back(message); }
};

}  // namespace tidewell::testing
