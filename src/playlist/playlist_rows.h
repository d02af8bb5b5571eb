#pragma once
// The playlist as the other commands see it: its entries and its one selected row. The play run
// reads them; the stored preferences and setting files read and replace them.
#include <cstddef>
#include <string>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

class PlaylistRows {
  public:
    // Each entry with its settings, which go wherever the entry goes.
    virtual const std::vector<PlaylistEntry>& Entries() const = 0;
    std::vector<std::wstring> Paths() const { return PathsOf(Entries()); }
    std::size_t Count() const { return Entries().size(); }
    // The selected row, or -1.
    virtual int SelectedIndex() const = 0;
    // Marks row `index` selected, or unmarks every row when `index` is negative or past the end.
    virtual void SetSelectedIndex(int index) = 0;
    // Adds rows at the end; the selection stays as it was.
    virtual void AppendEntries(std::vector<PlaylistEntry> entries) = 0;
    void AppendAll(std::vector<std::wstring> paths) { AppendEntries(EntriesOf(std::move(paths))); }
    virtual void RemoveAll() = 0;
    // The paths that could not be reached when they were last checked (their drive, share or
    // folder did not answer): the list shows them as such. Replaces the earlier ones.
    virtual void SetUnreachable(std::vector<std::wstring> paths) { static_cast<void>(paths); }

  protected:
    ~PlaylistRows() = default;
};

}  // namespace tidewell
