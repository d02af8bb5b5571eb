// What someone else may put where Tidewell looks, met by a real run: a symbolic link in the copies
// folder named like a copy (Wine shows a Unix link as a reparse point), whose target's files
// must outlive the clean-up; and a deck whose directory names one large part many times, which
// must be refused at once so that the next entry plays. Run by tests/e2e/hostile_files_test.sh,
// which makes both with Unix tools.
#include <windows.h>

#include <gtest/gtest.h>

#include "unattended_fixture.h"

namespace tidewell::e2e {
namespace {

class HostileFiles : public Unattended {
  protected:
    // The first line of the play log of `event` for the deck, once there is one.
    std::optional<std::vector<std::string>> LogLineOf(std::string_view event, std::string_view deck,
                                                      std::chrono::milliseconds timeout) {
        std::optional<std::vector<std::string>> found;
        WaitUntil(
            [&] {
                for (const auto& line : ReadPlayLog(playLog_)) {
                    if (line.size() == 5 && line[1] == event && line[3].ends_with(deck)) {
                        found = line;
                        return true;
                    }
                }
                return false;
            },
            timeout);
        return found;
    }

    void PlayOnce(const std::vector<std::wstring>& decks) {
        standin_.Set(L"SECONDS", L"1");
        Start(L"/play /exit /log " + Quoted(playLog_) + L" " +
                  Quoted(SettingFile(StandinPath(), decks)),
              false);
    }

    std::wstring playLog_ = folder_.File(L"play.log");
};

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(HostileFiles, DISABLED_LinkNamedLikeACopy_CleanUpLeavesItsTargetAlone) {
    // A copies folder with a link named like a copy to a folder of the user's, and a real copy
    // that no list has named for longer than copies are kept: once that one is gone, the
    // clean-up has been through the folder.
    const std::wstring copies = Environment(L"TIDEWELL_TEST_LINKED_COPIES");
    const std::wstring target = Environment(L"TIDEWELL_TEST_LINK_TARGET");
    const std::wstring unnamed = Environment(L"TIDEWELL_TEST_UNNAMED_COPY");
    ASSERT_TRUE(Exists(unnamed));
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW((target + L"\\*").c_str(), &data));
    ASSERT_TRUE(find);
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(data.cFileName);
    } while (::FindNextFileW(find.get(), &data));
    ASSERT_GE(files.size(), 2u);

    const ScopedEnvironment linked(L"TIDEWELL_COPIES_FOLDER", copies);
    PlayOnce({Deck(L"Welcome.pptx")});
    ASSERT_TRUE(WaitUntil([&] { return !Exists(unnamed); }, 30s)) << "no clean-up ran";
    ASSERT_TRUE(LogLineOf("show-start", "Welcome.pptx", 30s));
    for (const std::wstring& file : files) {
        EXPECT_TRUE(Exists(target + L"\\" + file)) << "removed through the link: " << file;
    }
}

TEST_F(HostileFiles, DISABLED_DeckNamingOnePartOften_RefusedAtOnce_NextEntryPlays) {
    const std::wstring busy = folder_.File(L"Busy.pptx");
    ASSERT_TRUE(::CopyFileW(Environment(L"TIDEWELL_TEST_BUSY_DECK").c_str(), busy.c_str(), TRUE));
    PlayOnce({busy, Deck(L"Welcome.pptx")});
    // A start may wait as long as the show's time-out; this one is refused before any unpacking.
    const auto skipped = LogLineOf("show-skipped", "Busy.pptx", 15s);
    ASSERT_TRUE(skipped) << "the deck was not refused";
    EXPECT_TRUE((*skipped)[4].starts_with("not a whole presentation: ") &&
                (*skipped)[4].ends_with(" is named twice"))
        << (*skipped)[4];
    EXPECT_TRUE(LogLineOf("show-start", "Welcome.pptx", 15s)) << "the next entry did not play";
}

}  // namespace
}  // namespace tidewell::e2e
