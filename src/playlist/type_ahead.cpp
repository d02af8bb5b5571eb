#include "playlist/type_ahead.h"

namespace tidewell {
namespace {

std::wstring_view TextOf(const std::wstring& row) {
    return row;
}
std::wstring_view TextOf(const PlaylistEntry& row) {
    return row.path;
}

template <class Row>
int FindRow(const std::vector<Row>& rows, const TypeAheadQuery& query, SameIgnoringCase same) {
    const int count = static_cast<int>(rows.size());
    const std::size_t wanted = query.typed.size();
    if (count == 0 || wanted == 0) return -1;
    const int first = query.start >= 0 && query.start < count ? query.start : 0;
    const int last = query.wrap ? first + count : count;
    for (int k = first; k < last; ++k) {
        const int row = k % count;
        const std::wstring_view entry = TextOf(rows[static_cast<std::size_t>(row)]);
        if (entry.size() < wanted || (!query.partial && entry.size() != wanted)) continue;
        if (same(entry.substr(0, wanted), query.typed)) return row;
    }
    return -1;
}

}  // namespace

int FindTypeAheadRow(const std::vector<std::wstring>& rows, const TypeAheadQuery& query,
                     SameIgnoringCase same) {
    return FindRow(rows, query, same);
}

int FindTypeAheadRow(const std::vector<PlaylistEntry>& rows, const TypeAheadQuery& query,
                     SameIgnoringCase same) {
    return FindRow(rows, query, same);
}

}  // namespace tidewell
