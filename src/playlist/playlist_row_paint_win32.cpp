#include "playlist/playlist_row_paint_win32.h"

#include <commctrl.h>

#include "common/system_dpi_win32.h"
#include "common/unique_handle_win32.h"
#include "playlist/path_compaction.h"

namespace tidewell {
namespace {

// Room between the column's edges and the label's text, at 96 DPI, as the list leaves it.
constexpr int kLabelPadding = 5;

bool ShowsFocusRectangles(HWND list) {
    const auto uiState = static_cast<UINT>(::SendMessageW(list, WM_QUERYUISTATE, 0, 0));
    return (uiState & UISF_HIDEFOCUS) == 0;
}

}  // namespace

RowLook LookOfRow(std::wstring_view path, std::wstring_view summary, bool selected,
                  bool listFocused, bool unreachable) {
    // A selection stays visible while another control has the focus (the list shows it always),
    // in the button face rather than the highlight.
    if (selected && listFocused) return {path, summary, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT};
    if (selected) return {path, summary, COLOR_BTNTEXT, COLOR_BTNFACE};
    return {path, summary, unreachable ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT, COLOR_WINDOW};
}

void PaintRow(HWND list, HDC dc, int row, const RowLook& look) {
    RECT bounds{};
    RECT label{};
    if (!ListView_GetItemRect(list, row, &bounds, LVIR_BOUNDS) ||
        !ListView_GetItemRect(list, row, &label, LVIR_LABEL))
        return;
    ::FillRect(dc, &bounds, ::GetSysColorBrush(look.background));

    const SelectedObject font(dc,
                              reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    const int padding = ::MulDiv(kLabelPadding, SystemDpi(), 96);
    label.left += padding;
    label.right -= padding;
    const std::wstring shown = CompactRowLabel(
        look.text, look.summary, label.right - label.left, [dc](std::wstring_view text) {
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
            return static_cast<int>(extent.cx);
        });
    ::SetTextColor(dc, ::GetSysColor(look.textColour));
    ::SetBkColor(dc, ::GetSysColor(look.background));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &label,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);

    const bool focusedRow = ListView_GetItemState(list, row, LVIS_FOCUSED) & LVIS_FOCUSED;
    if (focusedRow && ::GetFocus() == list && ShowsFocusRectangles(list))
        ::DrawFocusRect(dc, &bounds);
}

}  // namespace tidewell
