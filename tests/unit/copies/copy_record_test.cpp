// One folder per original whatever way its path is written; a note that is not whole makes the
// copy be made again rather than trusted.
#include "copies/copy_record.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

TEST(CopyRecord, PathWrittenAnotherWay_SameFolder_OtherFile_OtherFolder) {
    const std::wstring folder = CopyFolderName(L"\\\\server\\shows\\Menu.pptx");
    EXPECT_EQ(folder.size(), 16u);
    EXPECT_EQ(CopyFolderName(L"\\\\SERVER\\Shows/menu.PPTX"), folder);
    EXPECT_NE(CopyFolderName(L"\\\\server\\shows\\Menu2.pptx"), folder);
}

TEST(CopyRecord, NoteReadBack_DamagedNoteRefused) {
    const CopyRecord record{L"\\\\server\\shows\\Caf\u00e9.pptx", 26348, 134092224000000000ULL,
                            134092224600000000ULL};
    const std::string note = EncodeCopyRecord(record);
    const auto back = DecodeCopyRecord(note);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->original, record.original);
    EXPECT_TRUE(back->MadeFrom(record.size, record.lastWrite));
    EXPECT_EQ(back->copiedAt, record.copiedAt);
    for (const std::string& damaged :
         {note.substr(0, note.size() - 3), "x" + note, std::string()}) {
        EXPECT_FALSE(DecodeCopyRecord(damaged)) << damaged;
    }
}

}  // namespace
}  // namespace tidewell
