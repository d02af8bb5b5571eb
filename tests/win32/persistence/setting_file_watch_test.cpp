#include <windows.h>

#include <gtest/gtest.h>

#include "persistence/setting_content.h"
#include "persistence/setting_file_codec.h"
#include "persistence/setting_file_watch_win32.h"
#include "persistence_support.h"

namespace tidewell::testing {
namespace {

using Outcome = SettingFileWatch::Outcome;
using Paths = std::vector<PlaylistEntry>;

class SettingFileWatchTest : public ::testing::Test {
  protected:
    void Write(const Paths& presentations, int minute = -1) {
        WriteBytes(setting_, EncodeSettingFile(ComposeSettingLines(2, L"p.exe", presentations)));
        if (minute < 0) return;
        // A last-write time of its own, for a rewrite that keeps the size.
        UniqueFileHandle file(::CreateFileW(setting_.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        const FILETIME time{static_cast<DWORD>(minute) * 600'000'000u, 0x01DC0000};
        ::SetFileTime(file.get(), nullptr, nullptr, &time);
    }
    Outcome Reread() { return watch_.RereadIfChanged(entries_, error_); }

    ScratchFolder folder_;
    const std::wstring a_ = folder_.File(L"a.pptx"), c_ = folder_.File(L"c \u00e9.ppt");
    const std::wstring setting_ = folder_ / L"Lobby.ppsv";
    const int written_ = (Write({a_}), 0);  // the file as the start loaded it
    SettingFileWatch watch_{setting_};
    Paths entries_{L"kept"};
    std::wstring error_;
};

// Held by a program that allows no reader, an unchanged file answers Unchanged: it was not read.
// A rewrite is taken whether its size or only its time changed, without the missing entries, as
// "Load setting" takes it.
TEST_F(SettingFileWatchTest, ReadOnlyWhenSizeOrTimeChanged) {
    {
        FileHolder holder(setting_, FileHolder::Mode::Exclusive);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(Reread(), Outcome::Unchanged);
    }
    std::wstring absentDrive = L"Z:\\x.pptx";  // may come back: kept, as "Load setting" keeps it
    while (::GetLogicalDrives() & (1u << (absentDrive[0] - L'A'))) --absentDrive[0];
    Write({c_, folder_ / L"late.pptx", a_, absentDrive}, 0);
    ASSERT_EQ(Reread(), Outcome::Reread) << error_;
    EXPECT_EQ(entries_, (Paths{c_, a_, absentDrive}));
    // Saved before its deck was copied: read again until the deck is there, then taken as read.
    ASSERT_EQ(Reread(), Outcome::Reread) << "a file naming a missing deck is read again";
    const std::wstring late = folder_.File(L"late.pptx");
    ASSERT_EQ(Reread(), Outcome::Reread) << error_;
    EXPECT_EQ(entries_, (Paths{c_, late, a_, absentDrive}));
    EXPECT_EQ(Reread(), Outcome::Unchanged);
    Write({a_, c_, absentDrive}, 1);
    ASSERT_EQ(Reread(), Outcome::Reread) << error_;
    EXPECT_EQ(entries_, (Paths{a_, c_, absentDrive}));
}

// A read that the run did not take (given up while a share held it) leaves the change to be read
// again; a file deleted and put back as it was (a copy keeps its time) is read again too.
TEST_F(SettingFileWatchTest, ReadNotTakenOrFileDeletedAndPutBack_IsReadAgain) {
    Write({c_}, 3);
    std::optional<FileStamp> seen;
    ASSERT_EQ(watch_.RereadIfChanged(entries_, error_, &seen), Outcome::Reread) << error_;
    ASSERT_TRUE(seen);
    ASSERT_EQ(watch_.RereadIfChanged(entries_, error_, &seen), Outcome::Reread);
    watch_.Take(*seen);
    EXPECT_EQ(Reread(), Outcome::Unchanged);

    const std::wstring aside = folder_ / L"aside.ppsv";
    ASSERT_TRUE(::MoveFileW(setting_.c_str(), aside.c_str()));
    EXPECT_EQ(Reread(), Outcome::Failed);
    ASSERT_TRUE(::MoveFileW(aside.c_str(), setting_.c_str()));
    EXPECT_EQ(Reread(), Outcome::Reread) << "the same file put back is read again";
}

// Garbage, a file a writer holds open, a missing file: the list stays, the reason is in words.
// Garbage is reported once until it changes; a file that could not be read is tried again.
TEST_F(SettingFileWatchTest, UnreadableOrNoSettingFile_FailsAndKeepsTheEntries) {
    WriteBytes(setting_, Bytes{'n', 'o', ' ', 's', 'h', 'o', 'w'});
    EXPECT_EQ(Reread(), Outcome::NotASettingFile);
    EXPECT_NE(error_.find(L"Lobby.ppsv\" is not a setting file"), std::wstring::npos) << error_;
    EXPECT_EQ(Reread(), Outcome::Unchanged);
    {
        Write({c_});
        FileHolder writer(setting_, FileHolder::Mode::Writer);
        ASSERT_TRUE(writer.Holding());
        EXPECT_EQ(Reread(), Outcome::Failed);
        EXPECT_EQ(error_.rfind(L"Cannot open file \"", 0), 0u) << error_;
    }
    EXPECT_EQ(entries_, Paths{L"kept"});
    EXPECT_EQ(Reread(), Outcome::Reread) << "a file that could not be read is tried again";
    EXPECT_EQ(entries_, Paths{c_});

    ASSERT_TRUE(::DeleteFileW(setting_.c_str()));
    error_.clear();
    EXPECT_EQ(Reread(), Outcome::Failed);
    EXPECT_NE(error_.find(L"Lobby.ppsv\". "), std::wstring::npos) << error_;
    EXPECT_EQ(entries_, Paths{c_});
}

}  // namespace
}  // namespace tidewell::testing
