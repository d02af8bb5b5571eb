#include "common/folder_listing_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tidewell {
namespace {

TEST(PathRoot, DriveOrShareOfAPath_NothingForOtherForms) {
    const struct {
        const wchar_t* path;
        const wchar_t* root;
    } cases[] = {{L"Y:\\Shows\\a.ppt", L"Y:\\"},
                 {L"\\\\nobody\\lobby\\Shows\\a.ppt", L"\\\\nobody\\lobby\\"},
                 {L"\\\\nobody\\lobby", L""},
                 {L"\\\\.\\C:\\a.ppt", L""},
                 {L"Y:a.ppt", L""},
                 {L"Shows\\a.ppt", L""},
                 {L"", L""}};
    for (const auto& c : cases) EXPECT_EQ(PathRoot(c.path), c.root) << c.path;
}

TEST(SplitForListing, PlainDriveAndSharePaths_SplitAtTheLastBackslash) {
    const auto drive = SplitForListing(L"C:\\Shows\\Lobby\\Deck 1.pptx");
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->folder, L"C:\\Shows\\Lobby\\");
    EXPECT_EQ(drive->name, L"Deck 1.pptx");

    const auto root = SplitForListing(L"d:\\deck.ppt");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->folder, L"d:\\");

    const auto share = SplitForListing(L"\\\\server\\share\\lobby\\deck.pps");
    ASSERT_TRUE(share);
    EXPECT_EQ(share->folder, L"\\\\server\\share\\lobby\\");
    EXPECT_EQ(share->name, L"deck.pps");

    // Names a lookup would not take for anything else: a device word inside a longer name, dots
    // inside, and letters beyond ASCII.
    for (const wchar_t* path : {L"C:\\x\\CONSOLE.ppt", L"C:\\x\\com10.ppt", L"C:\\x\\nulla.ppt",
                                L"C:\\x\\a..b.ppt", L"C:\\x\\Pr\u00e4sentation.ppt"}) {
        EXPECT_TRUE(SplitForListing(path)) << path;
    }
}

TEST(SplitForListing, PathsALookupWouldReadOtherwise_LeftToTheLookup) {
    const std::vector<std::wstring> refused = {
        L"",
        L"deck.ppt",                // relative to the current folder
        L"C:deck.ppt",              // relative to the drive's current folder
        L"C:\\",                    // no name
        L"\\\\server\\share",       // no name
        L"\\\\server\\share\\",     // no name
        L"\\\\?\\C:\\x\\deck.ppt",  // taken literally, no rewriting
        L"\\\\.\\C:\\x\\deck.ppt",  // device namespace
        L"C:\\x\\*.ppt",            // wildcards, old DOS ones included
        L"C:\\x\\deck?.ppt",
        L"C:\\x\\deck<.ppt",
        L"C:\\x\\deck\".ppt",
        L"C:\\x\\deck.ppt.",  // trailing dot or space: stripped by a lookup
        L"C:\\x\\deck.ppt ",
        L"C:\\x.\\deck.ppt",
        L"C:\\x \\deck.ppt",
        L"C:\\x\\..\\deck.ppt",  // dot parts, empty parts, forward slashes
        L"C:\\x\\.\\deck.ppt",
        L"C:\\x\\\\deck.ppt",
        L"C:\\x/deck.ppt",
        L"C:\\x\\PRESEN~1.PPT",  // maybe a short 8.3 alias
        L"C:\\PROGRA~1\\deck.ppt",
        L"C:\\x\\deck.ppt:stream",  // a stream
        L"C:\\x\\de\x01ck.ppt",     // control character
        L"C:\\x\\CON",              // device names, with or without an extension
        L"C:\\x\\nul.ppt",
        L"C:\\x\\com1 .pps",
        L"C:\\x\\Lpt9",
        L"C:\\x\\COM\u00b9.ppt",
        L"C:\\x\\conout$",
    };
    for (const std::wstring& path : refused) EXPECT_FALSE(SplitForListing(path)) << path;
}

TEST(SplitForListing, PathLength_LongPathsLeftToTheLookup) {
    const std::wstring folder = L"C:\\" + std::wstring(200, L'f') + L"\\";
    EXPECT_TRUE(SplitForListing(folder + std::wstring(259 - folder.size(), L'n')));
    EXPECT_FALSE(SplitForListing(folder + std::wstring(260 - folder.size(), L'n')));
}

class PlanTest : public ::testing::Test {
  protected:
    // Offers a whole listing of one folder; returns whether the plan still wanted more.
    bool List(FolderListingPlan& plan, std::size_t folder,
              const std::vector<std::pair<std::wstring, bool>>& entries) {
        bool more = true;
        for (const auto& [name, directory] : entries) more = plan.Offer(folder, name, directory);
        if (more) plan.Complete(folder);
        return more;
    }
};

TEST_F(PlanTest, Grouping_EachFolderOnceOnlyWhereSeveralPathsShareIt) {
    const std::vector<std::wstring> paths = {L"C:\\a\\1.ppt", L"C:\\b\\alone.ppt", L"C:\\a\\2.ppt",
                                             L"C:\\a\\1.ppt", L"C:\\A\\3.ppt",     L"C:\\A\\4.ppt",
                                             L"C:\\a\\*.ppt", L"relative.ppt"};
    FolderListingPlan plan(paths);
    ASSERT_EQ(plan.FolderCount(), 2u);  // "C:\a\" and "C:\A\", each spelling its own folder
    EXPECT_EQ(plan.Folder(0), L"C:\\a\\");
    EXPECT_EQ(plan.Folder(1), L"C:\\A\\");
    // Nothing offered yet: every answer is the lookup's.
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(plan.Answer(i), ListedAnswer::LookUp) << i;
    }
}

TEST_F(PlanTest, ListedNames_FoundAndMissingAnsweredUncertainOnesLookedUp) {
    const std::vector<std::wstring> paths = {
        L"C:\\s\\Deck.ppt", L"C:\\s\\Folder.ppt",     L"C:\\s\\gone.ppt",  L"C:\\s\\deck.ppt",
        L"C:\\s\\LOUD.PPT", L"C:\\s\\\u00c4rger.ppt", L"C:\\b\\alone.ppt", L"C:\\s\\Deck.ppt"};
    FolderListingPlan plan(paths);
    ASSERT_EQ(plan.FolderCount(), 1u);
    List(plan, 0,
         {{L".", true},
          {L"..", true},
          {L"Deck.ppt", false},
          {L"Folder.ppt", true},
          {L"loud.ppt", false},
          {L"\u00e4rger.ppt", false},
          {L"other.ppt", false}});
    EXPECT_EQ(plan.Answer(0), ListedAnswer::File);
    EXPECT_EQ(plan.Answer(1), ListedAnswer::NotFile);  // a folder is not a file
    EXPECT_EQ(plan.Answer(2), ListedAnswer::NotFile);  // in no spelling the lookup could take
    EXPECT_EQ(plan.Answer(3), ListedAnswer::File);     // only ASCII case differs
    EXPECT_EQ(plan.Answer(4), ListedAnswer::File);
    EXPECT_EQ(plan.Answer(5), ListedAnswer::LookUp);  // case beyond ASCII: the lookup decides
    EXPECT_EQ(plan.Answer(6), ListedAnswer::LookUp);  // its folder was not worth listing
    EXPECT_EQ(plan.Answer(7), ListedAnswer::File);    // the same path twice
}

// A case-sensitive file system (Linux under Wine) can hold names that differ only in case; a
// case-insensitive lookup takes the exact spelling first, else any of them.
TEST_F(PlanTest, CaseVariantsThatDisagree_ExactSpellingWinsOtherwiseLookedUp) {
    const std::vector<std::wstring> paths = {L"C:\\s\\Mixed.ppt", L"C:\\s\\MIXED.PPT",
                                             L"C:\\s\\mixed.PPT", L"C:\\s\\fIle.ppt"};
    FolderListingPlan plan(paths);
    List(plan, 0,
         {{L"Mixed.ppt", false},
          {L"MIXED.PPT", true},
          {L"f\u0131le.ppt", true},  // dotless i: equal to "FILE.PPT" under a case table
          {L"file.ppt", false}});
    EXPECT_EQ(plan.Answer(0), ListedAnswer::File);
    EXPECT_EQ(plan.Answer(1), ListedAnswer::NotFile);
    EXPECT_EQ(plan.Answer(2), ListedAnswer::LookUp);
    EXPECT_EQ(plan.Answer(3), ListedAnswer::LookUp);
}

// No case table makes one ASCII letter of another: entries of the same length and punctuation
// that are other names leave a case variant's answer alone (and cost no walk through them).
TEST_F(PlanTest, OtherNamesOfTheSameShape_LeaveACaseVariantCertain) {
    const std::vector<std::wstring> paths = {L"C:\\s\\deck.ppt", L"C:\\s\\dock.ppt"};
    FolderListingPlan plan(paths);
    List(plan, 0, {{L"Deck.ppt", false}, {L"Desk.ppt", true}, {L"DOCK.ppt", true}});
    EXPECT_EQ(plan.Answer(0), ListedAnswer::File);
    EXPECT_EQ(plan.Answer(1), ListedAnswer::NotFile);
}

TEST_F(PlanTest, Listing_StopsOnceEveryNameIsFoundExactly) {
    const std::vector<std::wstring> paths = {L"C:\\s\\a.ppt", L"C:\\s\\b.ppt", L"C:\\s\\a.ppt"};
    FolderListingPlan plan(paths);
    EXPECT_TRUE(plan.Offer(0, L"B.PPT", false));  // other case: an exact one may still follow
    EXPECT_TRUE(plan.Offer(0, L"a.ppt", false));
    EXPECT_FALSE(plan.Offer(0, L"b.ppt", false));
    EXPECT_EQ(plan.Answer(0), ListedAnswer::File);
    EXPECT_EQ(plan.Answer(1), ListedAnswer::File);
}

TEST_F(PlanTest, AbandonedListing_EveryNameOfThatFolderLookedUp) {
    const std::vector<std::wstring> paths = {L"C:\\s\\a.ppt", L"C:\\s\\b.ppt", L"D:\\t\\c.ppt",
                                             L"D:\\t\\d.ppt"};
    FolderListingPlan plan(paths);
    ASSERT_EQ(plan.FolderCount(), 2u);
    List(plan, 0, {{L"a.ppt", false}});
    List(plan, 1, {{L"c.ppt", false}, {L"d.ppt", false}});
    plan.Abandon(0);
    EXPECT_FALSE(plan.Offer(0, L"b.ppt", false));
    EXPECT_EQ(plan.Answer(0), ListedAnswer::LookUp);
    EXPECT_EQ(plan.Answer(1), ListedAnswer::LookUp);
    EXPECT_EQ(plan.Answer(2), ListedAnswer::File);
    EXPECT_EQ(plan.Answer(3), ListedAnswer::File);
}

}  // namespace
}  // namespace tidewell
