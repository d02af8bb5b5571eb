#include "reporting/overview_page.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "reporting/run_status.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;

// A folder of its own below the system's temporary folder, removed again at the end.
class ScreenFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("tidewell-overview-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& name, const std::string& content) {
        std::ofstream(folder_ / fs::u8path(name), std::ios::binary) << content;
    }
    void WriteStatus(const std::string& name, const std::string& updated) {
        RunStatus status;
        ApplyRunEvent(status, {RunEvent::ShowStart, 2, L"C:\\Shows\\Menu.ppsx", L"", 3, 12},
                      "2026-12-08T08:00:03.125+01:00");
        ApplyRunEvent(status, {RunEvent::Error, 2, L"", L"<script>alert(1)</script>"}, "T");
        Write(name + ".json", StatusDocument(status, {L"PC", L"lobby", "2.35"}, updated));
    }

    fs::path folder_;
};

std::vector<std::string> Cards(const std::string& page) {
    const std::regex card(
        "<article class=\"([^\"]*)\">\\s*(?:<a[^>]*>)?<(img|div)[^>]*>[^<]*(?:</div>)?(?:</a>)?"
        "\\s*<h2>([^<]*)</h2>");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), card);
         it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[3].str() + ":" + (*it)[1].str() + ":" + (*it)[2].str());
    }
    return found;
}

TEST_F(ScreenFolder, StatusFilesAndPictures_OneCardEachStaleAndUnreadableMarked) {
    const long long now = *UtcSecondsOf("2026-12-08T08:10:00.000+01:00");
    WriteStatus("fresh", "2026-12-08T08:09:50.000+01:00");
    Write("fresh.png", "png");
    WriteStatus("other zone", "2026-12-08T07:07:30.000+00:00");  // 2.5 min: not yet stale
    WriteStatus("quiet", "2026-12-08T08:03:20.000+01:00");
    Write("broken.json", "{\"state\": \"play");
    Write("not a status.json", "[1, 2]");
    Write("picture only.PNG", "png");
    Write("index.html", "old page");
    WriteStatus("R&D 'west'", "2026-12-08T08:09:50.000+01:00");

    const std::string page = OverviewPage(ReadScreenFolder(folder_), now, "2026-12-08T08:10:00");

    EXPECT_EQ(Cards(page), (std::vector<std::string>{
                               "R&amp;D &#39;west&#39;:card:div",
                               "broken:card unreadable:div",
                               "fresh:card:img",
                               "not a status:card unreadable:div",
                               "other zone:card:div",
                               "picture only:card:img",
                               "quiet:card stale:div",
                           }));
    EXPECT_NE(page.find("src=\"picture%20only.PNG\""), std::string::npos);
    EXPECT_NE(page.find("6 min"), std::string::npos) << "the stale card says how old it is";
    EXPECT_NE(page.find("3 of 12"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos) << "a status's text is text, never markup";
}

TEST_F(ScreenFolder, EmptyOrMissingFolder_PageWithoutCards) {
    EXPECT_TRUE(Cards(OverviewPage(ReadScreenFolder(folder_), 0, "")).empty());
    EXPECT_TRUE(ReadScreenFolder(folder_ / "missing").empty());
}

}  // namespace
}  // namespace tidewell
