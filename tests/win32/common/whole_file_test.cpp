// A file that others read is rewritten through a temporary file beside it, in a folder that others
// may write too.
#include "common/whole_file_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace tidewell::testing {
namespace {

std::string Content(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Links planted under the temporary names a writer might choose lead to a file of somebody else's:
// neither it nor the links are written, and the target gets the whole new content all the same.
TEST(ReplaceWholeFile, LinksPlantedUnderTemporaryNames_NeverWrittenThrough) {
    TempFolder folder;
    const std::wstring victim = folder.File(L"victim.txt");
    const std::wstring target = folder.File(L"screen.json");
    std::ofstream(std::filesystem::path(victim), std::ios::binary) << "kept";
    const std::wstring pid = std::to_wstring(::GetCurrentProcessId());
    for (int n = 0; n <= 200; ++n) {
        const std::wstring planted = target + L"." + pid + L"-" + std::to_wstring(n) + L".tmp";
        ASSERT_TRUE(::CreateHardLinkW(planted.c_str(), victim.c_str(), nullptr)) << n;
    }
    for (const char* content : {"first", "second"}) {
        EXPECT_TRUE(ReplaceWholeFile(target, content));
        EXPECT_EQ(Content(target), content);
    }
    EXPECT_EQ(Content(victim), "kept");
}

}  // namespace
}  // namespace tidewell::testing
