#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace platform {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

// A device bitmap: 24 bits per pixel in blue, green, red order, rows top-down. The width is
// always widened to a multiple of 4 pixels, so every row is 32-bit aligned as screen and
// image code expect; the widening pixels start white.
class Bitmap {
public:
    static constexpr int kBytesPerPixel = 3;
    static constexpr int WidenedWidth(int width) { return (width + 3) / 4 * 4; }

    // What a new bitmap holds: white paper, or black like a fresh device-independent section.
    // Black costs nothing until a row is touched (the system hands out zeroed pages lazily),
    // which suits large bitmaps that are drawn over before they are shown.
    enum class Fill { White, Black };

    // Sizes below 1 give an empty bitmap. Throws std::bad_alloc when memory cannot be had.
    Bitmap(int width, int height, Fill fill = Fill::White);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetStride() const { return m_nWidth * kBytesPerPixel; }
    bool IsEmpty() const { return m_nWidth == 0 || m_nHeight == 0; }

    std::uint8_t *GetBits() { return m_Bits.get(); }
    const std::uint8_t *GetBits() const { return m_Bits.get(); }
    std::uint8_t *GetRow(int y) { return GetBits() + static_cast<std::size_t>(y) * GetStride(); }
    const std::uint8_t *GetRow(int y) const {
        return GetBits() + static_cast<std::size_t>(y) * GetStride();
    }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }
    Rgb GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Rgb c);

private:
    int m_nWidth;
    int m_nHeight;
    struct Free {
        void operator()(std::uint8_t *p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t[], Free> m_Bits;
};

} // namespace platform
