#pragma once
// The local copy of a presentation that lives on another computer or a removable drive: the
// folder it is kept in (named for the original's full path, so that the copy keeps the original's
// file name) and the note beside it that says what it was made from and when.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

// Sixteen hex digits for the original's full path, the same whatever letter case the path is
// written in (Windows names files without regard to case).
std::wstring CopyFolderName(std::wstring_view originalFullPath);
// True for a name CopyFolderName gives: the clean-up of the copies folder touches nothing else.
bool IsCopyFolderName(std::wstring_view name);

// Times are FILETIME values: 100-nanosecond units since 1601, UTC.
struct CopyRecord {
    std::wstring original;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // of the original, when the copy was made
    std::uint64_t copiedAt = 0;   // when the copy was made

    bool MadeFrom(std::uint64_t originalSize, std::uint64_t originalLastWrite) const {
        return size == originalSize && lastWrite == originalLastWrite;
    }
};

std::string EncodeCopyRecord(const CopyRecord& record);
// Nothing when the note is not one of ours, or damaged: the copy is then made again.
std::optional<CopyRecord> DecodeCopyRecord(std::string_view bytes);

// The play log's show-start detail when the last good copy plays in place of an original that
// could not be had: "copy of 2026-12-08 07:12, original not reachable".
std::wstring CopyStartDetail(std::wstring_view copyTime, std::wstring_view why);

// A copy that no list has named for this long is removed at the start of a run.
inline constexpr std::uint64_t kUnnamedCopyLifetime = 30ULL * 24 * 3600 * 10'000'000;

}  // namespace tidewell
