#pragma once

#include "platform/Bitmap.h"

#include <memory>
#include <optional>

namespace platform {

// A raster drawing surface: the bitmap currently selected into it receives every drawing
// operation. A context made without a size holds no bitmap until one is selected, like a
// memory context compatible with the screen; drawing on it then does nothing.
class DeviceContext {
public:
    DeviceContext() = default;
    DeviceContext(int width, int height);

    // Selects a bitmap and hands back the one selected before (possibly null).
    std::unique_ptr<Bitmap> SelectBitmap(std::unique_ptr<Bitmap> bitmap);
    Bitmap *GetBitmap() { return m_pBitmap.get(); }
    const Bitmap *GetBitmap() const { return m_pBitmap.get(); }

    int GetWidth() const { return m_pBitmap ? m_pBitmap->GetWidth() : 0; }
    int GetHeight() const { return m_pBitmap ? m_pBitmap->GetHeight() : 0; }

    // No value outside the selected bitmap.
    std::optional<Rgb> GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Rgb c);

    // Rectangles are clipped to the selected bitmap.
    void FillRect(int x, int y, int width, int height, Rgb c);
    // A one-pixel outline along the inside of the rectangle.
    void FrameRect(int x, int y, int width, int height, Rgb c);
    // Copies width x height pixels of src starting at (srcX, srcY) to (x, y).
    void BitBlt(int x, int y, int width, int height, const Bitmap &src, int srcX, int srcY);

private:
    std::unique_ptr<Bitmap> m_pBitmap;
};

} // namespace platform
