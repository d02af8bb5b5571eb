// The program's pictures as the user sees them: the toolbar images drawn through the image list
// onto light and dark backgrounds, the speed button's glyph, and the icon resource's sizes.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/images_win32.h"
#include "app/resource.h"
#include "common/unique_handle_win32.h"

#include <gtest/gtest.h>

namespace tidewell::testing {
namespace {

struct Rgb {
    int r, g, b;
};

// One picture as drawn on a plain background, top row first.
class Drawn {
  public:
    Drawn(int size, COLORREF background) : size_(size) {
        void* bits = nullptr;
        bitmap_ = CreateTopDownDib(size, size, &bits);
        bits_ = static_cast<std::uint32_t*>(bits);
        dc_ = ::CreateCompatibleDC(nullptr);
        previous_ = ::SelectObject(dc_, bitmap_.get());
        UniqueGdiObject brush(::CreateSolidBrush(background));
        RECT all{0, 0, size, size};
        ::FillRect(dc_, &all, static_cast<HBRUSH>(brush.get()));
    }
    ~Drawn() {
        ::SelectObject(dc_, previous_);
        ::DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    Rgb At(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t p = bits_[y * size_ + x];
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF)};
    }

  private:
    int size_;
    UniqueGdiObject bitmap_;
    std::uint32_t* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

bool Same(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
bool IsRed(Rgb c) {
    return c.r > 170 && c.g < 90 && c.b < 90;
}
int Distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// A pixel is ink where the picture covers it fully: the same colour on white and on black.
struct ImageOnTwoBackgrounds {
    ImageOnTwoBackgrounds(HIMAGELIST list, int index, int size)
        : onWhite(size, RGB(255, 255, 255)), onBlack(size, RGB(0, 0, 0)), size(size) {
        ::ImageList_Draw(list, index, onWhite.Dc(), 0, 0, ILD_NORMAL);
        ::ImageList_Draw(list, index, onBlack.Dc(), 0, 0, ILD_NORMAL);
    }
    bool Opaque(int x, int y) const { return Same(onWhite.At(x, y), onBlack.At(x, y)); }
    bool Clear(int x, int y) const {
        return Same(onWhite.At(x, y), {255, 255, 255}) && Same(onBlack.At(x, y), {0, 0, 0});
    }
    int InkInRow(int y) const {
        int count = 0;
        for (int x = 0; x < size; ++x) count += Opaque(x, y) ? 1 : 0;
        return count;
    }
    Drawn onWhite;
    Drawn onBlack;
    int size;
};

class ToolbarPictures : public ::testing::Test {
  protected:
    void SetUp() override {
        images_ = CreateToolbarImages();
        list_ = images_.get();
        ASSERT_NE(list_, nullptr);
    }
    UniqueImageList images_;
    HIMAGELIST list_ = nullptr;
};

TEST_F(ToolbarPictures, List_HoldsEightSixteenPixelImagesWithClearCornersAndSolidInk) {
    EXPECT_EQ(::ImageList_GetImageCount(list_), 8);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(list_, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    for (int index = 0; index < 8; ++index) {
        SCOPED_TRACE(index);
        const ImageOnTwoBackgrounds image(list_, index, 16);
        EXPECT_TRUE(image.Clear(0, 15) || image.Clear(15, 15) || image.Clear(0, 0))
            << "the background shows through around the picture";
        int opaque = 0;
        for (int y = 0; y < 16; ++y) opaque += image.InkInRow(y);
        EXPECT_GE(opaque, 30) << "a picture, not an empty square";
    }
}

TEST_F(ToolbarPictures, EveryImage_DiffersFromEveryOther) {
    for (int a = 0; a < 8; ++a) {
        const ImageOnTwoBackgrounds first(list_, a, 16);
        for (int b = a + 1; b < 8; ++b) {
            const ImageOnTwoBackgrounds second(list_, b, 16);
            int differing = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    differing += Distance(first.onWhite.At(x, y), second.onWhite.At(x, y)) > 60;
            EXPECT_GE(differing, 12) << "images " << a << " and " << b << " look alike";
        }
    }
}

TEST_F(ToolbarPictures, OnlyTheRemoveImages_CarryARedCrossAtTheLowerRight) {
    for (int index = 0; index < 8; ++index) {
        SCOPED_TRACE(index);
        const ImageOnTwoBackgrounds image(list_, index, 16);
        int redLowerRight = 0, redElsewhere = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                if (!IsRed(image.onWhite.At(x, y))) continue;
                (x >= 8 && y >= 8 ? redLowerRight : redElsewhere)++;
            }
        const bool remove = index == kImageRemove || index == kImageRemoveAll;
        if (remove) {
            EXPECT_GE(redLowerRight, 12);
        } else {
            EXPECT_EQ(redLowerRight + redElsewhere, 0);
        }
    }
}

// Mirrored top to bottom, allowing for the rasteriser's rounding at the slanted edges.
void ExpectMirrored(HIMAGELIST list, int upper, int lower) {
    const ImageOnTwoBackgrounds a(list, upper, 16);
    const ImageOnTwoBackgrounds b(list, lower, 16);
    int mismatched = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            mismatched += Distance(a.onWhite.At(x, y), b.onWhite.At(x, 15 - y)) > 90;
    EXPECT_LE(mismatched, 8) << "images " << upper << " and " << lower;
}

TEST_F(ToolbarPictures, Arrows_PointTheirWayAndDownIsUpMirrored) {
    ExpectMirrored(list_, kImageArrowUp, kImageArrowDown);
    ExpectMirrored(list_, kImageArrowUpToBar, kImageArrowDownOntoBar);

    // The up arrow: narrow at its tip near the top, widest at the base of its head.
    const ImageOnTwoBackgrounds up(list_, kImageArrowUp, 16);
    EXPECT_LE(up.InkInRow(2), 4);
    EXPECT_GE(up.InkInRow(7), 11);
    EXPECT_LE(up.InkInRow(12), 6) << "the shaft is narrower than the head";

    // The bars: a full-width row of ink below the down arrow and above the up arrow, with clear
    // space between bar and arrow tip.
    const ImageOnTwoBackgrounds down(list_, kImageArrowDownOntoBar, 16);
    EXPECT_GE(down.InkInRow(14), 12);
    EXPECT_LE(down.InkInRow(3), 4) << "only the shaft near the top";
    const ImageOnTwoBackgrounds toBar(list_, kImageArrowUpToBar, 16);
    EXPECT_GE(toBar.InkInRow(1), 12);
    EXPECT_EQ(toBar.InkInRow(3), 0) << "a gap between the bar and the arrow's tip";
}

TEST_F(ToolbarPictures, HigherDpi_DrawsTheSameImagesAtTheLargerSize) {
    const UniqueImageList images = CreateToolbarImages(24);
    const HIMAGELIST large = images.get();
    ASSERT_NE(large, nullptr);
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(large, &cx, &cy);
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(::ImageList_GetImageCount(large), 8);
    const ImageOnTwoBackgrounds image(large, kImageRemove, 24);
    EXPECT_TRUE(IsRed(image.onWhite.At(17, 17)) || IsRed(image.onWhite.At(16, 16)));
}

TEST(SpeedButtonGlyph, OpenFolder_IsASixteenPixelIconWithTransparency) {
    const UniqueHICON icon = CreateOpenFolderGlyph();
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    UniqueGdiObject colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    ::GetObjectW(colour.get(), sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 16);
    EXPECT_EQ(bitmap.bmHeight, 16);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);

    Drawn onWhite(16, RGB(255, 255, 255)), onBlack(16, RGB(0, 0, 0));
    ::DrawIconEx(onWhite.Dc(), 0, 0, icon.get(), 16, 16, 0, nullptr, DI_NORMAL);
    ::DrawIconEx(onBlack.Dc(), 0, 0, icon.get(), 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_TRUE(Same(onWhite.At(15, 0), {255, 255, 255}) && Same(onBlack.At(15, 0), {0, 0, 0}))
        << "the corner above the folder is clear";
    int folderYellow = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Rgb c = onBlack.At(x, y);
            folderYellow += Same(c, onWhite.At(x, y)) && c.r > 200 && c.g > 150 && c.b < 120;
        }
    EXPECT_GE(folderYellow, 40) << "a folder-coloured body";
}

// The icon group in the program's resources: one design at 16, 32 and 48 pixels, 32-bit.
TEST(ApplicationIcon, Resource_HoldsSixteenThirtyTwoAndFortyEightPixelImages) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDI_TIDEWELL), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    ASSERT_NE(data, nullptr);
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, reserved,
    // planes, bit count, bytes, id.
    const int count = data[4] | (data[5] << 8);
    ASSERT_EQ(count, 3);
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 14 * i;
        widths.push_back(entry[0]);
        EXPECT_EQ(entry[1], entry[0]) << "square";
        EXPECT_EQ(entry[6] | (entry[7] << 8), 32) << "32-bit with alpha";
    }
    EXPECT_EQ(widths, (std::vector<int>{16, 32, 48}));

    for (int size : {16, 32, 48}) {
        UniqueHICON icon(static_cast<HICON>(
            ::LoadImageW(module, MAKEINTRESOURCEW(IDI_TIDEWELL), IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon) << size;
    }
}

}  // namespace
}  // namespace tidewell::testing
