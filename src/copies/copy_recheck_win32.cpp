#include "copies/copy_recheck_win32.h"

#include <windows.h>

#include <mutex>
#include <set>

#include "common/file_time_win32.h"
#include "copies/original_read_win32.h"
#include "copies/presentation_check_win32.h"

namespace tidewell {
namespace {

std::uint64_t WindowsStartedAt() {
    return FileTimeNow() - ::GetTickCount64() * 10'000;
}

// The copies found whole since this program started, by path.
struct Checked {
    std::mutex mutex;
    std::set<std::wstring> copies;
};
Checked& CheckedCopies() {
    static Checked checked;
    return checked;
}

}  // namespace

bool CopyStillWhole(const std::wstring& copyFile, const CopyRecord& note) {
    if (note.copiedAt >= WindowsStartedAt()) return true;
    Checked& checked = CheckedCopies();
    {
        std::lock_guard lock(checked.mutex);
        if (checked.copies.contains(copyFile)) return true;
    }
    PresentationFinding finding;
    const OriginalRead read = MapOriginal(copyFile, {}, [&](std::span<const std::uint8_t> bytes) {
        finding = CheckPresentationBytes(bytes);
    });
    if (read.outcome != OriginalRead::Outcome::Read) return true;
    if (read.stamp.size != note.size || !finding.IsWhole()) return false;
    std::lock_guard lock(checked.mutex);
    checked.copies.insert(copyFile);
    return true;
}

}  // namespace tidewell
