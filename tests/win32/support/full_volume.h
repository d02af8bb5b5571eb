#pragma once
// The folder on a volume with no room left that full_volume_test.sh mounts for the tests it runs;
// empty (and the test fails saying how to run it) when the test was started some other way.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace tidewell::testing {

inline std::wstring FullVolumeFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TIDEWELL_TEST_FULL_FOLDER", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        ADD_FAILURE() << "run this test through full_volume_test.sh";
        return {};
    }
    return folder;
}

}  // namespace tidewell::testing
