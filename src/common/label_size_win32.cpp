#include "common/label_size_win32.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/images_win32.h"
#include "common/unique_handle_win32.h"
#include "common/window_text_win32.h"

namespace tidewell {
namespace {

// Draws the text black on white into a scratch bitmap `width` pixels wide and returns one past
// the rightmost column that holds any ink.
int InkedWidth(HDC reference, HGDIOBJ font, const std::wstring& text, UINT prefix, int width,
               int height) {
    if (width <= 0 || height <= 0) return 0;
    const UniqueMemoryDC dc(::CreateCompatibleDC(reference));
    if (!dc) return 0;
    void* bits = nullptr;
    const UniqueGdiObject bitmap = CreateTopDownDib(width, height, &bits);
    if (!bitmap) return 0;
    const SelectedObject selectedBitmap(dc.get(), bitmap.get());
    const SelectedObject selectedFont(dc.get(), font);
    RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetTextColor(dc.get(), RGB(0, 0, 0));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &all,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | prefix);
    ::GdiFlush();
    int inked = 0;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = width - 1; x >= inked; --x)
            if ((pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF) != 0xFFFFFF) {
                inked = x + 1;
                break;
            }
    return inked;
}

// How the control draws an "&": a button and a static without SS_NOPREFIX take it as the mark of
// the next letter, its access key, which takes no room of its own.
UINT PrefixFlag(HWND control) {
    wchar_t name[16]{};
    ::GetClassNameW(control, name, 16);
    const auto style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    if (::lstrcmpiW(name, L"Button") == 0) return 0;
    if (::lstrcmpiW(name, L"Static") == 0 && (style & SS_NOPREFIX) == 0) return 0;
    return DT_NOPREFIX;
}

}  // namespace

SIZE MeasureLabelText(HWND label) {
    const std::wstring text = WindowText(label);
    const HGDIOBJ ownFont = reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0));
    const HGDIOBJ font = ownFont ? ownFont : ::GetStockObject(SYSTEM_FONT);
    const UniqueWindowDC dc(label);
    const UINT prefix = PrefixFlag(label);
    RECT extent{0, 0, 0, 0};
    {
        const SelectedObject selected(dc.get(), font);
        ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent,
                    DT_CALCRECT | DT_SINGLELINE | prefix);
    }
    // Room to the right for letters drawn wider than reported: a quarter more, at least 8 pixels.
    const int scratchWidth = extent.right + std::max(8, static_cast<int>(extent.right / 4));
    const int inked = InkedWidth(dc.get(), font, text, prefix, scratchWidth, extent.bottom);
    return SIZE{std::max<LONG>(extent.right, inked), extent.bottom};
}

}  // namespace tidewell
