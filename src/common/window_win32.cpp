#include "common/window_win32.h"

#include <algorithm>

#include "common/error_text.h"
#include "common/label_size_win32.h"
#include "common/panel_win32.h"

namespace tidewell {
namespace {

void RegisterWindowClass(HINSTANCE instance, const WindowShape& shape, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, shape.className, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    if (shape.iconId) {
        wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(shape.iconId));
        wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(shape.iconId),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0));
    }
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = shape.className;
    ::RegisterClassExW(&wc);
}

}  // namespace

int SystemDpi() {
    const UniqueWindowDC screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

WindowBase::~WindowBase() {
    // The derived object is gone by now: its window must not call back into it.
    if (hwnd_) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

void WindowBase::Destroy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void WindowBase::CreateFromShape(const WindowShape& shape, WNDPROC proc, void* self) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterWindowClass(instance, shape, proc);
    RegisterPanelClass();
    dpi_ = shape.dpi > 0 ? shape.dpi : SystemDpi();
    RECT frame{0, 0, Scale(shape.clientWidth), Scale(shape.clientHeight)};
    ::AdjustWindowRectEx(&frame, shape.style, shape.menu ? TRUE : FALSE, shape.exStyle);
    ::CreateWindowExW(shape.exStyle, shape.className, shape.caption, shape.style, CW_USEDEFAULT,
                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                      shape.menu, instance, self);
}

RECT WindowBase::ScaledBounds(const Rect96& place) const {
    return {Scale(place.left), Scale(place.top), Scale(place.width), Scale(place.height)};
}

void WindowBase::CreateLayout(std::span<const ControlRow> rows, HFONT font) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ControlRow& row : rows) {
        const HWND parent = row.parentId ? Control(row.parentId) : hwnd_;
        const RECT bounds = ScaledBounds(row.place);
        const HWND control = ::CreateWindowExW(
            row.exStyle, row.windowClass, row.text, WS_CHILD | WS_VISIBLE | row.style, bounds.left,
            bounds.top, bounds.right, bounds.bottom, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        controls_.emplace_back(row.id, control);
        if (font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

HWND WindowBase::Control(int id) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [id](const auto& entry) { return entry.first == id; });
    return found == controls_.end() ? nullptr : found->second;
}

void WindowBase::ReportError(const std::wstring& message) {
    dialogs_.ShowError(hwnd_, ErrorBoxText(message));
}

void WindowBase::RestoreFocusOnActivation(WPARAM activation, HWND first) {
    if (LOWORD(activation) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd_, focus)) focusOnDeactivation_ = focus;
        return;
    }
    if (HIWORD(activation) != 0) return;  // minimised: nothing to type into
    const HWND last = focusOnDeactivation_;
    const bool canTakeIt =
        last && ::IsChild(hwnd_, last) && ::IsWindowVisible(last) && ::IsWindowEnabled(last);
    ::SetFocus(canTakeIt ? last : first);
}

void WindowBase::CentreOnScreen(UINT flags) const {
    RECT frame{};
    ::GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(hwnd_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | flags);
}

UniqueGdiObject WindowBase::CreateUiFont(int pixelHeight, const wchar_t* face, bool underline) {
    return UniqueGdiObject(::CreateFontW(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE,
                                         underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, face));
}

void WindowBase::GrowLabelToText(HWND label) {
    const SIZE text = MeasureLabelText(label);
    RECT place{};
    ::GetWindowRect(label, &place);
    if (text.cx > place.right - place.left) {
        ::SetWindowPos(label, nullptr, 0, 0, text.cx, place.bottom - place.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void WindowBase::SizeLabelToText(HWND label) {
    const SIZE text = MeasureLabelText(label);
    ::SetWindowPos(label, nullptr, 0, 0, text.cx, text.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tidewell
