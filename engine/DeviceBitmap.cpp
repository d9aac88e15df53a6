#include "engine/DeviceBitmap.h"

#include <splash/SplashBitmap.h>

#include <cstring>
#include <new>

namespace {

constexpr std::uint8_t kWhite = 0xFF;

std::unique_ptr<platform::Bitmap> NewBitmap(int width, int height, platform::Bitmap::Fill fill) {
    try {
        return std::make_unique<platform::Bitmap>(width, height, fill);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

} // namespace

std::unique_ptr<platform::Bitmap> WhiteBitmap(int width, int height) {
    return NewBitmap(width, height, platform::Bitmap::Fill::White);
}

std::size_t WidenedSize(int width, int height) {
    return static_cast<std::size_t>(platform::Bitmap::WidenedWidth(width)) *
           platform::Bitmap::kBytesPerPixel * height;
}

void WidenRows(SplashBitmap &src, std::uint8_t *dst) {
    const int w = src.getWidth();
    const std::size_t rowBytes = static_cast<std::size_t>(w) * platform::Bitmap::kBytesPerPixel;
    const std::size_t dstStride = WidenedSize(w, 1);
    const std::uint8_t *row = src.getDataPtr();
    for (int y = 0; y < src.getHeight(); ++y, row += src.getRowSize(), dst += dstStride) {
        std::memcpy(dst, row, rowBytes);
        std::memset(dst + rowBytes, kWhite, dstStride - rowBytes);
    }
}

std::unique_ptr<platform::Bitmap> UnfilledBitmap(int width, int height) {
    // Zeroed pages come from the system untouched: nothing is written twice.
    return NewBitmap(width, height, platform::Bitmap::Fill::Black);
}

bool HasSize(const platform::Bitmap &bitmap, int width, int height) {
    return bitmap.GetWidth() == platform::Bitmap::WidenedWidth(width) &&
           bitmap.GetHeight() == height;
}

std::unique_ptr<platform::Bitmap> BitmapFromSplash(SplashBitmap &src) {
    std::unique_ptr<platform::Bitmap> bitmap = WhiteBitmap(src.getWidth(), src.getHeight());
    if (bitmap && !bitmap->IsEmpty())
        WidenRows(src, bitmap->GetBits());
    return bitmap;
}
