#include "persistence/preferences_key.h"

#include <gtest/gtest.h>

namespace tidewell {
namespace {

TEST(ChoosePreferencesKey, VariableSetAndNotEmpty_ItsKeyInsteadOfTheProgramsOwn) {
    EXPECT_EQ(ChoosePreferencesKey(L"SOFTWARE\\elsewhere\\mine"), L"SOFTWARE\\elsewhere\\mine");
    EXPECT_EQ(ChoosePreferencesKey(L""), kPreferencesKeyPath) << "an empty value is no value";
}

}  // namespace
}  // namespace tidewell
