#include "view/ScreenImage.h"

#include <algorithm>

namespace view {

void ToScreenImage(const platform::Bitmap &bitmap, int width, int height, QImage &image) {
    width = std::min(width, bitmap.GetWidth());
    height = std::min(height, bitmap.GetHeight());
    if (image.width() != width || image.height() != height ||
        image.format() != QImage::Format_RGB32)
        image = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *src = bitmap.GetRow(y);
        auto *dst = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x, src += platform::Bitmap::kBytesPerPixel)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
}

} // namespace view
