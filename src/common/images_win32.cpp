#include "common/images_win32.h"

#include "common/unique_handle_win32.h"
#include "common/win32_error_win32.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tidewell {
namespace {

// Every picture is drawn with GDI at four times its size and then averaged down, which gives
// smooth diagonals (arrow heads, crosses) and a real alpha channel while edges that lie on whole
// pixels of the final size stay sharp.
constexpr int kOversample = 4;

// GDI writes no alpha, so the canvas starts in a colour that no picture uses and every sample
// still in that colour afterwards counts as clear.
constexpr COLORREF kClear = RGB(255, 0, 255);

constexpr COLORREF kInk = RGB(0x4A, 0x58, 0x66);
constexpr COLORREF kPaper = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kPaperFold = RGB(0xDC, 0xE3, 0xEA);
constexpr COLORREF kTextLine = RGB(0x8F, 0xA6, 0xBD);
constexpr COLORREF kFolderBack = RGB(0xE3, 0xA9, 0x2F);
constexpr COLORREF kFolderFront = RGB(0xF6, 0xCB, 0x5C);
constexpr COLORREF kFolderInk = RGB(0x9A, 0x6B, 0x0C);
constexpr COLORREF kCross = RGB(0xD3, 0x2F, 0x2F);
constexpr COLORREF kArrow = RGB(0x2F, 0x7B, 0xD6);
constexpr COLORREF kArrowInk = RGB(0x1B, 0x4F, 0x8F);

// A point in the 16-unit design space; whole numbers are pixel edges at 16 pixels, and halves
// are pixel centres (where a one-unit outline must run to cover exactly one pixel).
struct Point {
    double x;
    double y;
};

void ThrowIfGdiFailed(bool failed, const wchar_t* call) {
    ThrowLastErrorIf(failed, call,
                     std::wstring(L"Could not draw the program's pictures (") + call + L")");
}

UniqueGdiObject CreateDib(int width, int height, void** bits) {
    UniqueGdiObject bitmap = CreateTopDownDib(width, height, bits);
    ThrowIfGdiFailed(!bitmap, L"CreateDIBSection");
    return bitmap;
}

class Canvas {
  public:
    explicit Canvas(int size) : size_(size), big_(size * kOversample) {
        dc_.reset(CreateCompatibleDC(nullptr));
        ThrowIfGdiFailed(!dc_, L"CreateCompatibleDC");
        bitmap_ = CreateDib(big_, big_, reinterpret_cast<void**>(&bits_));
        selected_.emplace(dc_.get(), bitmap_.get());
        UniqueGdiObject clear(CreateSolidBrush(kClear));
        const RECT all{0, 0, big_, big_};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(clear.get()));
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // A filled polygon with a one-unit outline centred on its edges.
    void Polygon(std::initializer_list<Point> points, COLORREF fill, COLORREF outline) {
        std::vector<POINT> device;
        for (const Point& p : points) device.push_back({Device(p.x), Device(p.y)});
        UniqueGdiObject pen(CreateGeometricPen(Unit(), outline, PS_ENDCAP_FLAT | PS_JOIN_MITER));
        UniqueGdiObject brush(CreateSolidBrush(fill));
        const SelectedObject selectedPen(dc_.get(), pen.get());
        const SelectedObject selectedBrush(dc_.get(), brush.get());
        ::Polygon(dc_.get(), device.data(), static_cast<int>(device.size()));
    }

    void Rectangle(double left, double top, double right, double bottom, COLORREF fill) {
        UniqueGdiObject brush(CreateSolidBrush(fill));
        const RECT r{Device(left), Device(top), Device(right), Device(bottom)};
        FillRect(dc_.get(), &r, static_cast<HBRUSH>(brush.get()));
    }

    // A straight stroke `width` units wide with round ends.
    void Line(Point from, Point to, double width, COLORREF colour) {
        const int deviceWidth = std::max(1, static_cast<int>(std::lround(width * Unit())));
        UniqueGdiObject pen(
            CreateGeometricPen(deviceWidth, colour, PS_ENDCAP_ROUND | PS_JOIN_ROUND));
        const SelectedObject selectedPen(dc_.get(), pen.get());
        MoveToEx(dc_.get(), Device(from.x), Device(from.y), nullptr);
        LineTo(dc_.get(), Device(to.x), Device(to.y));
    }

    // The picture at its final size: straight (not premultiplied) BGRA, top row first, each
    // pixel the average of its covered samples with the covered share as its alpha.
    std::vector<std::uint32_t> Downsample() const {
        GdiFlush();
        constexpr int kSamples = kOversample * kOversample;
        std::vector<std::uint32_t> out(static_cast<size_t>(size_) * size_);
        const std::uint32_t clear = RGB(GetBValue(kClear), GetGValue(kClear), GetRValue(kClear));
        for (int y = 0; y < size_; ++y) {
            for (int x = 0; x < size_; ++x) {
                int covered = 0;
                int sum[3] = {0, 0, 0};
                for (int sy = 0; sy < kOversample; ++sy) {
                    for (int sx = 0; sx < kOversample; ++sx) {
                        const std::uint32_t sample =
                            bits_[(y * kOversample + sy) * big_ + x * kOversample + sx] & 0xFFFFFF;
                        if (sample == clear) continue;
                        ++covered;
                        for (int c = 0; c < 3; ++c) sum[c] += (sample >> (8 * c)) & 0xFF;
                    }
                }
                if (covered == 0) continue;
                std::uint32_t pixel =
                    static_cast<std::uint32_t>((255 * covered + kSamples / 2) / kSamples) << 24;
                for (int c = 0; c < 3; ++c)
                    pixel |= static_cast<std::uint32_t>((sum[c] + covered / 2) / covered)
                             << (8 * c);
                out[static_cast<size_t>(y) * size_ + x] = pixel;
            }
        }
        return out;
    }

  private:
    int Unit() const { return std::max(1, static_cast<int>(std::lround(big_ / 16.0))); }
    int Device(double v) const { return static_cast<int>(std::lround(v * big_ / 16.0)); }

    static HPEN CreateGeometricPen(int width, COLORREF colour, DWORD shape) {
        LOGBRUSH brush{BS_SOLID, colour, 0};
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | shape, static_cast<DWORD>(width), &brush,
                                0, nullptr);
        ThrowIfGdiFailed(!pen, L"ExtCreatePen");
        return pen;
    }

    int size_;
    int big_;
    UniqueMemoryDC dc_;
    UniqueGdiObject bitmap_;
    // Declared last, so that the bitmap is unselected before it and the context are deleted.
    std::optional<SelectedObject> selected_;
    std::uint32_t* bits_ = nullptr;
};

// The colour bitmap and the mask (set bits where the picture is fully clear) of one picture.
struct GlyphBitmaps {
    UniqueGdiObject colour;
    UniqueGdiObject mask;
};

GlyphBitmaps ToBitmaps(const Canvas& canvas, int size) {
    const std::vector<std::uint32_t> pixels = canvas.Downsample();
    GlyphBitmaps result;
    void* bits = nullptr;
    result.colour = CreateDib(size, size, &bits);
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));

    const int stride = ((size + 15) / 16) * 2;  // monochrome rows are WORD-aligned
    std::vector<BYTE> mask(static_cast<size_t>(stride) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if ((pixels[static_cast<size_t>(y) * size + x] >> 24) == 0)
                mask[static_cast<size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    result.mask.reset(CreateBitmap(size, size, 1, 1, mask.data()));
    ThrowIfGdiFailed(!result.mask, L"CreateBitmap");
    return result;
}

// A sheet of paper with a folded corner and four lines of text, its left edge at `left`.
void DrawDocument(Canvas& c, double left) {
    const double d = left - 3.0;
    c.Polygon({{3.5 + d, 1.5}, {9.5 + d, 1.5}, {12.5 + d, 4.5}, {12.5 + d, 14.5}, {3.5 + d, 14.5}},
              kPaper, kInk);
    c.Polygon({{9.5 + d, 1.5}, {9.5 + d, 4.5}, {12.5 + d, 4.5}}, kPaperFold, kInk);
    for (double y : {6.0, 8.0, 10.0}) c.Rectangle(5 + d, y, 11 + d, y + 1, kTextLine);
    c.Rectangle(5 + d, 12, 9 + d, 13, kTextLine);
}

// The red "remove" cross in the lower right corner, set off from what lies below by a white rim.
void DrawRedCross(Canvas& c) {
    const Point a{8.8, 8.8}, b{14.2, 14.2}, e{14.2, 8.8}, f{8.8, 14.2};
    c.Line(a, b, 4.0, kPaper);
    c.Line(e, f, 4.0, kPaper);
    c.Line(a, b, 2.2, kCross);
    c.Line(e, f, 2.2, kCross);
}

void DrawFolderBack(Canvas& c) {
    c.Polygon({{1.5, 2.5}, {6.5, 2.5}, {8.5, 4.5}, {14.5, 4.5}, {14.5, 13.5}, {1.5, 13.5}},
              kFolderBack, kFolderInk);
}

// An arrow pointing up with its tip at `tipY`, its head `headDepth` units deep and its shaft down
// to `tailY`; the arrow pointing down is the same picture mirrored top to bottom. A head as deep
// as it is half wide gives 45-degree sides.
void DrawArrow(Canvas& c, bool up, double tipY, double headHalfWidth, double shaftHalfWidth,
               double headDepth, double tailY) {
    auto y = [up](double v) { return up ? v : 16.0 - v; };
    const double cx = 8.0;
    c.Polygon({{cx, y(tipY)},
               {cx + headHalfWidth, y(tipY + headDepth)},
               {cx + shaftHalfWidth, y(tipY + headDepth)},
               {cx + shaftHalfWidth, y(tailY)},
               {cx - shaftHalfWidth, y(tailY)},
               {cx - shaftHalfWidth, y(tipY + headDepth)},
               {cx - headHalfWidth, y(tipY + headDepth)}},
              kArrow, kArrowInk);
}

void DrawToolbarImage(Canvas& c, int index) {
    switch (index) {
        case kImageDocument:
            DrawDocument(c, 3.0);
            break;
        case kImageFolder:
            DrawFolderBack(c);
            c.Polygon({{1.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}}, kFolderFront,
                      kFolderInk);
            break;
        case kImageRemove:
            DrawDocument(c, 1.0);
            DrawRedCross(c);
            break;
        case kImageRemoveAll:
            c.Polygon({{6.5, 0.5}, {14.5, 0.5}, {14.5, 9.5}, {6.5, 9.5}}, kPaper, kInk);
            c.Polygon({{4.5, 2.5}, {12.5, 2.5}, {12.5, 11.5}, {4.5, 11.5}}, kPaper, kInk);
            c.Polygon({{2.5, 4.5}, {10.5, 4.5}, {10.5, 14.5}, {2.5, 14.5}}, kPaper, kInk);
            for (double y : {7.0, 9.0, 11.0}) c.Rectangle(4, y, 9, y + 1, kTextLine);
            DrawRedCross(c);
            break;
        case kImageArrowUp:
        case kImageArrowDown:
            // Tip on a pixel edge between the two middle columns so that the arrow is symmetric.
            DrawArrow(c, index == kImageArrowUp, 1.0, 6.5, 2.5, 6.5, 14.5);
            break;
        case kImageArrowDownOntoBar:
            DrawArrow(c, false, 4.5, 5.0, 1.5, 5.0, 15.5);
            c.Rectangle(2, 13, 14, 15, kInk);
            break;
        case kImageArrowUpToBar:
            DrawArrow(c, true, 4.5, 5.0, 1.5, 5.0, 15.5);
            c.Rectangle(2, 1, 14, 3, kInk);
            break;
        default:
            break;
    }
}

}  // namespace

UniqueGdiObject CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return UniqueGdiObject(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

UniqueImageList CreateToolbarImages(int size) {
    UniqueImageList list(
        ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kToolbarImageCount, 0));
    ThrowIfGdiFailed(!list, L"ImageList_Create");
    for (int index = 0; index < kToolbarImageCount; ++index) {
        Canvas canvas(size);
        DrawToolbarImage(canvas, index);
        const GlyphBitmaps bitmaps = ToBitmaps(canvas, size);
        ThrowIfGdiFailed(ImageList_Add(list.get(), static_cast<HBITMAP>(bitmaps.colour.get()),
                                       static_cast<HBITMAP>(bitmaps.mask.get())) != index,
                         L"ImageList_Add");
    }
    return list;
}

UniqueHICON CreateOpenFolderGlyph(int size) {
    Canvas canvas(size);
    DrawFolderBack(canvas);
    canvas.Polygon({{4.5, 3.5}, {12.5, 3.5}, {12.5, 9.5}, {4.5, 9.5}}, kPaper, kInk);
    canvas.Polygon({{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}}, kFolderFront, kFolderInk);
    const GlyphBitmaps bitmaps = ToBitmaps(canvas, size);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = static_cast<HBITMAP>(bitmaps.colour.get());
    info.hbmMask = static_cast<HBITMAP>(bitmaps.mask.get());
    UniqueHICON icon(CreateIconIndirect(&info));
    ThrowIfGdiFailed(!icon, L"CreateIconIndirect");
    return icon;
}

}  // namespace tidewell
