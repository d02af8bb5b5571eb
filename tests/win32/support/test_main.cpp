// The Win32 tests run on one UI thread with COM and the common controls set up as the program has
// them, so that the real windows behave as they do in tidewell.exe.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

int main(int argc, char** argv) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    // Copies of presentations made by runs under test go to a folder of the tests, never to the
    // user's own.
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    ::SetEnvironmentVariableW(L"TIDEWELL_COPIES_FOLDER",
                              (std::wstring(temp, length) + L"tidewell-test-copies").c_str());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ::CoUninitialize();
    return result;
}
