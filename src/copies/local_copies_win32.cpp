#include "copies/local_copies_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <future>
#include <system_error>
#include <thread>

#include "common/file_exists_win32.h"
#include "common/file_time_win32.h"
#include "common/full_path_win32.h"
#include "common/unique_handle_win32.h"
#include "common/whole_file_win32.h"
#include "copies/copy_folders_win32.h"
#include "copies/copy_recheck_win32.h"
#include "copies/original_read_win32.h"
#include "copies/presentation_check_win32.h"

namespace tidewell {
namespace {

// Two looks this far apart tell a file still being written from one at rest.
constexpr std::chrono::milliseconds kSettleMoment{300};

std::wstring LocalMinute(std::uint64_t fileTime) {
    const FILETIME utc = FileTimeOf(fileTime);
    SYSTEMTIME system{}, local{};
    ::FileTimeToSystemTime(&utc, &system);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &system, &local);
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth, local.wDay,
                  local.wHour, local.wMinute);
    return text;
}

std::wstring LeafName(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}

std::optional<CopyRecord> ReadRecord(const std::wstring& path) {
    const std::optional<std::string> note = ReadSmallFile(path, 8192);
    return note ? DecodeCopyRecord(*note) : std::nullopt;
}

// A copy's note is dated when a run last used or named the copy: the clean-up reads its age there.
void StampNote(const std::wstring& record, std::uint64_t now = FileTimeNow()) {
    UniqueFileHandle file(::CreateFileW(record.c_str(), FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME stamp = FileTimeOf(now);
    if (file) ::SetFileTime(file.get(), nullptr, nullptr, &stamp);
}

// Why a whole new version could not be kept beside the copy that plays.
std::wstring NotWrittenWhy(const std::wstring& folder, std::uint64_t needed) {
    ULARGE_INTEGER free{};
    if (::GetDiskFreeSpaceExW(folder.c_str(), &free, nullptr, nullptr) && free.QuadPart < needed) {
        return L"the disk is full";
    }
    return L"it could not be written";
}

constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

PreparedShow Skipped(std::wstring why, bool unreachable) {
    PreparedShow show;
    show.skipped = std::move(why);
    show.unreachable = unreachable;
    return show;
}

PresentationFinding StillBeingWritten() {
    return {Soundness::NotReadyYet, L"the file is still being written"};
}

// Checks a file on this computer's own disk (a deck that plays in place, or the copy just
// written), with what the reads of it say: it may still be being written.
OriginalRead CheckedOnThisDisk(const std::wstring& path, std::chrono::milliseconds moment,
                               PresentationFinding& finding, CheckDeadline deadline = kNoDeadline) {
    const OriginalRead read = MapOriginal(path, moment, [&](std::span<const std::uint8_t> bytes) {
        finding = CheckPresentationBytes(bytes, deadline);
    });
    if (read.outcome == OriginalRead::Outcome::Changing) finding = StillBeingWritten();
    return read;
}

// Checks a deck on a share that has no copy to be checked in (no copies folder, or no room in it)
// by reading it into memory: a mapping of it would break if the share stopped answering. One
// larger than memory should hold plays unchecked.
OriginalRead CheckedInMemory(const std::wstring& path, PresentationFinding& finding) {
    OriginalRead read = ReadOriginal(path, kSettleMoment);
    if (read.outcome == OriginalRead::Outcome::Read) finding = CheckPresentationBytes(read.bytes);
    if (read.outcome == OriginalRead::Outcome::Changing) finding = StillBeingWritten();
    read.bytes = {};
    return read;
}

bool NotReached(const OriginalRead& read) {
    return read.outcome == OriginalRead::Outcome::Gone ||
           read.outcome == OriginalRead::Outcome::Unreachable;
}

// A presentation that plays from where it is: a person at the desk gets the program's own
// message about it, an unattended run skips one that cannot be reached or is not whole.
PreparedShow FromWhereItIs(const std::wstring& original, const PresentationFinding& finding,
                           bool unreachable, bool unattended) {
    if (unattended && unreachable) return Skipped(L"the presentation cannot be reached", true);
    if (unattended && !finding.IsWhole()) return Skipped(FindingText(finding), false);
    PreparedShow show;
    show.playPath = original;
    show.finding = finding;
    return show;
}

}  // namespace

bool PlaysFromLocalCopy(const std::wstring& fullPath) {
    // A share, or a device path, however its separators are written.
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (fullPath.size() >= 2 && separator(fullPath[0]) && separator(fullPath[1])) return true;
    if (fullPath.size() < 2 || fullPath[1] != L':') return false;
    const std::wstring root = fullPath.substr(0, 2) + L"\\";
    // A drive that is not there now (a network drive disconnected, a stick pulled out) is no
    // local disk either: its copies are what can still play.
    const UINT type = ::GetDriveTypeW(root.c_str());
    return type != DRIVE_FIXED && type != DRIVE_RAMDISK;
}

std::wstring CopiesFolder() {
    wchar_t value[MAX_PATH] = {};
    if (const DWORD length = ::GetEnvironmentVariableW(L"TIDEWELL_COPIES_FOLDER", value, MAX_PATH);
        length > 0 && length < MAX_PATH) {
        return value;
    }
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(value) + L"\\Tidewell\\Copies";
}

LocalCopies::LocalCopies(std::wstring folder,
                         std::function<bool(const std::wstring&)> fromElsewhere)
    : root_(std::move(folder)), fromElsewhere_(std::move(fromElsewhere)) {}

LocalCopies::Copy LocalCopies::CopyOf(const std::wstring& original) const {
    const std::wstring folder = root_ + L"\\" + CopyFolderName(original);
    const std::wstring file = folder + L"\\" + LeafName(original);
    const std::wstring record = folder + L"\\" + kCopyNoteName;
    return {folder, file, record, original, file + L".new", record + L".new"};
}

std::optional<CopyRecord> LocalCopies::LastGood(const Copy& copy) {
    // Two names may fold to one folder (a share that tells letter case apart, two paths of one
    // hash): a copy is only ever the one of the original its note names.
    std::optional<CopyRecord> record = LookAt(copy.file) ? ReadRecord(copy.record) : std::nullopt;
    if (!record || record->original != copy.original) return std::nullopt;
    // A copy that lost its bytes is no copy: without its note it is made again.
    if (!CopyStillWhole(copy.file, *record)) {
        ::DeleteFileW(copy.record.c_str());
        return std::nullopt;
    }
    return record;
}

bool LocalCopies::Current(const Copy& copy, const FileStamp& now) {
    const std::optional<CopyRecord> good = LastGood(copy);
    if (good && good->MadeFrom(now.size, now.lastWrite)) return true;
    const std::optional<CopyRecord> pending =
        LookAt(copy.pending) ? ReadRecord(copy.pendingRecord) : std::nullopt;
    return pending && pending->original == copy.original &&
           pending->MadeFrom(now.size, now.lastWrite);
}

void LocalCopies::PutPendingInPlace(const Copy& copy) {
    // The note goes second: a copy whose note is still the old one is made again, never played
    // for what it is not.
    if (LookAt(copy.pending) && ::MoveFileExW(copy.pending.c_str(), copy.file.c_str(), kReplace)) {
        ::MoveFileExW(copy.pendingRecord.c_str(), copy.record.c_str(), kReplace);
    }
}

bool LocalCopies::Making::Begin(const std::wstring& folder, bool wait) {
    std::unique_lock lock(mutex);
    if (!wait && folders.contains(folder)) return false;
    madeOne.wait(lock, [&] { return !folders.contains(folder); });
    folders.insert(folder);
    lock.unlock();
    // Then the copier of another process, which deletes the temporary files it finds as well.
    std::optional<UniqueFileHandle> held = TakeCopierLock(folder, wait);
    lock.lock();
    if (held) {
        locks[folder] = std::move(*held);
        return true;
    }
    folders.erase(folder);
    lock.unlock();
    madeOne.notify_all();
    return false;
}

void LocalCopies::Making::End(const std::wstring& folder) {
    {
        std::lock_guard lock(mutex);
        folders.erase(folder);
        locks.erase(folder);
    }
    madeOne.notify_all();
}

LocalCopies::Made LocalCopies::MakeCopy(const std::wstring& original, const Copy& copy) {
    Made made;
    ::SHCreateDirectoryExW(nullptr, copy.folder.c_str(), nullptr);
    // What a run that ended while it copied left (a large deck takes a while) goes first; one
    // still being written is its writer's alone and stays.
    WIN32_FIND_DATAW left{};
    if (UniqueFindHandle find(::FindFirstFileW((copy.file + L".*.tmp").c_str(), &left)); find) {
        do {
            ::DeleteFileW((copy.folder + L"\\" + left.cFileName).c_str());
        } while (::FindNextFileW(find.get(), &left));
    }
    static volatile LONG counter = 0;
    const std::wstring temporary = copy.file + L"." + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(::InterlockedIncrement(&counter)) +
                                   L".tmp";
    // Written straight to the disk, piece by piece, and checked there: a deck of any size.
    const OriginalRead read = CopyOriginal(original, kSettleMoment, temporary);
    using Outcome = OriginalRead::Outcome;
    bool checked = false;
    switch (read.outcome) {
        case Outcome::Gone:
        case Outcome::Unreachable:
            made.unreachable = true;
            break;
        case Outcome::Changing:
            made.finding = StillBeingWritten();
            break;
        case Outcome::Read:
            // Nobody else writes the copy: no moment to wait.
            checked = CheckedOnThisDisk(temporary, {}, made.finding).outcome == Outcome::Read;
            break;
        default:
            // No room for the copy (a full disk): it plays from where it is, checked all the same.
            made.unreachable = NotReached(CheckedInMemory(original, made.finding));
            made.notWritten = NotWrittenWhy(copy.folder, read.stamp.size);
            break;
    }
    if (checked && made.finding.IsWhole()) {
        const std::string note =
            EncodeCopyRecord({original, read.stamp.size, read.stamp.lastWrite, FileTimeNow()});
        if (::MoveFileExW(temporary.c_str(), copy.file.c_str(), kReplace)) {
            // An older version still waiting would otherwise take this one's place.
            ::DeleteFileW(copy.pending.c_str());
            ::DeleteFileW(copy.pendingRecord.c_str());
            made.made = ReplaceWholeFile(copy.record, note, true);
        } else if (::MoveFileExW(temporary.c_str(), copy.pending.c_str(), kReplace)) {
            // The copy that plays is held open by the program: the new version waits beside it,
            // checked, for the deck's next start.
            if (!ReplaceWholeFile(copy.pendingRecord, note, true)) {
                ::DeleteFileW(copy.pending.c_str());
            }
        }
        if (!made.made && !LookAt(copy.pending)) {
            made.notWritten = NotWrittenWhy(copy.folder, read.stamp.size);
        }
    }
    ::DeleteFileW(temporary.c_str());
    // A folder made for a deck that could not be copied goes again (a folder in use stays).
    ::RemoveDirectoryW(copy.folder.c_str());
    return made;
}

// A presentation on the screen's own disk plays in place, checked all the same: one still being
// written, or cut short by a copy that failed, would stop an unattended screen at a dialog. One
// found whole is not read again while its size and time stay as they were.
PreparedShow LocalCopies::InPlace(const std::wstring& original, bool unattended,
                                  CheckDeadline deadline) {
    if (const std::optional<FileStamp> now = LookAt(original); now && KnownWhole(original, *now)) {
        return FromWhereItIs(original, {}, false, unattended);
    }
    PresentationFinding finding;
    // Without a copies folder, a deck from elsewhere is checked where it is.
    const OriginalRead read = fromElsewhere_(original)
                                  ? CheckedInMemory(original, finding)
                                  : CheckedOnThisDisk(original, kSettleMoment, finding, deadline);
    if (NotReached(read)) {
        // Nobody is there to answer the presentation program's "file not found"; one that is
        // there but may not be read is the program's to report, as it always was.
        if (unattended && !FileExists(original)) {
            return Skipped(L"the presentation cannot be found",
                           PresenceOf(original) != Presence::Gone);
        }
        return FromWhereItIs(original, {}, false, unattended);
    }
    if (read.outcome == OriginalRead::Outcome::Read && finding.IsWhole()) {
        std::lock_guard lock(mutex_);
        wholeInPlace_[original] = read.stamp;
    }
    return FromWhereItIs(original, finding, false, unattended);
}

bool LocalCopies::KnownWhole(const std::wstring& original, const FileStamp& now) {
    std::lock_guard lock(mutex_);
    const auto found = wholeInPlace_.find(original);
    return found != wholeInPlace_.end() && found->second == now;
}

std::optional<LocalCopies::Looked> LocalCopies::AskShare(const std::wstring& original,
                                                         const Copy& copy,
                                                         std::chrono::milliseconds wait,
                                                         bool& answered) {
    auto looked = std::make_shared<std::promise<Looked>>();
    auto lookAnswered = std::make_shared<std::atomic<bool>>(false);
    std::future<Looked> answer = looked->get_future();
    try {
        std::thread([looked, lookAnswered, original, copy, making = making_] {
            Looked result{LookAt(original), {}};
            lookAnswered->store(result.now.has_value());
            // A copy under way (the next entry's, made ahead) is waited for, not made twice.
            if (result.now && !Current(copy, *result.now) && making->Begin(copy.folder, true)) {
                if (!Current(copy, *result.now)) result.made = MakeCopy(original, copy);
                making->End(copy.folder);
            }
            looked->set_value(std::move(result));
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    if (wait.count() > 0 && answer.wait_for(wait) != std::future_status::ready) {
        answered = lookAnswered->load();
        return std::nullopt;
    }
    Looked result = answer.get();
    answered = result.now.has_value();
    return result;
}

PreparedShow LocalCopies::Prepare(const std::wstring& original, bool unattended,
                                  std::chrono::milliseconds firstCopyWait) {
    if (!fromElsewhere_(original) || root_.empty()) {
        // The check of a deck here ends with the show's time-out, as a first copy's wait does.
        return InPlace(original, unattended,
                       firstCopyWait.count() > 0 ? std::chrono::steady_clock::now() + firstCopyWait
                                                 : kNoDeadline);
    }
    const Copy copy = CopyOf(original);
    // Nothing holds the copy before its deck starts, unless it plays on another screen's turn.
    PutPendingInPlace(copy);
    // A share that does not answer (its server gone quiet), or a large deck being copied, never
    // holds the show for long: with a copy to play they are given a few seconds, without one the
    // show's own time-out.
    std::optional<CopyRecord> good = LastGood(copy);
    bool answered = false;
    const std::optional<Looked> looked =
        AskShare(original, copy,
                 good ? std::chrono::duration_cast<std::chrono::milliseconds>(kShareAnswerWait)
                      : firstCopyWait,
                 answered);
    Made made;
    if (looked) {
        made = looked->made;
        good = LastGood(copy);
        if (!looked->now && PresenceOf(original) == Presence::Gone) {
            // A person at the desk gets the program's own message, as for a deck on this disk.
            return unattended ? Skipped(L"the presentation cannot be found", false)
                              : FromWhereItIs(original, made.finding, false, false);
        }
    }
    if (!answered) made.unreachable = true;
    // No copy yet, and the first one not made in time: it is not played from the share either.
    if (!looked && !good && unattended) {
        return Skipped(answered ? L"its first copy is still being made"
                                : L"the presentation cannot be reached",
                       true);
    }
    PreparedShow show;
    show.finding = made.finding;
    show.share = made.unreachable ? ShareAnswer::Away : ShareAnswer::Answered;
    if (good) {
        show.playPath = copy.file;
        show.fromCopy = true;
        show.copiedAt = good->copiedAt;
        if (made.unreachable) {
            show.copyNote = L"original not reachable";
        } else if (!made.finding.IsWhole()) {
            show.copyNote = L"original: " + FindingText(made.finding);
        } else if (!made.notWritten.empty()) {
            show.copyNote = L"the new version could not be copied: " + made.notWritten;
        } else if (!looked || !good->MadeFrom(looked->now->size, looked->now->lastWrite)) {
            show.copyNote = L"a newer version is being copied";
        }
        StampNote(copy.record);
        return show;
    }
    // Whole, but no copy could be written (a full disk): it plays from where it is this time.
    show = FromWhereItIs(original, made.finding, made.unreachable, unattended);
    if (!made.unreachable) show.share = ShareAnswer::Answered;
    return show;
}

void LocalCopies::Refresh(const std::wstring& original) {
    // A deck on this disk is checked ahead as well, so that its turn need not wait for the read.
    if (!fromElsewhere_(original) || root_.empty()) {
        InPlace(original, true);
        return;
    }
    const Copy copy = CopyOf(original);
    PutPendingInPlace(copy);
    const std::optional<FileStamp> now = LookAt(original);
    if (!now || Current(copy, *now)) return;
    if (!making_->Begin(copy.folder, false)) return;
    MakeCopy(original, copy);
    making_->End(copy.folder);
}

void LocalCopies::Name(const std::vector<std::wstring>& originals) {
    if (root_.empty()) return;
    std::lock_guard lock(mutex_);
    const std::uint64_t now = FileTimeNow();
    for (const std::wstring& path : originals) {
        const std::wstring name = CopyFolderName(path);
        StampNote(root_ + L"\\" + name + L"\\" + kCopyNoteName, now);
        named_.insert(name);
    }
    WriteNamed();
}

namespace {
constexpr wchar_t kNamedFilePrefix[] = L"named-by-";
}  // namespace

void LocalCopies::WriteNamed() {
    if (!namedFile_) {
        static std::atomic<unsigned> counter{0};
        namedPath_ = root_ + L"\\" + kNamedFilePrefix + std::to_wstring(::GetCurrentProcessId()) +
                     L"-" + std::to_wstring(++counter) + L".txt";
        ::SHCreateDirectoryExW(nullptr, root_.c_str(), nullptr);
        namedFile_.reset(::CreateFileW(
            namedPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
            CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (!namedFile_) return;
    }
    std::string text;
    for (const std::wstring& name : named_) text += std::string(name.begin(), name.end()) + "\r\n";
    DWORD written = 0;
    ::SetFilePointer(namedFile_.get(), 0, nullptr, FILE_BEGIN);
    ::WriteFile(namedFile_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::SetEndOfFile(namedFile_.get());
}

namespace {

// The copy folders that the other running Tidewells of this user name now. A list whose Tidewell
// has ended is gone with it.
void AddNamedByOthers(const std::wstring& root, const std::wstring& own,
                      std::set<std::wstring>& keep) {
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(
        ::FindFirstFileW((root + L"\\" + kNamedFilePrefix + L"*.txt").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring path = root + L"\\" + data.cFileName;
        const std::optional<std::string> text =
            path == own ? std::nullopt : ReadSmallFile(path, 64 * 1024);
        if (!text) continue;
        for (std::size_t at = 0; at < text->size();) {
            const std::size_t end = std::min(text->find("\r\n", at), text->size());
            keep.insert(std::wstring(text->begin() + at, text->begin() + end));
            at = end + 2;
        }
    } while (::FindNextFileW(find.get(), &data));
}

}  // namespace

void LocalCopies::RemoveUnnamed(const std::vector<std::wstring>& named) {
    if (root_.empty()) return;
    Name(named);
    std::set<std::wstring> keep;
    std::wstring own;
    {
        std::lock_guard lock(mutex_);
        keep = named_;
        own = namedPath_;
    }
    AddNamedByOthers(root_, own, keep);
    const std::uint64_t now = FileTimeNow();
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW((root_ + L"\\*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (!IsCopyFolder(data)) continue;
        const std::wstring record = root_ + L"\\" + name + L"\\" + kCopyNoteName;
        // The note's time says when a list last named the copy.
        if (keep.contains(name)) {
            StampNote(record, now);
            continue;
        }
        WIN32_FILE_ATTRIBUTE_DATA attributes{};
        const bool noted =
            ::GetFileAttributesExW(record.c_str(), GetFileExInfoStandard, &attributes);
        const std::uint64_t namedAt =
            FileTimeValue(noted ? attributes.ftLastWriteTime : data.ftLastWriteTime);
        if (now > namedAt && now - namedAt > kUnnamedCopyLifetime) {
            RemoveCopyFolder(root_ + L"\\" + name);
        }
    } while (::FindNextFileW(find.get(), &data));
}

namespace {

// The setting file as a command line names it, made full: one copy whatever its spelling.
std::wstring SettingCopyPath(const std::wstring& settingFile) {
    const std::wstring root = CopiesFolder();
    if (root.empty()) return {};
    const std::wstring full = FullPathOf(settingFile);
    return root + L"\\" + CopyFolderName(full) + L"\\" + LeafName(full);
}

}  // namespace

void KeepSettingCopy(const std::wstring& settingFile, std::span<const std::uint8_t> bytes) {
    const std::wstring copy = SettingCopyPath(settingFile);
    if (copy.empty() || !PlaysFromLocalCopy(settingFile) || bytes.empty()) return;
    const std::wstring folder = copy.substr(0, copy.find_last_of(L'\\'));
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    ReplaceWholeFile(copy,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    // Its note, as every copy has: the clean-up reads when it was last used from the note's time.
    ReplaceWholeFile(folder + L"\\" + kCopyNoteName,
                     EncodeCopyRecord({settingFile, bytes.size(), 0, FileTimeNow()}));
}

std::optional<std::wstring> SettingCopyOf(const std::wstring& settingFile) {
    const std::wstring copy = SettingCopyPath(settingFile);
    if (copy.empty() || !PlaysFromLocalCopy(settingFile) || !LookAt(copy)) return std::nullopt;
    // A copy kept before it had a note gets one now.
    const std::wstring note = copy.substr(0, copy.find_last_of(L'\\') + 1) + kCopyNoteName;
    if (LookAt(note)) {
        StampNote(note);
    } else {
        ReplaceWholeFile(note, EncodeCopyRecord({settingFile, 0, 0, FileTimeNow()}));
    }
    return copy;
}

std::wstring ShowStartDetail(const PreparedShow& show) {
    if (show.fromCopy) {
        return show.copyNote.empty() ? std::wstring()
                                     : CopyStartDetail(LocalMinute(show.copiedAt), show.copyNote);
    }
    return FindingText(show.finding);
}

}  // namespace tidewell
