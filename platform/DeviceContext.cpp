#include "platform/DeviceContext.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace platform {

namespace {

int PositiveOrZero(int v) {
    return v > 0 ? v : 0;
}

} // namespace

Bitmap::Bitmap(int width, int height, Fill fill)
    : m_nWidth(width > 0 && height > 0 ? WidenedWidth(width) : 0),
      m_nHeight(width > 0 && height > 0 ? height : 0) {
    // One byte at least, so an empty bitmap still has valid (if unused) storage.
    const std::size_t bytes =
        std::max<std::size_t>(static_cast<std::size_t>(m_nWidth) * m_nHeight * kBytesPerPixel, 1);
    m_Bits.reset(static_cast<std::uint8_t *>(std::calloc(bytes, 1)));
    if (!m_Bits)
        throw std::bad_alloc();
    if (fill == Fill::White)
        std::memset(m_Bits.get(), 0xFF, bytes);
}

Rgb Bitmap::GetPixel(int x, int y) const {
    const std::uint8_t *p = GetRow(y) + x * kBytesPerPixel;
    return Rgb{p[2], p[1], p[0]};
}

void Bitmap::SetPixel(int x, int y, Rgb c) {
    std::uint8_t *p = GetRow(y) + x * kBytesPerPixel;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

DeviceContext::DeviceContext(int width, int height)
    : m_pBitmap(std::make_unique<Bitmap>(width, height)) {
}

std::unique_ptr<Bitmap> DeviceContext::SelectBitmap(std::unique_ptr<Bitmap> bitmap) {
    std::swap(bitmap, m_pBitmap);
    return bitmap;
}

std::optional<Rgb> DeviceContext::GetPixel(int x, int y) const {
    if (!m_pBitmap || !m_pBitmap->Contains(x, y))
        return std::nullopt;
    return m_pBitmap->GetPixel(x, y);
}

void DeviceContext::SetPixel(int x, int y, Rgb c) {
    if (m_pBitmap && m_pBitmap->Contains(x, y))
        m_pBitmap->SetPixel(x, y, c);
}

void DeviceContext::FillRect(int x, int y, int width, int height, Rgb c) {
    if (!m_pBitmap)
        return;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, GetWidth()), y1 = std::min(y + height, GetHeight());
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col)
            m_pBitmap->SetPixel(col, row, c);
}

void DeviceContext::FrameRect(int x, int y, int width, int height, Rgb c) {
    if (width <= 0 || height <= 0)
        return;
    FillRect(x, y, width, 1, c);
    FillRect(x, y + height - 1, width, 1, c);
    FillRect(x, y, 1, height, c);
    FillRect(x + width - 1, y, 1, height, c);
}

void DeviceContext::BitBlt(int x, int y, int width, int height, const Bitmap &src, int srcX,
                           int srcY) {
    if (!m_pBitmap)
        return;
    // Clip against both bitmaps by shrinking the copied rectangle from each side.
    const int skipLeft = std::max({0, -x, -srcX});
    const int skipTop = std::max({0, -y, -srcY});
    x += skipLeft, srcX += skipLeft, width -= skipLeft;
    y += skipTop, srcY += skipTop, height -= skipTop;
    width = std::min({width, GetWidth() - x, src.GetWidth() - srcX});
    height = std::min({height, GetHeight() - y, src.GetHeight() - srcY});
    width = PositiveOrZero(width);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * Bitmap::kBytesPerPixel;
    for (int row = 0; row < height && rowBytes > 0; ++row)
        std::memcpy(m_pBitmap->GetRow(y + row) + x * Bitmap::kBytesPerPixel,
                    src.GetRow(srcY + row) + srcX * Bitmap::kBytesPerPixel, rowBytes);
}

} // namespace platform
