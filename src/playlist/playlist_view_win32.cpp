#include "playlist/playlist_view_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "common/system_dpi_win32.h"
#include "playlist/playlist_edit.h"
#include "playlist/playlist_row_paint_win32.h"
#include "playlist/type_ahead.h"

namespace tidewell {

namespace {

constexpr UINT_PTR kSubclassId = 0x504C;  // any id unique to this subclass
// Posted to the list after appends, so that the control learns the new row count once per batch.
constexpr UINT kSyncRowCount = WM_APP + 0x504C;

bool SelectionChanged(UINT oldState, UINT newState) {
    return ((oldState ^ newState) & LVIS_SELECTED) != 0;
}

}  // namespace

PlaylistView::PlaylistView(HWND list, std::function<void()> onSelectionEvent)
    : list_(list), onSelectionEvent_(std::move(onSelectionEvent)) {
    ::SetWindowSubclass(list_, &PlaylistView::SubclassProc, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
    // Rows draw their paths shortened in the middle; the tip shows a cut row's whole path, and a
    // row with settings its path and its whole summary, which the row may cut or leave out.
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_LABELTIP | LVS_EX_INFOTIP,
                                        LVS_EX_LABELTIP | LVS_EX_INFOTIP);
}

PlaylistView::~PlaylistView() {
    ::RemoveWindowSubclass(list_, &PlaylistView::SubclassProc, kSubclassId);
}

int PlaylistView::SelectedIndex() const {
    return static_cast<int>(ListView_GetNextItem(list_, -1, LVNI_SELECTED));
}

std::vector<int> PlaylistView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

void PlaylistView::Append(PlaylistEntry entry) {
    entries_.push_back(std::move(entry));
    MarkRowCountStale();
}

void PlaylistView::AppendEntries(std::vector<PlaylistEntry> entries) {
    if (entries.empty()) return;
    entries_.insert(entries_.end(), std::make_move_iterator(entries.begin()),
                    std::make_move_iterator(entries.end()));
    MarkRowCountStale();
}

void PlaylistView::SetSettings(std::size_t index, EntrySettings settings) {
    entries_.at(index).settings = std::move(settings);
    const int row = static_cast<int>(index);
    RedrawRows(row, row);
}

void PlaylistView::SetSelectedIndex(int index) {
    const int current = SelectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) {
        if (current >= 0) ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
        return;
    }
    if (current == index) return;
    // Single selection is the list's style, but unmarking first does not rely on the control to
    // enforce it for selections made by program.
    if (current >= 0) ListView_SetItemState(list_, current, 0, LVIS_SELECTED);
    ListView_SetItemState(list_, index, LVIS_SELECTED, LVIS_SELECTED);
}

void PlaylistView::RemoveAll() {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    entries_.clear();
    ListView_DeleteAllItems(list_);
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

void PlaylistView::SetUnreachable(std::vector<std::wstring> paths) {
    unreachable_ = {std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end())};
    ::InvalidateRect(list_, nullptr, TRUE);
}

bool PlaylistView::IsUnreachable(std::size_t index) const {
    return !unreachable_.empty() && unreachable_.contains(entries_.at(index).path);
}

void PlaylistView::RemoveSelected() {
    const int selected = SelectedIndex();
    const int next = RemoveSelectedEntry(entries_, selected);
    // The control drops the row and its selected state, and moves the states of the rows below
    // up by one, so the row that follows does not inherit the selection.
    if (selected >= 0) ListView_DeleteItem(list_, selected);
    SetSelectedIndex(next);
}

bool PlaylistView::MoveSelectedUp() {
    const auto moved = MoveEntryUp(entries_, SelectedIndex());
    if (!moved) return false;
    RedrawRows(*moved, *moved + 1);
    SetSelectedIndex(*moved);
    return true;
}

bool PlaylistView::MoveSelectedDown() {
    const auto moved = MoveEntryDown(entries_, SelectedIndex());
    if (!moved) return false;
    RedrawRows(*moved - 1, *moved);
    SetSelectedIndex(*moved);
    return true;
}

void PlaylistView::MoveDragged(int dragged, int target) {
    const auto moved = DragMoveEntry(entries_, dragged, target);
    if (!moved) {
        ::InvalidateRect(list_, nullptr, TRUE);
        return;
    }
    // Only the text of the rows between the two places changed; the control keeps no row data.
    RedrawRows(std::min(dragged, *moved), std::max(dragged, *moved));
    SetSelectedIndex(*moved);
    ::UpdateWindow(list_);
}

int PlaylistView::RowAt(POINT clientPoint) const {
    LVHITTESTINFO hit{};
    hit.pt = clientPoint;
    const int row = static_cast<int>(ListView_HitTest(list_, &hit));
    if (row < 0 || (hit.flags & LVHT_ONITEM) == 0) return -1;
    return static_cast<std::size_t>(row) < entries_.size() ? row : -1;
}

void PlaylistView::SetAutoColumnWidth() {
    autoColumnWidth_ = true;
    FitColumn();
}

bool PlaylistView::HandleNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != list_) return false;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& item = reinterpret_cast<const NMLVDISPINFOW&>(header).item;
            const bool wantsText = (item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0;
            if (wantsText && item.iItem >= 0 &&
                static_cast<std::size_t>(item.iItem) < entries_.size()) {
                const std::wstring& path = entries_[static_cast<std::size_t>(item.iItem)].path;
                const std::size_t length =
                    std::min(path.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
                std::copy_n(path.data(), length, item.pszText);
                item.pszText[length] = L'\0';
            }
            result = 0;
            return true;
        }
        case LVN_GETINFOTIPW: {
            const auto& tip = reinterpret_cast<const NMLVGETINFOTIPW&>(header);
            if (tip.iItem >= 0 && static_cast<std::size_t>(tip.iItem) < entries_.size() &&
                tip.pszText && tip.cchTextMax > 0) {
                const PlaylistEntry& entry = entries_[static_cast<std::size_t>(tip.iItem)];
                const std::wstring summary = SettingsSummary(entry.settings);
                // Without settings the tip stays empty, and the list unfolds a cut path instead.
                const std::wstring text = summary.empty() ? L"" : entry.path + L"\n" + summary;
                const std::size_t length =
                    std::min(text.size(), static_cast<std::size_t>(tip.cchTextMax) - 1);
                std::copy_n(text.data(), length, tip.pszText);
                tip.pszText[length] = L'\0';
            }
            result = 0;
            return true;
        }
        case NM_CUSTOMDRAW:
            result = OnCustomDraw(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
            return true;
        case LVN_BEGINDRAG:  // the control's own detection, at the system's drag metric
            result = 0;
            return true;
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) &&
                SelectionChanged(change.uOldState, change.uNewState))
                onSelectionEvent_();
            result = 0;
            return true;
        }
        case LVN_ODFINDITEMW: {
            // Type-ahead: the list asks which row starts with what the user typed. Left to the
            // default answer (0), every key press would select the first row.
            const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
            result = FindRow(find.iStart, find.lvfi);
            return true;
        }
        case LVN_ODSTATECHANGED: {
            const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
            if (SelectionChanged(change.uOldState, change.uNewState)) onSelectionEvent_();
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

LRESULT PlaylistView::OnCustomDraw(const NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
            if (row >= entries_.size()) return CDRF_DODEFAULT;
            const int index = static_cast<int>(row);
            const bool selected = ListView_GetItemState(list_, index, LVIS_SELECTED) != 0;
            const bool unreachable = IsUnreachable(row);
            // Only the drawn label says so: the entry itself, stored and played, is the path.
            std::wstring label = entries_[row].path;
            if (unreachable) label += kUnreachableSuffix;
            const std::wstring summary = SettingsSummary(entries_[row].settings);
            PaintRow(list_, draw.nmcd.hdc, index,
                     LookOfRow(label, summary, selected, ::GetFocus() == list_, unreachable));
            return CDRF_SKIPDEFAULT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

int PlaylistView::FindRow(int start, const LVFINDINFOW& find) const {
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz) return -1;
    const TypeAheadQuery query{find.psz, start, (find.flags & LVFI_PARTIAL) != 0,
                               (find.flags & LVFI_WRAP) != 0};
    return FindTypeAheadRow(entries_, query, [](std::wstring_view a, std::wstring_view b) {
        return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                      static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
    });
}

void PlaylistView::SetDragHandlers(DragHandlers handlers) {
    dragHandlers_ = std::move(handlers);
}

LRESULT CALLBACK PlaylistView::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
    auto* view = reinterpret_cast<PlaylistView*>(self);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &PlaylistView::SubclassProc, kSubclassId);
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    return view->HandleListMessage(message, wParam, lParam);
}

LRESULT PlaylistView::HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Whoever asks the control anything (this class, a paint, the user, another program) sees
    // every appended row.
    SyncRowCount();
    if (message == kSyncRowCount) return 0;
    if (message == WM_GETDLGCODE && drag_ == DragState::None) {
        // Enter on a row belongs to the list (it opens the row's settings), not to the window's
        // dialog navigation.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = ::DefSubclassProc(list_, message, wParam, lParam);
        const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
        return enter ? code | DLGC_WANTMESSAGE : code;
    }
    bool handled = false;
    const LRESULT dragResult = HandleDragMessage(message, wParam, lParam, handled);
    if (handled) return dragResult;
    const LRESULT result = ::DefSubclassProc(list_, message, wParam, lParam);
    if (message == WM_SIZE && autoColumnWidth_) FitColumn();
    return result;
}

LRESULT PlaylistView::HandleDragMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    handled = true;
    if (drag_ == DragState::None) {
        // The second press of a double click holds the button as well as a first one does.
        if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) {
            handled = false;
            return 0;
        }
        // The control selects the row (and may run a drag detection of its own, whose
        // notification is ignored); a press on a row it then holds selected arms the drag.
        const int row = RowAt(at);
        const LRESULT result = ::DefSubclassProc(list_, message, wParam, lParam);
        if (row >= 0 && row == SelectedIndex() && dragHandlers_.end) ArmDrag(at);
        return result;
    }
    switch (message) {
        case WM_GETDLGCODE: {
            // The main loop runs the window's dialog navigation, which turns Esc into a cancel
            // command for the window unless the control with the focus asks for it.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const LRESULT code = ::DefSubclassProc(list_, message, wParam, lParam);
            const bool escape = key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE;
            return escape ? code | DLGC_WANTMESSAGE : code;
        }
        case WM_MOUSEMOVE:
            if (!(wParam & MK_LBUTTON)) {  // released where the list could not see it
                EndDrag(false, at);
                handled = false;
                return 0;
            }
            if (drag_ == DragState::Armed && IsPastDragThreshold(at)) drag_ = DragState::Dragging;
            if (drag_ == DragState::Dragging) {
                ::SetCursor(::LoadCursorW(nullptr, DragAcceptedAt(at) ? IDC_ARROW : IDC_NO));
            }
            return 0;  // the control's own drag detection never runs
        case WM_LBUTTONUP:
            EndDrag(true, at);
            handled = false;  // the control still sees the release, so its own click state ends
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) EndDrag(false, at);
            return 0;  // no other key may change the selection under the dragged row
        case WM_RBUTTONDOWN:
        case WM_CAPTURECHANGED:
            EndDrag(false, at);
            return 0;
        default:
            handled = false;
            return 0;
    }
}
// Telling the control its row count costs a scroll-bar update that, on a shown window, takes
// milliseconds: once per appended row that made loading thousands of entries take minutes. Appends
// therefore only mark the count stale; it is handed over before the control next handles any
// message, and a posted message makes sure that happens soon even when nothing else asks.
void PlaylistView::MarkRowCountStale() {
    if (rowCountStale_) return;
    rowCountStale_ = true;
    ::PostMessageW(list_, kSyncRowCount, 0, 0);
}

void PlaylistView::SyncRowCount() {
    if (!rowCountStale_) return;
    rowCountStale_ = false;  // first: the update below sends messages back through here
    ListView_SetItemCountEx(list_, static_cast<int>(entries_.size()),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

// Only rows on screen need repainting; the control would otherwise invalidate every row of the
// range one by one, which for a move across 100,000 rows takes seconds.
void PlaylistView::RedrawRows(int first, int last) {
    const int top = ListView_GetTopIndex(list_);
    const int bottom = top + ListView_GetCountPerPage(list_);
    first = std::max(first, top);
    last = std::min(last, bottom);
    if (first <= last) ListView_RedrawItems(list_, first, last);
}

void PlaylistView::FitColumn() {
    RECT client{};
    ::GetClientRect(list_, &client);
    ListView_SetColumnWidth(list_, 0, client.right - client.left);
}

bool PlaylistView::DragAcceptedAt(POINT clientPoint) const {
    RECT client{};
    ::GetClientRect(list_, &client);
    POINT screen = clientPoint;
    ::ClientToScreen(list_, &screen);
    // Over the header or the scroll bar the point is not a place in the list's rows.
    if (!::PtInRect(&client, clientPoint) || ::WindowFromPoint(screen) != list_) return false;
    return dragHandlers_.over && dragHandlers_.over(list_, clientPoint);
}

void PlaylistView::ArmDrag(POINT clientPoint) {
    // Capture first: taking it may report the loss of an earlier one back here.
    ::SetCapture(list_);
    drag_ = DragState::Armed;
    dragArmedAt_ = clientPoint;
}

bool PlaylistView::IsPastDragThreshold(POINT clientPoint) const {
    const int threshold = ::MulDiv(kDragThreshold, SystemDpi(), 96);
    return std::abs(clientPoint.x - dragArmedAt_.x) >= threshold ||
           std::abs(clientPoint.y - dragArmedAt_.y) >= threshold;
}

void PlaylistView::EndDrag(bool drop, POINT clientPoint) {
    const bool accepted = drag_ == DragState::Dragging && drop && DragAcceptedAt(clientPoint);
    drag_ = DragState::None;  // before the release: it sends WM_CAPTURECHANGED back here
    if (::GetCapture() == list_) ::ReleaseCapture();
    if (accepted && dragHandlers_.end) dragHandlers_.end(clientPoint);
}

}  // namespace tidewell
