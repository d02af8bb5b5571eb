#include "run/play_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tidewell {
namespace {

const std::vector<PlaylistEntry> kPlaylist = {L"C:\\a.ppt", L"C:\\b.pps", L"C:\\a.ppt",
                                              L"C:\\\u00e9t\u00e9.pptx"};

TEST(BuildPlayQueue, PlayAll_EveryEntryInOrderDuplicatesKept) {
    EXPECT_EQ(BuildPlayQueue(PlaySender::PlayAll, kPlaylist, -1), kPlaylist);
    EXPECT_EQ(BuildPlayQueue(PlaySender::PlayAll, kPlaylist, 1), kPlaylist);
    EXPECT_TRUE(BuildPlayQueue(PlaySender::PlayAll, {}, -1).empty());
}

TEST(BuildPlayQueue, PlaySelected_OnlyTheSelectedEntry) {
    EXPECT_EQ(BuildPlayQueue(PlaySender::PlaySelected, kPlaylist, 3),
              std::vector<PlaylistEntry>{kPlaylist[3]});
    EXPECT_EQ(BuildPlayQueue(PlaySender::PlaySelected, kPlaylist, 0),
              std::vector<PlaylistEntry>{kPlaylist[0]});
    const PlaylistEntry scheduled = *ParseEntryLine(
                                         L"C:\\a.ppt\tdays=Sun\tfrom=2020-01-01\tuntil="
                                         L"2020-01-02\thours=01:00-02:00\tshowfor=9")
                                         .entry;
    EXPECT_EQ(BuildPlayQueue(PlaySender::PlaySelected, {scheduled}, 0),
              std::vector<PlaylistEntry>{*ParseEntryLine(L"C:\\a.ppt\tshowfor=9").entry});
}

TEST(BuildPlayQueue, PlaySelectedWithoutValidSelection_Empty) {
    EXPECT_TRUE(BuildPlayQueue(PlaySender::PlaySelected, kPlaylist, -1).empty());
    EXPECT_TRUE(BuildPlayQueue(PlaySender::PlaySelected, kPlaylist, 4).empty());
    EXPECT_TRUE(BuildPlayQueue(PlaySender::PlaySelected, {}, 0).empty());
}

}  // namespace
}  // namespace tidewell
