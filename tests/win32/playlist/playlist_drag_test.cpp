// Reordering by dragging a row with the mouse. Most cases post the mouse messages to the real
// list control, which detects the drag itself; the threshold and Esc take real input through the
// program's own message loop, as a user gives it.
#include <gtest/gtest.h>

#include "common/message_pump_win32.h"
#include "playlist/playlist_fixture.h"
#include "support/user_input.h"

namespace tidewell::testing::playlist_tests {
namespace {

using Rows = std::vector<std::wstring>;

class PlaylistDragTest : public PlaylistFixture {
  protected:
    void SetUp() override {
        PlaylistFixture::SetUp();
        // The drop is judged by what lies under the pointer on screen, so the window is shown.
        form_->ShowCentered();
        PumpMessages();
        Fill({L"A", L"B", L"C", L"D", L"E"});
    }

    // Presses on row `from`, moves in small steps to `to` (list client coordinates) with the
    // button held, and leaves the button down.
    void PressAndMove(int from, POINT to) {
        const POINT start = RowCenter(from);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, start);
        const int steps = 8;
        for (int i = 1; i <= steps; ++i) {
            const POINT at{start.x + (to.x - start.x) * i / steps,
                           start.y + (to.y - start.y) * i / steps};
            Post(WM_MOUSEMOVE, MK_LBUTTON, at);
        }
        PumpMessages();
    }

    void Drag(int from, POINT to) {
        PressAndMove(from, to);
        ASSERT_TRUE(List().IsDragging()) << "the list did not start a drag";
        ::SendMessageW(ListWindow(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        PumpMessages();
    }

    void Post(UINT message, WPARAM keys, POINT at) {
        ::PostMessageW(ListWindow(), message, keys, MAKELPARAM(at.x, at.y));
    }

    void TearDown() override {
        SetNavigationWindow(nullptr);
        PlaylistFixture::TearDown();
    }

    // A real press on a row, with the main window in front and its loop's dialog navigation on,
    // as the program runs it.
    void PressOnRow(int row) {
        SetNavigationWindow(form_->Handle());
        ::SetForegroundWindow(form_->Handle());
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == form_->Handle(); }));
        UserInput::MoveTo(OnScreen(ListWindow(), RowCenter(row)));
        UserInput::PressLeft();
        ASSERT_TRUE(PumpUntil([&] { return List().IsDragArmed(); })) << "the press armed no drag";
    }

    void ReleaseAndSettle() {
        UserInput::ReleaseLeft();
        EXPECT_TRUE(PumpUntil([] { return ::GetKeyState(VK_LBUTTON) >= 0; }));
        EXPECT_FALSE(List().IsDragArmed() || List().IsDragging());
        EXPECT_EQ(::GetCapture(), nullptr);
    }

    // A point of the list's client area that lies over another window.
    POINT OverWindow(HWND other) {
        RECT bounds{};
        ::GetWindowRect(other, &bounds);
        POINT at{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        ::ScreenToClient(ListWindow(), &at);
        return at;
    }
};

TEST_F(PlaylistDragTest, BOntoE_EndsAboveE) {
    Drag(1, RowCenter(4));
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"C", L"D", L"B", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 3);
    EXPECT_FALSE(List().IsDragging());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PlaylistDragTest, BOntoRowBelow_OrderUnchangedAndStillSelected) {
    Drag(1, RowCenter(2));
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 1);
}

TEST_F(PlaylistDragTest, BBelowLastRow_MovesToEnd) {
    Drag(1, BelowLastRow());
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"C", L"D", L"E", L"B"}));
    EXPECT_EQ(List().SelectedIndex(), 4);
    EXPECT_FALSE(ControlStates().moveDown);
    EXPECT_TRUE(ControlStates().moveUp);
}

TEST_F(PlaylistDragTest, DroppedOnItself_ChangesNothing) {
    const POINT start = RowCenter(2);
    Drag(2, {start.x + 40, start.y});
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 2);
}

TEST_F(PlaylistDragTest, ReleasedOverAnotherControl_ChangesNothing) {
    Drag(1, OverWindow(Control(IDC_BitBtn3)));
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 1);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PlaylistDragTest, ReleasedOverColumnHeader_ChangesNothing) {
    Drag(3, OverWindow(ListView_GetHeader(ListWindow())));
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 3);
}

TEST_F(PlaylistDragTest, ReleasedOutsideMainWindow_ChangesNothing) {
    RECT frame{};
    ::GetWindowRect(form_->Handle(), &frame);
    POINT outside{frame.right + 30, frame.bottom + 30};
    ::ScreenToClient(ListWindow(), &outside);
    Drag(0, outside);
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
}

TEST_F(PlaylistDragTest, EscapeWithButtonHeld_CancelsThroughTheMainLoop) {
    PressOnRow(1);
    UserInput::GlideTo(OnScreen(ListWindow(), RowCenter(4)));
    ASSERT_TRUE(List().IsDragging());
    UserInput::Key(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !List().IsDragging(); })) << "Esc did not reach the list";
    // Released over E, where a running drag would have moved B.
    ReleaseAndSettle();
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 1);
    EXPECT_EQ(::GetFocus(), ListWindow());
}

TEST_F(PlaylistDragTest, DragBeginsFivePixelsFromThePress_HorizontallyOrVertically) {
    for (const POINT direction : {POINT{1, 0}, POINT{0, 1}, POINT{-1, 0}, POINT{0, -1}}) {
        SCOPED_TRACE(::testing::Message() << "direction " << direction.x << "," << direction.y);
        PressOnRow(2);
        const POINT press = OnScreen(ListWindow(), RowCenter(2));
        UserInput::MoveTo({press.x + 4 * direction.x, press.y + 4 * direction.y});
        EXPECT_FALSE(List().IsDragging()) << "began 4 pixels away";
        EXPECT_TRUE(List().IsDragArmed());
        UserInput::MoveTo({press.x + 5 * direction.x, press.y + 5 * direction.y});
        EXPECT_TRUE(List().IsDragging()) << "not begun 5 pixels away";
        // Released within its own row: a drop on itself.
        ReleaseAndSettle();
        EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
        EXPECT_EQ(List().SelectedIndex(), 2);
    }
}

TEST_F(PlaylistDragTest, ReleasedFourPixelsAway_IsAClickThatMovesNothing) {
    PressOnRow(1);
    const POINT press = OnScreen(ListWindow(), RowCenter(1));
    UserInput::MoveTo({press.x + 4, press.y + 4});
    ReleaseAndSettle();
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 1);
}

TEST_F(PlaylistDragTest, CaptureTakenAway_CancelsDrag) {
    PressAndMove(1, RowCenter(3));
    ASSERT_TRUE(List().IsDragging());
    ::SetCapture(form_->Handle());
    EXPECT_FALSE(List().IsDragging());
    ::ReleaseCapture();
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
}

TEST_F(PlaylistDragTest, SmallMoveBeforeDragBegins_IsAClickNotADrag) {
    const POINT start = RowCenter(1);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, start);
    Post(WM_MOUSEMOVE, MK_LBUTTON, {start.x + 1, start.y + 1});
    Post(WM_LBUTTONUP, 0, {start.x + 1, start.y + 1});
    PumpMessages();
    EXPECT_FALSE(List().IsDragging());
    EXPECT_EQ(ShownRows(), (Rows{L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(List().SelectedIndex(), 1);
}

TEST_F(PlaylistDragTest, NonAnsiPaths_KeepEveryCharacterThroughDrag) {
    List().RemoveAll();
    const std::wstring cyrillic = L"C:\\\x041F\x0440\x0435\x0437.pptx";
    const std::wstring chinese = L"C:\\\x6F14\x793A.ppt";
    const std::wstring greek = L"C:\\\x03A3\x03BB\x03B1.pps";
    Fill({cyrillic, chinese, greek});
    Drag(0, BelowLastRow());
    EXPECT_EQ(ShownRows(), (Rows{chinese, greek, cyrillic}));
}

}  // namespace
}  // namespace tidewell::testing::playlist_tests
