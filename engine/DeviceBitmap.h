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

// A device bitmap of width x height pixels (width widened) for a caller that writes every byte of
// it: its memory is not filled first. Null when the memory for it cannot be had.
std::unique_ptr<platform::Bitmap> UnfilledBitmap(int width, int height);

// Whether the bitmap is of width x height pixels (width widened), so that a picture of that
// size can be written over it.
bool HasSize(const platform::Bitmap &bitmap, int width, int height);

// The whole conversion for callers that keep no row buffer: widened straight into the bitmap.
std::unique_ptr<platform::Bitmap> BitmapFromSplash(SplashBitmap &src);
