#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "playback/backdrop_win32.h"
#include "support/user_input.h"

namespace tidewell::testing {
namespace {

// A plain window painted with a stock brush: what was open on the monitor, or a later show.
struct SolidWindow {
    SolidWindow(int stockBrush, RECT r) {
        const std::wstring name = L"TidewellTestSolid" + std::to_wstring(stockBrush);
        WNDCLASSW windowClass{0,
                              ::DefWindowProcW,
                              0,
                              0,
                              ::GetModuleHandleW(nullptr),
                              nullptr,
                              nullptr,
                              static_cast<HBRUSH>(::GetStockObject(stockBrush)),
                              nullptr,
                              name.c_str()};
        ::RegisterClassW(&windowClass);
        handle = ::CreateWindowExW(0, name.c_str(), L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
    }
    ~SolidWindow() { ::DestroyWindow(handle); }
    HWND handle;
};

bool ShowsColour(int x, int y, COLORREF colour) {
    return PumpUntil([&] {
        const HDC screen = ::GetDC(nullptr);
        const COLORREF pixel = ::GetPixel(screen, x, y);
        ::ReleaseDC(nullptr, screen);
        return pixel == colour;
    });
}

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kGray = RGB(128, 128, 128);

// Over a white "desktop" the monitor's rectangle turns black, and nothing beside it; a show opened
// later sits above the black, also after the backdrop is moved; removal shows the desktop again.
TEST(Backdrop, BlackOverExactlyTheMonitor_UnderLaterShows_NeverActiveNorTopmost) {
    SolidWindow desktop(WHITE_BRUSH, {0, 0, 700, 500});
    ::SetForegroundWindow(desktop.handle);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == desktop.handle; }));
    HWND gone = nullptr;
    {
        Backdrop backdrop;
        const RECT monitor{100, 80, 500, 380};
        ASSERT_TRUE(backdrop.Cover(monitor));
        RECT place{};
        ::GetWindowRect(backdrop.Handle(), &place);
        EXPECT_TRUE(::EqualRect(&place, &monitor));
        EXPECT_TRUE(ShowsColour(100, 80, kBlack) && ShowsColour(499, 379, kBlack));
        EXPECT_TRUE(ShowsColour(99, 200, kWhite) && ShowsColour(500, 200, kWhite));
        const LONG_PTR exStyle = ::GetWindowLongPtrW(backdrop.Handle(), GWL_EXSTYLE);
        EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_APPWINDOW),
                  WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
        EXPECT_EQ(::GetForegroundWindow(), desktop.handle);

        SolidWindow show(GRAY_BRUSH, {200, 150, 300, 250});
        ASSERT_TRUE(ShowsColour(250, 200, kGray));
        ASSERT_TRUE(backdrop.Cover({120, 90, 520, 390}));
        EXPECT_TRUE(ShowsColour(510, 385, kBlack));
        EXPECT_TRUE(ShowsColour(250, 200, kGray)) << "moving the backdrop raised it over the show";

        backdrop.Remove();
        EXPECT_EQ(backdrop.Handle(), nullptr);
        EXPECT_TRUE(ShowsColour(400, 300, kWhite));
        ASSERT_TRUE(backdrop.Cover(monitor));
        gone = backdrop.Handle();
    }
    EXPECT_FALSE(::IsWindow(gone)) << "left behind by the destructor";
    EXPECT_TRUE(ShowsColour(400, 300, kWhite));
}

TEST(Backdrop, NoPointerDrawnOverTheBlack) {
    Backdrop backdrop;
    ASSERT_TRUE(backdrop.Cover({100, 80, 500, 380}));
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(backdrop.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(backdrop.Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), nullptr);
}

}  // namespace
}  // namespace tidewell::testing
