#include "reporting/screen_picture_win32.h"

#include <wincodec.h>

#include <algorithm>
#include <vector>

#include "common/unique_handle_win32.h"

namespace tidewell {
namespace {

class ScreenDC {
  public:
    ScreenDC() : dc_(::GetDC(nullptr)) {}
    ~ScreenDC() {
        if (dc_) ::ReleaseDC(nullptr, dc_);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// Rows of 24-bit blue-green-red pixels, each row padded to four bytes.
struct Pixels {
    UINT width = 0, height = 0, stride = 0;
    std::vector<BYTE> bytes;
};

Pixels CaptureScaled(const RECT& bounds) {
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) return {};
    const int outWidth = std::min(width, kLargestPictureWidth);
    const int outHeight = std::max(1, ::MulDiv(height, outWidth, width));
    ScreenDC screen;
    UniqueMemoryDC memory(::CreateCompatibleDC(screen.get()));
    if (!screen.get() || !memory) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), outWidth, -outHeight, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueGdiObject bitmap(
        ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return {};
    const HGDIOBJ before = ::SelectObject(memory.get(), bitmap.get());
    ::SetStretchBltMode(memory.get(), HALFTONE);
    ::SetBrushOrgEx(memory.get(), 0, 0, nullptr);
    const BOOL copied = ::StretchBlt(memory.get(), 0, 0, outWidth, outHeight, screen.get(),
                                     bounds.left, bounds.top, width, height, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    ::SelectObject(memory.get(), before);
    if (!copied) return {};
    // The screen's fourth byte is no alpha: the PNG gets three bytes a pixel, never transparency.
    Pixels pixels{static_cast<UINT>(outWidth), static_cast<UINT>(outHeight),
                  static_cast<UINT>((outWidth * 3 + 3) & ~3)};
    pixels.bytes.resize(std::size_t{pixels.stride} * pixels.height);
    const auto* source = static_cast<const BYTE*>(bits);
    for (UINT y = 0; y < pixels.height; ++y) {
        for (UINT x = 0; x < pixels.width; ++x) {
            const BYTE* from = source + (std::size_t{y} * pixels.width + x) * 4;
            std::copy(from, from + 3, &pixels.bytes[y * pixels.stride + x * 3]);
        }
    }
    return pixels;
}

std::string EncodePng(Pixels& pixels) {
    UniqueCom<IWICImagingFactory> factory;
    UniqueCom<IStream> stream;
    UniqueCom<IWICBitmapEncoder> encoder;
    UniqueCom<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.put()))) ||
        FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
        FAILED(factory.get()->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder.get()->CreateNewFrame(frame.put(), nullptr)) ||
        FAILED(frame.get()->Initialize(nullptr)) ||
        FAILED(frame.get()->SetSize(pixels.width, pixels.height)) ||
        FAILED(frame.get()->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame.get()->WritePixels(pixels.height, pixels.stride,
                                        static_cast<UINT>(pixels.bytes.size()),
                                        pixels.bytes.data())) ||
        FAILED(frame.get()->Commit()) || FAILED(encoder.get()->Commit())) {
        return {};
    }
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream.get()->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(::GetHGlobalFromStream(stream.get(), &memory))) {
        return {};
    }
    const void* data = ::GlobalLock(memory);
    if (!data) return {};
    std::string png(static_cast<const char*>(data), static_cast<std::size_t>(stat.cbSize.QuadPart));
    ::GlobalUnlock(memory);
    return png;
}

}  // namespace

std::string ScreenPicturePng(const RECT& bounds) noexcept {
    try {
        Pixels pixels = CaptureScaled(bounds);
        return pixels.bytes.empty() ? std::string() : EncodePng(pixels);
    } catch (...) {
        return {};  // no memory for the picture: the next one may have it
    }
}

}  // namespace tidewell
