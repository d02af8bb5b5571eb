#pragma once
// The playlist as the other commands see it: its entries and its one selected row. The play run
// reads them; the stored preferences and setting files read and replace them.
#include <cstddef>
#include <string>
#include <vector>

namespace tidewell {

class PlaylistRows {
  public:
    virtual const std::vector<std::wstring>& Entries() const = 0;
    std::size_t Count() const { return Entries().size(); }
    // The selected row, or -1.
    virtual int SelectedIndex() const = 0;
    // Marks row `index` selected, or unmarks every row when `index` is negative or past the end.
    virtual void SetSelectedIndex(int index) = 0;
    // Adds rows at the end; the selection stays as it was.
    virtual void AppendAll(std::vector<std::wstring> paths) = 0;
    virtual void RemoveAll() = 0;
    // The paths that could not be reached when they were last checked (their drive, share or
    // folder did not answer): the list shows them as such. Replaces the earlier ones.
    virtual void SetUnreachable(std::vector<std::wstring> paths) { static_cast<void>(paths); }

  protected:
    ~PlaylistRows() = default;
};

}  // namespace tidewell
