// A deck on a share plays from a checked local copy under its own name; what the share holds
// half-way never replaces the last good copy, and copies no list names for 30 days go.
#include "copies/local_copies_win32.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/file_time_win32.h"
#include "common/unique_handle_win32.h"
#include "copies/copy_folders_win32.h"
#include "support/copy_notes.h"
#include "support/full_volume.h"
#include "support/temp_folder.h"
#include "support/test_presentations.h"

namespace tidewell::testing {
namespace {

// A folder of the test stands for the share: everything in it is copied.
struct CopiesBed {
    TempFolder share{L"tidewell-share"};
    TempFolder copies{L"tidewell-copies"};
    LocalCopies local{copies.Path(),
                      [this](const std::wstring& path) { return path.starts_with(share.Path()); }};

    std::wstring Put(const wchar_t* name, const std::vector<std::uint8_t>& bytes) {
        WriteBytes(share.File(name), bytes);
        return share.File(name);
    }
    std::wstring FolderOf(const std::wstring& original) const {
        return copies.File(CopyFolderName(original));
    }
    // A copy in the folder of `original`, under its name, with a note of our making.
    std::wstring Plant(const std::wstring& original, const std::vector<std::uint8_t>& bytes,
                       const CopyRecord& note) {
        const std::wstring folder = FolderOf(original);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring file = folder + original.substr(original.find_last_of(L'\\'));
        WriteBytes(file, bytes);
        const std::string text = EncodeCopyRecord(note);
        WriteBytes(folder + L"\\" + kCopyNoteName, {text.begin(), text.end()});
        return file;
    }
    // A note for a copy of what stands at `original` now, made at `copiedAt`, naming `named`.
    CopyRecord NoteOf(const std::wstring& original, std::uint64_t copiedAt,
                      const std::wstring& named) {
        const std::optional<FileStamp> stamp = LookAt(original);
        EXPECT_TRUE(stamp);
        return {named, stamp ? stamp->size : 0, stamp ? stamp->lastWrite : 0, copiedAt};
    }
};

const std::vector<std::uint8_t> kMenu = ReadBytes(TestPresentation(L"Menu.pptx"));
const std::vector<std::uint8_t> kWelcome = ReadBytes(TestPresentation(L"Welcome.pptx"));

TEST(LocalCopies, DeckOnShare_CopyUnderItsOwnNamePlays_OriginalNotHeldOpen) {
    CopiesBed bed;
    const std::wstring original = bed.Put(L"Menu.pptx", kMenu);
    const PreparedShow show = bed.local.Prepare(original, true);
    ASSERT_TRUE(show.fromCopy);
    EXPECT_TRUE(show.playPath.starts_with(bed.copies.Path()));
    EXPECT_TRUE(show.playPath.ends_with(L"\\Menu.pptx"));
    EXPECT_EQ(ReadBytes(show.playPath), kMenu);
    EXPECT_EQ(ShowStartDetail(show), L"");
    // Whoever saves a new version on the share may have the file to themselves.
    UniqueFileHandle saver(
        ::CreateFileW(original.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(saver);
}

TEST(LocalCopies, DeckCutShortOnShare_LastGoodCopyPlaysUntilWholeAgain) {
    CopiesBed bed;
    const std::wstring original = bed.Put(L"Menu.pptx", kMenu);
    const std::wstring copy = bed.local.Prepare(original, true).playPath;
    bed.Put(L"Menu.pptx", CutShort(kMenu));
    const PreparedShow cut = bed.local.Prepare(original, true);
    EXPECT_EQ(cut.playPath, copy);
    EXPECT_EQ(ReadBytes(copy), kMenu);
    EXPECT_TRUE(ShowStartDetail(cut).starts_with(L"copy of "));
    EXPECT_TRUE(ShowStartDetail(cut).ends_with(L", original: " + FindingText(cut.finding)));
    EXPECT_EQ(cut.finding.soundness, Soundness::NotWhole);
    // A copy broken off when its run ended goes with the next one made.
    const std::wstring leftOver = copy + L".1234-1.tmp";
    WriteBytes(leftOver, CutShort(kWelcome));
    bed.Put(L"Menu.pptx", kWelcome);
    EXPECT_EQ(bed.local.Prepare(original, true).playPath, copy);
    EXPECT_EQ(ReadBytes(copy), kWelcome);
    EXPECT_EQ(::GetFileAttributesW(leftOver.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(bed.copies.Names().size(), 1u);
}

TEST(LocalCopies, BrokenDeckWithoutCopy_SkippedUnattended_HandedToAPersonWithTheFinding) {
    CopiesBed bed;
    const std::wstring original = bed.Put(L"Notices.pptx", CutShort(kMenu));
    const PreparedShow unattended = bed.local.Prepare(original, true);
    EXPECT_EQ(unattended.playPath, L"");
    EXPECT_TRUE(unattended.skipped.starts_with(L"not a whole presentation: "));
    const PreparedShow attended = bed.local.Prepare(original, false);
    EXPECT_EQ(attended.playPath, original);
    EXPECT_EQ(ShowStartDetail(attended), unattended.skipped);
}

// What an unattended run makes of a deck on this disk (checked where it is) and of one on the
// share (checked in its copy), when it is empty or its writer still has it to itself.
TEST(LocalCopies, DeckNotReadyHereOrOnShare_SkippedSayingWhy_AWholeOneHerePlaysInPlace) {
    CopiesBed bed;
    const TempFolder desk{L"tidewell-desk"};
    const struct {
        const wchar_t* name;
        bool onShare;
        std::vector<std::uint8_t> bytes;
        bool heldByWriter;
        std::wstring skipped;
    } cases[] = {
        {L"Whole.pptx", false, kMenu, false, L""},
        {L"Empty.pptx", false, {}, false, L"the file is empty"},
        {L"Saving.pptx", false, kMenu, true, L"the file is still being written"},
        {L"Empty.pptx", true, {}, false, L"the file is empty"},
        {L"Saving.pptx", true, kMenu, true, L"the file is still being written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << (c.onShare ? " on the share" : " here"));
        const std::wstring path = (c.onShare ? bed.share : desk).File(c.name);
        WriteBytes(path, c.bytes);
        UniqueFileHandle writer(c.heldByWriter ? ::CreateFileW(path.c_str(), GENERIC_WRITE, 0,
                                                               nullptr, OPEN_EXISTING, 0, nullptr)
                                               : INVALID_HANDLE_VALUE);
        const PreparedShow show = bed.local.Prepare(path, true);
        EXPECT_EQ(show.skipped, c.skipped);
        EXPECT_EQ(show.playPath, c.skipped.empty() ? path : L"");
    }
    EXPECT_EQ(bed.copies.Names().size(), 0u);
}

// With no copy to check it in (no copies folder, or no room there), a deck on the share is checked
// where it is: a whole one plays from there, a broken one is never handed over unattended.
void ExpectCheckedOnTheShare(const std::wstring& copies) {
    const TempFolder share{L"tidewell-share"};
    LocalCopies local{copies,
                      [&](const std::wstring& path) { return path.starts_with(share.Path()); }};
    const std::wstring whole = share.File(L"Menu.pptx"), cut = share.File(L"Cut.pptx");
    WriteBytes(whole, kMenu);
    WriteBytes(cut, CutShort(kMenu));
    EXPECT_EQ(local.Prepare(whole, true).playPath, whole);
    const PreparedShow skipped = local.Prepare(cut, true);
    EXPECT_EQ(skipped.playPath, L"");
    EXPECT_FALSE(skipped.unreachable);
    EXPECT_EQ(ShowStartDetail(local.Prepare(cut, false)), skipped.skipped);
}

// The program holds the copy it shows open, as PowerPoint does: a new version copied meanwhile
// waits beside it, checked, and takes its place at the deck's next start, without a copy made
// then (the original is being saved again by then, and may not be read).
TEST(LocalCopies, NewVersionWhileTheCopyPlays_WaitsBesideIt_PlaysAtTheNextStart) {
    CopiesBed bed;
    const std::wstring original = bed.Put(L"Menu.pptx", kMenu);
    const std::wstring copy = bed.local.Prepare(original, true).playPath;
    {
        const UniqueFileHandle shown(::CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(shown);
        bed.Put(L"Menu.pptx", kWelcome);
        bed.local.Refresh(original);
        EXPECT_EQ(ReadBytes(copy), kMenu);
    }
    const UniqueFileHandle saver(
        ::CreateFileW(original.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const PreparedShow next = bed.local.Prepare(original, true);
    EXPECT_EQ(next.playPath, copy);
    EXPECT_EQ(ShowStartDetail(next), L"");
    EXPECT_EQ(ReadBytes(copy), kWelcome);
    EXPECT_EQ(bed.copies.Names().size(), 1u);
}

// Everything a run uses counts as named, also to another Tidewell of the same user (another logon)
// for as long as the run lives: its clean-up never removes them, however old their notes.
TEST(LocalCopies, CopiesAnotherRunNames_StayThroughItsCleanUp_GoOnceThatRunHasEnded) {
    CopiesBed bed;
    const std::wstring deck = bed.Put(L"Welcome.pptx", kWelcome);
    const std::wstring copy = bed.local.Prepare(deck, true).playPath;
    const std::wstring note = copy.substr(0, copy.find_last_of(L'\\') + 1) + kCopyNoteName;
    auto other = std::make_unique<LocalCopies>(bed.copies.Path());
    other->Name({deck});
    ASSERT_TRUE(AgeCopyNote(note));
    LocalCopies(bed.copies.Path()).RemoveUnnamed({});
    EXPECT_EQ(ReadBytes(copy), kWelcome);
    other.reset();
    ASSERT_TRUE(AgeCopyNote(note));
    LocalCopies(bed.copies.Path()).RemoveUnnamed({});
    EXPECT_EQ(::GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(LocalCopies, NoCopiesFolder_DeckCheckedOnTheShare) {
    ExpectCheckedOnTheShare(L"");
}

// Run by full_volume_test.sh.
TEST(LocalCopies, DISABLED_NoRoomForCopies_DeckCheckedOnTheShare) {
    const std::wstring full = FullVolumeFolder();
    ASSERT_FALSE(full.empty());
    ExpectCheckedOnTheShare(full + L"\\Copies");
}

// Run by full_volume_test.sh: a copy made while there was room, and a new version that finds none.
// The copy plays, saying what it is and why.
TEST(LocalCopies, DISABLED_NoRoomForTheNewVersion_TheCopyPlaysSayingWhy) {
    const std::wstring full = FullVolumeFolder();
    ASSERT_FALSE(full.empty());
    const std::wstring filler = full + L"\\filler";
    ::DeleteFileW(filler.c_str());
    const TempFolder share{L"tidewell-share"};
    LocalCopies local{full + L"\\Copies of one",
                      [&](const std::wstring& path) { return path.starts_with(share.Path()); }};
    const std::wstring original = share.File(L"Menu.pptx");
    WriteBytes(original, kMenu);
    const std::wstring copy = local.Prepare(original, true).playPath;
    ASSERT_TRUE(copy.starts_with(full));
    FillVolume(filler);
    WriteBytes(original, kWelcome);
    const PreparedShow show = local.Prepare(original, true);
    EXPECT_EQ(show.playPath, copy);
    EXPECT_EQ(ReadBytes(copy), kMenu);
    EXPECT_TRUE(
        ShowStartDetail(show).ends_with(L", the new version could not be copied: the disk is full"))
        << ShowStartDetail(show);
}

// Past 1 GB, the largest deck once read whole into memory: a real deck with a gigabyte of nothing
// between its last entry and its directory (whose place its end record gives), sparse on the
// share so that it takes no disk there. Its copy is written whole and checked.
TEST(LocalCopies, DeckPastAGigabyte_CopiedAndChecked) {
    CopiesBed bed;
    // The copy takes a gigabyte of real disk; a machine short of it cannot tell anything here.
    ULARGE_INTEGER free{};
    if (::GetDiskFreeSpaceExW(bed.copies.Path().c_str(), &free, nullptr, nullptr) &&
        free.QuadPart < (4ULL << 30)) {
        GTEST_SKIP() << "needs 4 GB free on the disk of " << bed.copies.Path();
    }
    constexpr std::uint64_t kGap = (1ULL << 30) + 1;
    std::vector<std::uint8_t> deck = kWelcome;
    const std::size_t end = FindBytes(deck, "PK\x05\x06");
    std::uint32_t directory = 0;
    std::memcpy(&directory, &deck[end + 16], 4);
    const std::uint32_t moved = directory + static_cast<std::uint32_t>(kGap);
    std::memcpy(&deck[end + 16], &moved, 4);
    const std::wstring original = bed.share.File(L"Large.pptx");
    {
        UniqueFileHandle file(
            ::CreateFileW(original.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD done = 0;
        ::DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &done, nullptr);
        LARGE_INTEGER after{};
        after.QuadPart = kGap;
        ASSERT_TRUE(::WriteFile(file.get(), deck.data(), directory, &done, nullptr));
        ASSERT_TRUE(::SetFilePointerEx(file.get(), after, nullptr, FILE_CURRENT));
        ASSERT_TRUE(::WriteFile(file.get(), &deck[directory],
                                static_cast<DWORD>(deck.size() - directory), &done, nullptr));
    }
    const PreparedShow show = bed.local.Prepare(original, true);
    EXPECT_EQ(show.skipped + FindingText(show.finding), L"");
    ASSERT_TRUE(show.fromCopy);
    EXPECT_EQ(LookAt(show.playPath)->size, deck.size() + kGap);
}

TEST(LocalCopies, CopyNoListNamedFor30Days_Removed_NamedOnesStay) {
    CopiesBed bed;
    const std::wstring named = bed.Put(L"Menu.pptx", kMenu);
    const std::wstring old = bed.Put(L"Welcome.pptx", kWelcome);
    const std::wstring namedCopy = bed.local.Prepare(named, true).playPath;
    const std::wstring oldCopy = bed.local.Prepare(old, true).playPath;
    ASSERT_TRUE(AgeCopyNote(oldCopy.substr(0, oldCopy.find_last_of(L'\\') + 1) + kCopyNoteName));
    bed.local.RemoveUnnamed({named});
    EXPECT_EQ(::GetFileAttributesW(oldCopy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadBytes(namedCopy), kMenu);
}

// Only real folders named as copies are copies: the clean-up leaves any other folder alone, and
// never goes into a folder inside a copy's (links are tried under Wine from outside).
TEST(LocalCopies, CleanUp_RemovesOnlyCopiesOwnFiles) {
    CopiesBed bed;
    const std::wstring original = bed.Put(L"Menu.pptx", kMenu);
    const std::wstring copy = bed.local.Prepare(original, true).playPath;
    const std::wstring inside = bed.FolderOf(original) + L"\\Kept";
    const std::wstring other = bed.copies.AddFolder(L"Notes");
    for (const std::wstring& folder : {inside, other}) {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        WriteBytes(folder + L"\\" + kCopyNoteName, kWelcome);
        ASSERT_TRUE(AgeCopyNote(folder + L"\\" + kCopyNoteName));
    }
    ASSERT_TRUE(AgeCopyNote(bed.FolderOf(original) + L"\\" + kCopyNoteName));
    bed.local.RemoveUnnamed({});
    EXPECT_FALSE(LookAt(copy));
    for (const std::wstring& folder : {inside, other}) {
        EXPECT_EQ(ReadBytes(folder + L"\\" + kCopyNoteName), kWelcome) << folder;
    }
}

// A path to a share plays from a copy however its separators are written.
TEST(LocalCopies, SharePathsSpelledAnyWay_PlayFromACopy) {
    const struct {
        const wchar_t* path;
        bool copied;
    } cases[] = {
        {L"\\\\server\\shows\\Menu.pptx", true},
        {L"//server/shows/Menu.pptx", true},
        {L"\\/server/shows/Menu.pptx", true},
        {L"/server/shows/Menu.pptx", false},
    };
    for (const auto& c : cases) EXPECT_EQ(PlaysFromLocalCopy(c.path), c.copied) << c.path;
}

// Copies in the deck's folder that must not play: one made for another name that folds to the
// same folder (a share that tells letter case apart, two paths of one hash), even with the same
// size and time; and one written before Windows last started whose bytes a power cut took, found
// at its first use after a start. The deck's own copy is made again.
TEST(LocalCopies, CopyNotOfThisDeckOrNotWhole_MadeAgain) {
    const std::uint64_t beforeBoot = FileTimeNow() - (::GetTickCount64() + 60'000) * 10'000;
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::uint64_t copiedAt;
        const wchar_t* named;
    } cases[] = {
        {"made for another name", kWelcome, FileTimeNow(), L"menu.pptx"},
        {"zeros from before the last boot", std::vector<std::uint8_t>(kMenu.size()), beforeBoot,
         L"Menu.pptx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CopiesBed bed;
        const std::wstring original = bed.Put(L"Menu.pptx", kMenu);
        bed.Plant(original, c.bytes, bed.NoteOf(original, c.copiedAt, bed.share.File(c.named)));
        const PreparedShow show = bed.local.Prepare(original, true);
        ASSERT_TRUE(show.fromCopy);
        EXPECT_EQ(ReadBytes(show.playPath), kMenu);
    }
}

// One copier of a deck at a time, also across processes: the temporary file of another copier
// (an earlier run, another logon) is left to it, and its deck is copied once it has ended.
TEST(LocalCopies, AnotherCopierAtWork_ItsFileStays_CopiedOnceItEnds) {
    CopiesBed bed;
    const std::wstring original = bed.Put(L"Menu.pptx", kMenu);
    const std::wstring copy = bed.local.Prepare(original, true).playPath;
    bed.Put(L"Menu.pptx", kWelcome);
    std::optional<UniqueFileHandle> other = TakeCopierLock(bed.FolderOf(original), false);
    ASSERT_TRUE(other && *other);
    const std::wstring working = copy + L".999-1.tmp";
    WriteBytes(working, CutShort(kWelcome));
    bed.local.Refresh(original);
    EXPECT_EQ(ReadBytes(working), CutShort(kWelcome));
    EXPECT_EQ(ReadBytes(copy), kMenu);
    other.reset();
    bed.local.Refresh(original);
    EXPECT_EQ(ReadBytes(copy), kWelcome);
    EXPECT_FALSE(LookAt(working));
}

// A deck on this disk is checked within the show's time-out like any start: past it, the check
// gives up and an unattended run goes on to the next entry.
TEST(LocalCopies, DeckHereCheckedPastTheShowsTimeOut_Skipped) {
    CopiesBed bed;
    const TempFolder desk{L"tidewell-desk"};
    WriteBytes(desk.File(L"Menu.pptx"), kMenu);
    const PreparedShow show =
        bed.local.Prepare(desk.File(L"Menu.pptx"), true, std::chrono::milliseconds(1));
    EXPECT_EQ(show.skipped, FindingText(CheckTookTooLong()));
}

}  // namespace
}  // namespace tidewell::testing
