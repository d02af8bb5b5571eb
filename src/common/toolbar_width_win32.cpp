#include "common/toolbar_width_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell {

int FixedButtonWidth(HWND toolbar, int standardWidth, int imageWidth) {
    const UniqueWindowDC dc(toolbar);
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(toolbar, WM_GETFONT, 0, 0));
    const SelectedObject selected(dc.get(), font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    const int padding = LOWORD(::SendMessageW(toolbar, TB_GETPADDING, 0, 0));
    int width = standardWidth;
    const int count = static_cast<int>(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & (BTNS_AUTOSIZE | BTNS_SEP)) continue;
        const LRESULT length = ::SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, 0);
        if (length <= 0) continue;
        std::vector<wchar_t> caption(static_cast<std::size_t>(length) + 1);
        ::SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand,
                       reinterpret_cast<LPARAM>(caption.data()));
        SIZE text{};
        ::GetTextExtentPoint32W(dc.get(), caption.data(), static_cast<int>(length), &text);
        width = std::max(width, padding + std::max<int>(text.cx, imageWidth));
    }
    return width;
}

}  // namespace tidewell
