#pragma once
// The small pictures of the main window: the toolbar's eight images and the speed button's open
// folder. They are drawn in code rather than shipped as bitmaps, so that they can be drawn afresh
// at whatever size the system's DPI asks for and stay sharp.
#include <windows.h>
#include <commctrl.h>

#include "common/unique_handle_win32.h"

namespace tidewell {

// Index of each picture in the list that CreateToolbarImages returns.
enum ToolbarImage : int {
    kImageDocument = 0,          // "Add files"
    kImageFolder = 1,            // "Add folder"
    kImageRemove = 2,            // a document with a red cross
    kImageRemoveAll = 3,         // a stack of documents with a red cross
    kImageArrowUp = 4,           // "Move up"
    kImageArrowDown = 5,         // "Move down"
    kImageArrowDownOntoBar = 6,  // "Save setting"
    kImageArrowUpToBar = 7,      // "Load setting"
    kToolbarImageCount = 8,
};

// The design size of every picture, in pixels at 96 DPI.
inline constexpr int kGlyphSize = 16;

// An image list of kToolbarImageCount images, each `size` pixels square, 32-bit with alpha and a
// mask. Throws AppError when GDI runs out of resources.
UniqueImageList CreateToolbarImages(int size = kGlyphSize);

// The speed button's picture: an open folder, `size` pixels square, 32-bit with alpha. Throws
// AppError when GDI runs out of resources.
UniqueHICON CreateOpenFolderGlyph(int size = kGlyphSize);

// A 32-bit top-down DIB section of `width` by `height` pixels; `bits` receives its BGRA pixels,
// top row first. Empty when GDI cannot make one.
UniqueGdiObject CreateTopDownDib(int width, int height, void** bits);

}  // namespace tidewell
