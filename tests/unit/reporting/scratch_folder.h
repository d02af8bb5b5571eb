#pragma once
// A folder of the test's own below the system's temporary folder, removed again at the end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tidewell {

class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tidewell-" + std::string(test->current_test_info()->test_suite_name()) + "-" +
                   std::to_string(test->random_seed()) + "-" + test->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Write(const std::string& name, const std::string& content) {
        std::ofstream(folder_ / std::filesystem::u8path(name), std::ios::binary) << content;
    }

    std::filesystem::path folder_;
};

}  // namespace tidewell
