#include "copies/copy_ahead.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

std::vector<PlaylistEntry> Decks(std::initializer_list<const wchar_t*> paths) {
    std::vector<PlaylistEntry> decks;
    for (const wchar_t* path : paths) decks.push_back(PlaylistEntry{path});
    return decks;
}

// The next entry's copy first; a sweep then every other deck of the list from there on, and the
// announcement's; each copy once, whatever the spelling of its path.
TEST(CopyAheadOrder, NextEntryFirst_ASweepTakesEveryDeckOnce) {
    const auto list =
        Decks({L"\\\\fs\\a.pptx", L"\\\\fs\\b.pptx", L"\\\\FS\\A.pptx", L"//fs/c.pptx"});
    const auto alert = Decks({L"\\\\fs\\c.pptx", L"\\\\fs\\alert.pptx"});
    const struct {
        std::size_t next;
        bool sweep;
        std::vector<std::wstring> order;
    } rows[] = {
        {1, false, {L"\\\\fs\\b.pptx"}},
        {1, true, {L"\\\\fs\\b.pptx", L"\\\\FS\\A.pptx", L"//fs/c.pptx", L"\\\\fs\\alert.pptx"}},
        {3, true, {L"//fs/c.pptx", L"\\\\fs\\a.pptx", L"\\\\fs\\b.pptx", L"\\\\fs\\alert.pptx"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CopyAheadOrder(list, row.next, alert, row.sweep), row.order)
            << row.next << (row.sweep ? " sweep" : "");
    }
    EXPECT_EQ(CopyAheadOrder({}, 0, alert, true),
              (std::vector<std::wstring>{L"\\\\fs\\c.pptx", L"\\\\fs\\alert.pptx"}));
}

}  // namespace
}  // namespace tidewell
