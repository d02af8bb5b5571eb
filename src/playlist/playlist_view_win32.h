#pragma once
// The playlist as the rows of the main window's list. The entries live in one vector; the list
// runs in owner-data mode and asks for each visible row's text, so a playlist of any length costs
// the control nothing and can never disagree with what is stored. The selection, on the other
// hand, is the control's own (it is what the user clicks), read back when needed.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "playlist/playlist_rows.h"

namespace tidewell {

class PlaylistView final : public PlaylistRows {
  public:
    // What a drag needs from the window that owns the list: whether the list accepts a drag from
    // `source` at this point, and the move once a drag it accepted is released.
    struct DragHandlers {
        std::function<bool(HWND source, POINT clientPoint)> over;
        std::function<void(POINT clientPoint)> end;
    };

    // `list` is an owner-data report list made by the main window; `onSelectionEvent` runs for
    // every change of a row's selected state, whoever makes it.
    PlaylistView(HWND list, std::function<void()> onSelectionEvent);
    ~PlaylistView();
    PlaylistView(const PlaylistView&) = delete;
    PlaylistView& operator=(const PlaylistView&) = delete;

    HWND Handle() const { return list_; }
    const PlaylistEntry& Entry(std::size_t index) const { return entries_.at(index); }
    const std::vector<PlaylistEntry>& Entries() const override { return entries_; }
    int SelectedIndex() const override;
    // Every selected row, in order.
    std::vector<int> SelectedRows() const;

    // Adds rows at the end; the selection stays as it was.
    void Append(PlaylistEntry entry);
    void AppendEntries(std::vector<PlaylistEntry> entries) override;
    // Gives entry `index` these settings; the row shows their summary after its path.
    void SetSettings(std::size_t index, EntrySettings settings);
    // Marks row `index` selected (unmarking the one before), or unmarks every row when `index` is
    // negative or past the end. Neither the focus mark nor the scroll position moves.
    void SetSelectedIndex(int index) override;
    void RemoveAll() override;
    void SetUnreachable(std::vector<std::wstring> paths) override;
    // Whether entry `index` is one of the paths that could not be reached: drawn greyed.
    bool IsUnreachable(std::size_t index) const;

    // The editing commands on the selected entry; each leaves the moved entry (or the one above
    // the removed entry) selected. The moves return false when they had nothing to do.
    void RemoveSelected();
    bool MoveSelectedUp();
    bool MoveSelectedDown();
    // Moves entry `dragged` to just above row `target`, or to the end for -1, and selects it.
    void MoveDragged(int dragged, int target);
    // The row under a point of the list's client area, or -1.
    int RowAt(POINT clientPoint) const;

    // From now on the only column spans the list's whole client width, also after a resize.
    void SetAutoColumnWidth();

    // Notifications the list sends its parent; true when handled here.
    bool HandleNotify(const NMHDR& header, LRESULT& result);
    // Drags start here, not at the system's drag metric: a press on a row arms one, and it begins
    // once the pointer, button held, is kDragThreshold pixels (at 96 DPI) or more away from the
    // press, horizontally or vertically. From the press on the list holds the mouse until the
    // button is released (drop), Esc is pressed or the capture is lost (both cancel). Only a
    // release that `handlers.over` accepts reaches `handlers.end`; without handlers no drag starts.
    void SetDragHandlers(DragHandlers handlers);
    bool IsDragArmed() const { return drag_ == DragState::Armed; }
    bool IsDragging() const { return drag_ == DragState::Dragging; }
    static constexpr int kDragThreshold = 5;

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MarkRowCountStale();
    void SyncRowCount();
    void RedrawRows(int first, int last);
    void FitColumn();
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw);
    int FindRow(int start, const LVFINDINFOW& find) const;
    bool DragAcceptedAt(POINT clientPoint) const;
    void ArmDrag(POINT clientPoint);
    bool IsPastDragThreshold(POINT clientPoint) const;
    // Ends an armed or running drag; only a running one that is dropped can move the entry.
    void EndDrag(bool drop, POINT clientPoint);
    LRESULT HandleDragMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    HWND list_;
    std::function<void()> onSelectionEvent_;
    std::vector<PlaylistEntry> entries_;
    // By path, so that the mark moves with its entry whatever the edits do.
    std::unordered_set<std::wstring> unreachable_;
    bool rowCountStale_ = false;
    bool autoColumnWidth_ = false;
    enum class DragState { None, Armed, Dragging };
    DragState drag_ = DragState::None;
    POINT dragArmedAt_{};
    DragHandlers dragHandlers_;
};

}  // namespace tidewell
