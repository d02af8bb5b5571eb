#include "copies/copy_ahead.h"

#include <set>

#include "copies/copy_record.h"

namespace tidewell {

std::vector<std::wstring> CopyAheadOrder(const std::vector<PlaylistEntry>& list, std::size_t next,
                                         const std::vector<PlaylistEntry>& announcement,
                                         bool sweep) {
    std::vector<std::wstring> order;
    std::set<std::wstring> seen;
    const auto add = [&](const std::wstring& path) {
        if (seen.insert(CopyFolderName(path)).second) order.push_back(path);
    };
    if (list.empty() && !sweep) return order;
    const std::size_t count = sweep ? list.size() : std::min<std::size_t>(list.size(), 1);
    for (std::size_t i = 0; i < count; ++i) add(list[(next + i) % list.size()].path);
    if (sweep) {
        for (const PlaylistEntry& entry : announcement) add(entry.path);
    }
    return order;
}

}  // namespace tidewell
