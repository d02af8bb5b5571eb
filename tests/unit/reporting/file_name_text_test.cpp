#include "reporting/file_name_text.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

// The system's own kind of name that is no valid text: an unpaired surrogate where names are
// UTF-16 (NTFS, shares), bytes that are not UTF-8 elsewhere; with an escape character after it.
[[maybe_unused]] void MakeOddName(std::wstring& name) {
    name = L"lobby \xD800\x1b.json";
}
[[maybe_unused]] void MakeOddName(std::string& name) {
    name = "lobby \xff\x1b.json";
}

TEST(FileNameText, NameThatIsNoValidText_ShownWithAStandInNeverThrown) {
    std::filesystem::path::string_type odd;
    MakeOddName(odd);
    EXPECT_EQ(FileNameText(std::filesystem::path(odd)), "lobby \xEF\xBF\xBD .json");
    EXPECT_EQ(FileNameText(std::filesystem::path(u8"Caf\u00e9.json")), "Caf\xC3\xA9.json");
}

}  // namespace
}  // namespace tidewell
