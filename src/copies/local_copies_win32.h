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
#include <span>
#include <string>
#include <vector>

#include "common/unique_handle_win32.h"
#include "copies/copy_record.h"
#include "copies/original_read_win32.h"
#include "copies/presentation_finding.h"
#include "run/play_log.h"

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
    // Whether the original is on a share, and whether that answered this time.
    ShareAnswer share = ShareAnswer::None;
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
// share does not answer then plays the list it played last. KeepSettingCopy keeps the bytes that
// were read and found whole; SettingCopyOf names the copy when there is one, and marks it as used
// now, so that the clean-up keeps what a screen with its share away starts from.
void KeepSettingCopy(const std::wstring& settingFile, std::span<const std::uint8_t> bytes);
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
    // What this run uses (its list, its setting file, its announcement's decks): their copies
    // count as named now, and for as long as this object lives, also to the clean-up of another
    // Tidewell of the same user (another logon, a remote desktop).
    void Name(const std::vector<std::wstring>& originals);
    // Names `named`, then removes the copies that neither this run nor another running Tidewell
    // names and that nothing has named for 30 days.
    void RemoveUnnamed(const std::vector<std::wstring>& named);

  private:
    struct Copy {
        std::wstring folder, file, record, original;
        // A new version copied while the copy played, and its note: it takes the copy's place
        // as soon as nothing holds that.
        std::wstring pending, pendingRecord;
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
        std::wstring notWritten;  // why a whole new version could not be kept
    };
    // What the share said, and the copy made from it when the original had changed.
    struct Looked {
        std::optional<FileStamp> now;
        Made made;
    };
    Copy CopyOf(const std::wstring& original) const;
    // The note of the copy there is now; nothing without a copy.
    static std::optional<CopyRecord> LastGood(const Copy& copy);
    // The copy there is, or the new version waiting to take its place, is of the original as it
    // is `now`.
    static bool Current(const Copy& copy, const FileStamp& now);
    static void PutPendingInPlace(const Copy& copy);
    PreparedShow InPlace(const std::wstring& original, bool unattended,
                         CheckDeadline deadline = kNoDeadline);
    bool KnownWhole(const std::wstring& original, const FileStamp& now);
    static Made MakeCopy(const std::wstring& original, const Copy& copy);
    // The look at the share, and the new copy it may bring, on a thread of their own; nothing
    // when they have not ended within `wait` (zero: no limit). `answered`: the share answered the
    // look, and a new version is being copied.
    std::optional<Looked> AskShare(const std::wstring& original, const Copy& copy,
                                   std::chrono::milliseconds wait, bool& answered);
    void WriteNamed();

    std::wstring root_;
    std::function<bool(const std::wstring&)> fromElsewhere_;
    std::shared_ptr<Making> making_ = std::make_shared<Making>();
    std::mutex mutex_;
    // Decks on this disk found whole, as they were then.
    std::map<std::wstring, FileStamp> wholeInPlace_;
    // The copy folders this run names, listed for other Tidewells in a file of the copies folder
    // that lives as long as this object (the system deletes it when it is closed, also when the
    // process ends unasked).
    std::set<std::wstring> named_;
    std::wstring namedPath_;
    UniqueFileHandle namedFile_;
};

}  // namespace tidewell
