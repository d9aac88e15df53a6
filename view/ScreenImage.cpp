#include "view/ScreenImage.h"

#include <algorithm>
#include <new>

namespace view {

namespace {

constexpr QRgb kColourBits = 0x00FFFFFF;

void InvertPixel(QImage &image, int x, int y) {
    reinterpret_cast<QRgb *>(image.scanLine(y))[x] ^= kColourBits;
}

} // namespace

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

std::unique_ptr<platform::Bitmap> FromScreenImage(const QImage &image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return nullptr;
    std::unique_ptr<platform::Bitmap> bitmap;
    try {
        bitmap = std::make_unique<platform::Bitmap>(rgb.width(), rgb.height());
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        std::uint8_t *dst = bitmap->GetRow(y);
        for (int x = 0; x < rgb.width(); ++x, dst += platform::Bitmap::kBytesPerPixel) {
            dst[0] = static_cast<std::uint8_t>(qBlue(src[x]));
            dst[1] = static_cast<std::uint8_t>(qGreen(src[x]));
            dst[2] = static_cast<std::uint8_t>(qRed(src[x]));
        }
    }
    return bitmap;
}

// The dots sit on a checkerboard of the image, as a dotted focus rectangle's pattern brush
// lays them.
void InvertOutline(QImage &image, const QRect &rect) {
    const QRect r = rect.normalized();
    const auto dot = [&image](int x, int y) {
        if (image.rect().contains(x, y) && (x + y) % 2 == 0)
            InvertPixel(image, x, y);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top())
            dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left())
            dot(r.right(), y);
    }
}

void InvertRect(QImage &image, const QRect &rect) {
    const QRect r = rect.normalized() & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            InvertPixel(image, x, y);
}

} // namespace view
