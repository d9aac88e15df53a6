#pragma once

// Private to engine/: turning the rasteriser's rows into device bitmaps. Splash draws w pixels
// per row, three bytes each, rows top-down without padding; a device bitmap's rows are
// widened to a multiple of 4 pixels with white.

#include "platform/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class SplashBitmap;

inline bool NeedsWidening(int width) {
    return width % 4 != 0;
}

// Bytes of the widened rows of a w x h picture.
std::size_t WidenedSize(int width, int height);

// Writes the rows of src into dst, each widened with white; dst holds WidenedSize bytes.
void WidenRows(SplashBitmap &src, std::uint8_t *dst);

// A white device bitmap; null when the memory for it cannot be had.
std::unique_ptr<platform::Bitmap> WhiteBitmap(int width, int height);

// A device bitmap of width x height pixels (width widened) holding rows that are widened
// already. Null when the memory for it cannot be had.
std::unique_ptr<platform::Bitmap> BitmapFromRows(const std::uint8_t *rows, int width, int height);

// The whole conversion for callers that keep no row buffer: widened straight into the bitmap.
std::unique_ptr<platform::Bitmap> BitmapFromSplash(SplashBitmap &src);
