#pragma once
// Type-ahead in the playlist: which row the list jumps to for the text the user typed.
#include <string>
#include <string_view>
#include <vector>

#include "playlist/entry_settings.h"

namespace tidewell {

struct TypeAheadQuery {
    std::wstring_view typed;
    int start = 0;         // first row to look at; one outside the rows means the first row
    bool partial = false;  // the row need only begin with the text, not equal it
    bool wrap = false;     // after the last row, go on from the first up to `start`
};

// Whether two texts of the same length are equal ignoring case. Given by the caller, because the
// case rules the user expects are the system's, not the C++ library's.
using SameIgnoringCase = bool (*)(std::wstring_view, std::wstring_view);

// The first matching row from the query's start, or -1 when none matches or nothing was typed.
int FindTypeAheadRow(const std::vector<std::wstring>& rows, const TypeAheadQuery& query,
                     SameIgnoringCase same);
// The same over the entries' paths.
int FindTypeAheadRow(const std::vector<PlaylistEntry>& rows, const TypeAheadQuery& query,
                     SameIgnoringCase same);

}  // namespace tidewell
