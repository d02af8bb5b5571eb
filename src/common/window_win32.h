#pragma once
// The base of every window of the program. It owns what each window would otherwise repeat: the
// window class, creation at a client size given at 96 DPI and scaled once, the controls of a
// layout table, the window's lifetime, the one place where errors that escape a handler are shown
// (the Error box), centring, label fitting and fonts. A window class derives from Window<itself>
// and keeps only its own controls and handlers.
#include <windows.h>

#include <span>
#include <utility>
#include <vector>

#include "common/dialogs_win32.h"
#include "common/error_sink.h"
#include "common/system_dpi_win32.h"
#include "common/unique_handle_win32.h"

namespace tidewell {

// A place in a window at 96 DPI: left, top, width, height.
struct Rect96 {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One control of a window's layout. Stacking order is table order, which is also the tab order of
// the controls that stop. `parentId` 0 is the window itself; any other id names a control made
// earlier from the same table.
struct ControlRow {
    int id;
    int parentId;
    const wchar_t* windowClass;
    Rect96 place;
    const wchar_t* text;
    DWORD style;  // WS_CHILD | WS_VISIBLE are always added
    DWORD exStyle;
};

struct WindowShape {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    int clientWidth;  // at 96 DPI
    int clientHeight;
    int iconId;   // resource id of the class icon; 0 for none
    HMENU menu;   // the window's menu bar, or nullptr; the window owns it once created
    int dpi = 0;  // what the layout is scaled to; 0 for the system's
};

class WindowBase : public ErrorSink {
  public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Handle() const { return hwnd_; }
    // A control made from the layout table, found by its id; nullptr when there is none.
    HWND Control(int id) const;
    // Shows the message in the Error box over this window; the program goes on.
    void ReportError(const std::wstring& message) override;
    template <typename Action>
    void Guarded(Action&& action) noexcept {
        RunGuarded(*this, std::forward<Action>(action));
    }

  protected:
    explicit WindowBase(Dialogs& dialogs) : dialogs_(dialogs) {}
    ~WindowBase();

    void CreateFromShape(const WindowShape& shape, WNDPROC proc, void* self);
    // Destroys the window while the derived object still exists to handle its last messages.
    void Destroy();
    // Makes every control of `rows`; each takes `font` unless it is null.
    void CreateLayout(std::span<const ControlRow> rows, HFONT font);

    int Scale(int pixels) const { return ::MulDiv(pixels, dpi_, 96); }
    int PointsToPixels(int points) const { return ::MulDiv(points, dpi_, 72); }
    RECT ScaledBounds(const Rect96& place) const;
    Dialogs& UserDialogs() const { return dialogs_; }

    // For WM_ACTIVATE. The default action gives the focus to the window itself, where no key does
    // anything; instead the control that had the focus when the window was last deactivated gets
    // it back (after a dialog, a run that hid it, a switch to another program), or `first` when
    // there was none or it can no longer take it.
    void RestoreFocusOnActivation(WPARAM activation, HWND first);
    // Places the window in the middle of the primary monitor; `flags` are added to SetWindowPos's.
    void CentreOnScreen(UINT flags) const;
    // A font of the dialog kind, `pixelHeight` high (already scaled).
    static UniqueGdiObject CreateUiFont(int pixelHeight, const wchar_t* face,
                                        bool underline = false);
    // Labels size themselves to their text in their own font: the first kind only grows wider
    // (where the system's font runs wider than the layout's, the text grows to the right instead
    // of wrapping onto a hidden second line); the second takes exactly the text's size.
    static void GrowLabelToText(HWND label);
    static void SizeLabelToText(HWND label);

    HWND hwnd_ = nullptr;

  private:
    Dialogs& dialogs_;
    int dpi_ = 96;
    std::vector<std::pair<int, HWND>> controls_;
    HWND focusOnDeactivation_ = nullptr;
};

// The window procedure finds the object through the window: `this` is stored when the window is
// first created (from CreateWindowEx's last argument) and forgotten when the window is gone, so no
// message reaches an object that no longer owns it. At creation the window makes its controls and
// then runs its creation handler. T provides HandleMessage and may provide CreateControls,
// TntFormCreate and OnWindowGone; it names Window<T> a friend.
template <typename T>
class Window : public WindowBase {
  protected:
    using WindowBase::WindowBase;
    void Create(const WindowShape& shape) { CreateFromShape(shape, &Window::Thunk, this); }
    void CreateControls() {}
    void TntFormCreate() {}
    void OnWindowGone() {}

  private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created =
                static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
            created->hwnd_ = hwnd;
        }
        auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        T& window = static_cast<T&>(*self);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            window.OnWindowGone();
            self->hwnd_ = nullptr;
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        LRESULT result = 0;
        bool handled = false;
        self->Guarded([&] {
            if (message == WM_CREATE) {
                window.CreateControls();
                window.TntFormCreate();
            } else {
                result = window.HandleMessage(message, wParam, lParam);
            }
            handled = true;
        });
        return handled ? result : 0;
    }
};

}  // namespace tidewell
