// The window base both windows derive from: its one error guard, the object's lifetime against
// the window's, and the error a failed system call raises.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/win32_error_win32.h"
#include "common/window_win32.h"
#include "support/scripted_dialogs.h"

namespace tidewell::testing {
namespace {

constexpr UINT kThrowAppError = WM_APP + 1;
constexpr UINT kThrowLibraryError = WM_APP + 2;

// A window that fails on request, the way a handler meets an error it did not check for.
class FailingWindow : public Window<FailingWindow> {
  public:
    explicit FailingWindow(Dialogs& dialogs) : Window(dialogs) {}
    ~FailingWindow() { Destroy(); }
    void Create() {
        Window::Create(
            {L"TidewellTestWindow", L"Test", WS_OVERLAPPEDWINDOW, 0, 200, 100, 0, nullptr});
    }
    int handled = 0;
    bool gone = false;

  private:
    friend class Window<FailingWindow>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        ++handled;
        if (message == kThrowAppError) throw AppError(L"Cannot do that");
        if (message == kThrowLibraryError) throw std::runtime_error("out of luck");
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    void OnWindowGone() { gone = true; }
};

TEST(WindowBase, ErrorInAHandler_ShownOnceInTheErrorBoxAndTheWindowGoesOn) {
    ScriptedDialogs dialogs;
    FailingWindow window(dialogs);
    window.Create();
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_EQ(::SendMessageW(window.Handle(), kThrowAppError, 0, 0), 0);
    ::SendMessageW(window.Handle(), kThrowLibraryError, 0, 0);
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(dialogs.errors[0], L"Cannot do that.");
    EXPECT_EQ(dialogs.errors[1].find(L"out of luck"), std::wstring::npos) << "no library text";
    EXPECT_TRUE(::IsWindow(window.Handle()));
}

TEST(WindowBase, WindowDestroyed_ObjectForgetsItAndHearsNothingMore) {
    ScriptedDialogs dialogs;
    FailingWindow window(dialogs);
    window.Create();
    const HWND handle = window.Handle();
    ::DestroyWindow(handle);
    EXPECT_TRUE(window.gone);
    EXPECT_EQ(window.Handle(), nullptr);
    const int before = window.handled;
    ::SendMessageW(handle, kThrowAppError, 0, 0);
    EXPECT_EQ(window.handled, before);
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST(ThrowLastErrorIf, FailedCall_ErrorNamesTheCallAndCarriesItsCode) {
    EXPECT_NO_THROW(ThrowLastErrorIf(false, L"CreateFileW", L"never"));
    ::SetLastError(ERROR_ACCESS_DENIED);
    try {
        ThrowLastErrorIf(true, L"CreateFileW",
                         [](DWORD code) { return L"Cannot open, code " + std::to_wstring(code); });
        ADD_FAILURE() << "nothing thrown";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Message(), L"Cannot open, code 5");
        EXPECT_EQ(error.FailedCall(), L"CreateFileW");
        EXPECT_EQ(error.SystemCode(), static_cast<unsigned long>(ERROR_ACCESS_DENIED));
    }
}

}  // namespace
}  // namespace tidewell::testing
