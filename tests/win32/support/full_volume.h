#pragma once
// The folder on a volume with no room left that full_volume_test.sh mounts for the tests it runs;
// empty (and the test fails saying how to run it) when the test was started some other way.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/unique_handle_win32.h"

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

// Writes `file` until the volume has no room left, as full_volume_test.sh fills it.
inline void FillVolume(const std::wstring& file) {
    const UniqueFileHandle handle(
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(handle);
    const std::string block(4096, '\0');
    DWORD written = 0;
    while (::WriteFile(handle.get(), block.data(), 4096, &written, nullptr) && written == 4096) {
    }
}

}  // namespace tidewell::testing
