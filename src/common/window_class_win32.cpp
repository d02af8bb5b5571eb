#include "common/window_class_win32.h"

namespace tidewell {

void RegisterButtonFaceClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    ::RegisterClassExW(&wc);
}

}  // namespace tidewell
