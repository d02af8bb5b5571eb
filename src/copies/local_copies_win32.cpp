#include "copies/local_copies_win32.h"

#include <windows.h>
#include <shlobj.h>

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
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    char bytes[8192];
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes, sizeof bytes, &got, nullptr)) return std::nullopt;
    return DecodeCopyRecord(std::string_view(bytes, got));
}

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
    return {folder, folder + L"\\" + LeafName(original), folder + L"\\" + kCopyNoteName, original};
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
            break;
    }
    // A copy that plays is held open by the program: the new one then waits for the next look.
    made.made =
        checked && made.finding.IsWhole() &&
        ::MoveFileExW(temporary.c_str(), copy.file.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) &&
        ReplaceWholeFile(
            copy.record,
            EncodeCopyRecord({original, read.stamp.size, read.stamp.lastWrite, FileTimeNow()}),
            true);
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
                                                         std::chrono::milliseconds wait) {
    auto looked = std::make_shared<std::promise<Looked>>();
    std::future<Looked> answer = looked->get_future();
    try {
        std::thread([looked, original, copy, making = making_] {
            Looked result{LookAt(original), {}};
            const auto current = [&] {
                const std::optional<CopyRecord> record = LastGood(copy);
                return record && record->MadeFrom(result.now->size, result.now->lastWrite);
            };
            // A copy under way (the next entry's, made ahead) is waited for, not made twice.
            if (result.now && !current() && making->Begin(copy.folder, true)) {
                if (!current()) result.made = MakeCopy(original, copy);
                making->End(copy.folder);
            }
            looked->set_value(std::move(result));
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    if (wait.count() > 0 && answer.wait_for(wait) != std::future_status::ready) return std::nullopt;
    return answer.get();
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
    // A share that does not answer (its server gone quiet) never holds the show for long: with a
    // copy to play it is given a few seconds, without one the show's own time-out.
    std::optional<CopyRecord> good = LastGood(copy);
    const std::optional<Looked> looked =
        AskShare(original, copy,
                 good ? std::chrono::duration_cast<std::chrono::milliseconds>(kShareAnswerWait)
                      : firstCopyWait);
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
    if (!looked || !looked->now) made.unreachable = true;
    PreparedShow show;
    show.finding = made.finding;
    if (good) {
        show.playPath = copy.file;
        show.fromCopy = true;
        show.copiedAt = good->copiedAt;
        if (made.unreachable) {
            show.copyNote = L"original not reachable";
        } else if (!made.finding.IsWhole()) {
            show.copyNote = L"original: " + FindingText(made.finding);
        }
        return show;
    }
    // Whole, but no copy could be written (a full disk): it plays from where it is this time.
    return FromWhereItIs(original, made.finding, made.unreachable, unattended);
}

void LocalCopies::Refresh(const std::wstring& original) {
    // A deck on this disk is checked ahead as well, so that its turn need not wait for the read.
    if (!fromElsewhere_(original) || root_.empty()) {
        InPlace(original, true);
        return;
    }
    const Copy copy = CopyOf(original);
    const std::optional<FileStamp> now = LookAt(original);
    const std::optional<CopyRecord> good = LastGood(copy);
    if (!now || (good && good->MadeFrom(now->size, now->lastWrite))) return;
    if (!making_->Begin(copy.folder, false)) return;
    MakeCopy(original, copy);
    making_->End(copy.folder);
}

void LocalCopies::RemoveUnnamed(const std::vector<std::wstring>& named) {
    if (root_.empty()) return;
    std::set<std::wstring> keep;
    for (const std::wstring& path : named) keep.insert(CopyFolderName(path));
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
            UniqueFileHandle file(::CreateFileW(record.c_str(), FILE_WRITE_ATTRIBUTES,
                                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                nullptr));
            const FILETIME stamp = FileTimeOf(now);
            if (file) ::SetFileTime(file.get(), nullptr, nullptr, &stamp);
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

void KeepSettingCopy(const std::wstring& settingFile) {
    const std::wstring copy = SettingCopyPath(settingFile);
    if (copy.empty() || !PlaysFromLocalCopy(settingFile)) return;
    const OriginalRead read = ReadOriginal(settingFile, std::chrono::milliseconds(0));
    if (read.outcome != OriginalRead::Outcome::Read || read.bytes.empty()) return;
    ::SHCreateDirectoryExW(nullptr, copy.substr(0, copy.find_last_of(L'\\')).c_str(), nullptr);
    ReplaceWholeFile(copy, std::string_view(reinterpret_cast<const char*>(read.bytes.data()),
                                            read.bytes.size()));
}

std::optional<std::wstring> SettingCopyOf(const std::wstring& settingFile) {
    const std::wstring copy = SettingCopyPath(settingFile);
    if (copy.empty() || !PlaysFromLocalCopy(settingFile) || !LookAt(copy)) return std::nullopt;
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
