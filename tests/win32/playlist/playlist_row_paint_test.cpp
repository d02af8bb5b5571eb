// What the playlist draws for its rows: a path too long for the column is drawn with folders left
// out of its middle, so that its file name stays visible, while the row's text stays the full path.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/entry_settings.h"
#include "playlist/path_compaction.h"
#include "playlist/playlist_fixture.h"
#include "support/window_queries.h"

namespace tidewell::testing::playlist_tests {
namespace {

// The texts the list draws when it paints itself, in drawing order: the list paints into a
// metafile, whose text records hold the very strings drawn.
std::vector<std::wstring> DrawnTexts(HWND list) {
    const HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    // A fresh recording has no clip box, and the list draws only the rows inside the one it finds.
    RECT client{};
    ::GetClientRect(list, &client);
    ::IntersectClipRect(recorder, 0, 0, client.right, client.bottom);
    ::SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder),
                   PRF_CLIENT | PRF_ERASEBKGND);
    const HENHMETAFILE recording = ::CloseEnhMetaFile(recorder);
    std::vector<std::wstring> texts;
    ::EnumEnhMetaFile(
        nullptr, recording,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found) -> int {
            if (record->iType != EMR_EXTTEXTOUTW) return 1;
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            const auto* chars = reinterpret_cast<const wchar_t*>(
                reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
            if (text->emrtext.nChars > 0)
                reinterpret_cast<std::vector<std::wstring>*>(found)->emplace_back(
                    chars, text->emrtext.nChars);
            return 1;
        },
        &texts, nullptr);
    ::DeleteEnhMetaFile(recording);
    return texts;
}

class PlaylistRowPaint : public PlaylistFixture {
  protected:
    // The rows as drawn in a column `width` pixels wide.
    std::vector<std::wstring> RowsDrawnAt(int width) {
        ListView_SetColumnWidth(ListWindow(), 0, width);
        std::vector<std::wstring> rows;
        for (const std::wstring& text : DrawnTexts(ListWindow()))
            if (text.rfind(L"C:\\", 0) == 0) rows.push_back(text);
        return rows;
    }
};

TEST_F(PlaylistRowPaint, LongPath_DrawnWithItsDriveAndFileNameTheRowKeepsThePathTipsOn) {
    const std::wstring longPath =
        L"C:\\users\\Public\\Documents\\Tidewell demo\\Lobby screens\\Spring season\\"
        L"Welcome.pptx";
    const std::wstring shortPath = L"C:\\Shows\\Tour.ppt";
    Fill({longPath, shortPath});
    List().SetSelectedIndex(0);

    const std::vector<std::wstring> rows = RowsDrawnAt(ListView_GetColumnWidth(ListWindow(), 0));
    ASSERT_EQ(rows.size(), 2u) << "the list did not draw both rows";
    EXPECT_LT(rows[0].size(), longPath.size()) << rows[0];
    EXPECT_NE(rows[0].find(L"\u2026\\"), std::wstring::npos) << rows[0];
    EXPECT_TRUE(rows[0].ends_with(L"\\Welcome.pptx")) << rows[0];
    EXPECT_EQ(rows[1], shortPath);

    EXPECT_EQ(ShownRows(), (std::vector<std::wstring>{longPath, shortPath}));
    const auto extended = static_cast<DWORD>(ListView_GetExtendedListViewStyle(ListWindow()));
    EXPECT_TRUE(extended & LVS_EX_LABELTIP) << "a cut path has no tip with the whole path";
}

// A row with settings draws its path as a row without them draws it, and its summary in the room
// that is left, whole or cut at its end.
TEST_F(PlaylistRowPaint, PathWithSummaryInNarrowList_PathKeepsItsFolderSummaryTakesWhatIsLeft) {
    const std::wstring path = L"C:\\Shows\\Lobby\\Mornings\\Breakfast menu.pptx";
    const auto entry =
        ParseEntryLine(path + L"\tdays=Mon-Fri\thours=07:00-10:30\tshowfor=300\tadvance=10").entry;
    ASSERT_TRUE(entry);
    List().Append(*entry);
    Fill({path});
    const std::wstring summary = SettingsSummary(entry->settings);
    const std::wstring pathThenSummary = path + kSummarySeparator;
    const int pathWidth = TextWidthInOwnFont(ListWindow(), pathThenSummary);
    const int summaryWidth = TextWidthInOwnFont(ListWindow(), summary);

    std::vector<std::wstring> rows = RowsDrawnAt(pathWidth + summaryWidth * 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], pathThenSummary + summary);

    rows = RowsDrawnAt(pathWidth + summaryWidth / 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].starts_with(pathThenSummary)) << rows[0];
    EXPECT_GT(rows[0].size(), pathThenSummary.size() + 1) << "nothing of the summary shown";
    EXPECT_TRUE(rows[0].ends_with(kEllipsis)) << rows[0];

    rows = RowsDrawnAt(pathWidth * 3 / 4);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[1].starts_with(L"C:\\Shows\\")) << rows[1];
    EXPECT_TRUE(rows[1].ends_with(L"\u2026\\Breakfast menu.pptx")) << rows[1];
    EXPECT_TRUE(rows[0].starts_with(rows[1])) << rows[0];
    // The tip that the list asks its parent for when the pointer rests on the row.
    wchar_t tip[512] = {};
    NMLVGETINFOTIPW ask{{ListWindow(), static_cast<UINT_PTR>(IDC_ListView1), LVN_GETINFOTIPW},
                        0,
                        tip,
                        512,
                        0,
                        0,
                        0};
    ::SendMessageW(::GetParent(ListWindow()), WM_NOTIFY, IDC_ListView1,
                   reinterpret_cast<LPARAM>(&ask));
    EXPECT_EQ(std::wstring(tip), path + L"\n" + summary) << "the tip does not give the summary";
}

}  // namespace
}  // namespace tidewell::testing::playlist_tests
