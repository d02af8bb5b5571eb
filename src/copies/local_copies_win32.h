#pragma once
// Presentations on another computer (a share, a network drive) or on a removable drive play from
// a checked copy on the screen's own disk, so that the screen never depends on the share second by
// second: a new version replaces the copy only once it is whole, and while the share is away the
// last good copy plays. The list, the play log and the status keep the original's path; only the
// presentation program is handed the copy's.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/unique_handle_win32.h"
#include "copies/copy_record.h"
#include "copies/original_read_win32.h"
#include "copies/presentation_finding.h"

namespace tidewell {

// How long a show, or a start with "/play", waits for a share to answer when it has a copy to
// play meanwhile.
inline constexpr std::chrono::seconds kShareAnswerWait{5};

// Beside each copy, the note of what it was made from; its time says when a list last named it.
inline constexpr wchar_t kCopyNoteName[] = L"copy-of.txt";

// What plays for an entry now, and what the play log is told about it.
struct PreparedShow {
    std::wstring playPath;     // handed to the program; empty: the entry is skipped
    std::wstring skipped;      // why it is skipped
    bool unreachable = false;  // skipped because neither the original nor a copy could be had
    // A copy plays: when it was made, and why it is not a fresh one (empty when it is).
    bool fromCopy = false;
    std::uint64_t copiedAt = 0;
    std::wstring copyNote;
    // What the check found about the original this time (whole when it was not checked).
    PresentationFinding finding;
};

// The play log's show-start detail: "copy of 2026-12-08 07:12, original not reachable", or what
// the check found about a presentation handed over all the same; empty when there is nothing to
// say.
std::wstring ShowStartDetail(const PreparedShow& show);

// True for a path on another computer or a removable drive.
bool PlaysFromLocalCopy(const std::wstring& fullPath);

// The folder the copies live in: TIDEWELL_COPIES_FOLDER when set (tests), else
// %LOCALAPPDATA%\Tidewell\Copies.
std::wstring CopiesFolder();

// The setting file that a start with "/play" reads from a share is kept as well: a start whose
// share does not answer then plays the list it played last. KeepSettingCopy reads the file again
// (it is small) and keeps it when it is whole; SettingCopyOf names the copy when there is one.
void KeepSettingCopy(const std::wstring& settingFile);
std::optional<std::wstring> SettingCopyOf(const std::wstring& settingFile);

class LocalCopies {
  public:
    // `fromElsewhere` tells which presentations are copied (tests name a folder of their own).
    explicit LocalCopies(
        std::wstring folder,
        std::function<bool(const std::wstring&)> fromElsewhere = PlaysFromLocalCopy);

    // May wait on the share: call it on a worker. `unattended`: a presentation that fails the
    // check is skipped rather than handed to the program. With no copy yet, the share is waited
    // for `firstCopyWait` at most (zero: as long as it takes), and the entry is then skipped as
    // one that cannot be reached.
    PreparedShow Prepare(const std::wstring& original, bool unattended,
                         std::chrono::milliseconds firstCopyWait = {});
    // Brings the copy up to date ahead of the entry's turn, or checks a deck that plays in place.
    void Refresh(const std::wstring& original);
    // Removes the copies that none of `named` has and that no list has named for 30 days; the
    // copies of `named` count as named now.
    void RemoveUnnamed(const std::vector<std::wstring>& named);

  private:
    struct Copy {
        std::wstring folder, file, record, original;
    };
    // One refresh of a copy at a time. Shared with the threads that ask a share, which a
    // server gone quiet may keep past the end of this object.
    struct Making {
        std::mutex mutex;
        std::condition_variable madeOne;
        std::set<std::wstring> folders;
        std::map<std::wstring, UniqueFileHandle> locks;  // of the folders under way here
        // `wait`: for the one under way, else give up at once.
        bool Begin(const std::wstring& folder, bool wait);
        void End(const std::wstring& folder);
    };
    struct Made {
        bool made = false;
        bool unreachable = false;
        PresentationFinding finding;
    };
    // What the share said, and the copy made from it when the original had changed.
    struct Looked {
        std::optional<FileStamp> now;
        Made made;
    };
    Copy CopyOf(const std::wstring& original) const;
    // The note of the copy there is now; nothing without a copy.
    static std::optional<CopyRecord> LastGood(const Copy& copy);
    PreparedShow InPlace(const std::wstring& original, bool unattended,
                         CheckDeadline deadline = kNoDeadline);
    bool KnownWhole(const std::wstring& original, const FileStamp& now);
    static Made MakeCopy(const std::wstring& original, const Copy& copy);
    // The look at the share, and the new copy it may bring, on a thread of their own; nothing
    // when the share has not answered within `wait` (zero: no limit).
    std::optional<Looked> AskShare(const std::wstring& original, const Copy& copy,
                                   std::chrono::milliseconds wait);

    std::wstring root_;
    std::function<bool(const std::wstring&)> fromElsewhere_;
    std::shared_ptr<Making> making_ = std::make_shared<Making>();
    std::mutex mutex_;
    // Decks on this disk found whole, as they were then.
    std::map<std::wstring, FileStamp> wholeInPlace_;
};

}  // namespace tidewell
