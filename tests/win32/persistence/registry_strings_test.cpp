#include "persistence/registry_strings_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/app_error.h"
#include "support/form_fixture.h"

namespace tidewell::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RegistryStrings : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = UniqueTestKeyPath();
        key_ = OpenPreferencesKey(path_);
        ASSERT_TRUE(key_);
    }
    void TearDown() override {
        key_.reset();
        DeleteTestKey(path_);
    }
    void SetRaw(const wchar_t* name, DWORD type, const Bytes& data) {
        ASSERT_EQ(::RegSetValueExW(key_.get(), name, 0, type, data.data(),
                                   static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    std::wstring ErrorOf(const wchar_t* name) {
        try {
            ReadRegistryString(key_.get(), name);
        } catch (const AppError& error) {
            return error.Message();
        }
        return L"(no error)";
    }

    std::wstring path_;
    UniqueHKEY key_;
};

TEST_F(RegistryStrings, OpenPreferencesKey_MissingKey_IsCreated) {
    const std::wstring path = path_ + L"\\deeper\\still";
    UniqueHKEY created = OpenPreferencesKey(path);
    ASSERT_TRUE(created);
    HKEY probe = nullptr;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS);
    if (probe) ::RegCloseKey(probe);
}

TEST_F(RegistryStrings, Read_StringValues_MatchTable) {
    const struct {
        const wchar_t* name;
        DWORD type;
        Bytes data;
        std::wstring text;
    } cases[] = {
        {L"plain", REG_SZ, {'a', 0, 'b', 0, 0, 0}, L"ab"},
        {L"unterminated", REG_SZ, {'a', 0, 'b', 0}, L"ab"},
        {L"embedded_nul", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0}, L"a"},
        {L"empty", REG_SZ, {}, L""},
        {L"one_byte", REG_SZ, {'A'}, L"A"},
        {L"expand_not_expanded",
         REG_EXPAND_SZ,
         {'%', 0, 'T', 0, 'E', 0, 'M', 0, 'P', 0, '%', 0, 0, 0},
         L"%TEMP%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.name)));
        SetRaw(c.name, c.type, c.data);
        EXPECT_EQ(ReadRegistryString(key_.get(), c.name), c.text);
    }
}

TEST_F(RegistryStrings, Read_WrongTypeOrUnreadable_ThrowsWithValueName) {
    SetRaw(L"files", REG_DWORD, {1, 0, 0, 0});
    SetRaw(L"pptexfile", REG_BINARY, {'a', 0, 0, 0});
    SetRaw(L"monitorc", REG_MULTI_SZ, {'1', 0, 0, 0, 0, 0});
    // Three bytes leave room for one code unit only, so the data does not fit.
    SetRaw(L"odd", REG_SZ, {'a', 0, 'b'});
    EXPECT_EQ(ErrorOf(L"files"), L"Invalid data type for 'files'");
    EXPECT_EQ(ErrorOf(L"pptexfile"), L"Invalid data type for 'pptexfile'");
    EXPECT_EQ(ErrorOf(L"monitorc"), L"Invalid data type for 'monitorc'");
    EXPECT_EQ(ErrorOf(L"odd"), L"Failed to get data for 'odd'");
}

}  // namespace
}  // namespace tidewell::testing
