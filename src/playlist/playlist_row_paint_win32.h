#pragma once
// How the playlist draws one row itself. The row's text stays the entry's full path (the list,
// its label tips and everything that reads the rows see that); only what is drawn is shortened,
// with the folders in the middle left out, so that the drive and the file name stay visible.
#include <windows.h>

#include <string>
#include <string_view>

namespace tidewell {

// What a row's label shows: its path and the summary of its entry's settings (empty for none),
// both before shortening, and the system colours (COLOR_*) of the text and of the row behind it.
struct RowLook {
    std::wstring_view text;
    std::wstring_view summary;
    int textColour;
    int background;
};

// Drawn after the path of an entry whose drive, share or folder did not answer when it was checked.
inline constexpr wchar_t kUnreachableSuffix[] = L" (not reachable)";

// The one place that decides a row's look from its entry and state. `listFocused`: whether the
// list has the keyboard focus, which is what makes a selection the highlighted one. `path` is
// the label as drawn, with kUnreachableSuffix for an `unreachable` entry, which is also greyed
// unless selected; `summary` is drawn after it in the room that the path leaves.
RowLook LookOfRow(std::wstring_view path, std::wstring_view summary, bool selected,
                  bool listFocused, bool unreachable = false);

// Paints row `row` of report list `list` into `dc` as `look` says: the row's background, the
// path and summary shortened to the column, and the focus rectangle where the list would draw one.
void PaintRow(HWND list, HDC dc, int row, const RowLook& look);

}  // namespace tidewell
