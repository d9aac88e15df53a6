#pragma once

// Watermarks: a line of text filled with a vertical two-colour gradient, or the picture of an
// image file, laid over displayed or printed pages with an opacity and an angle. Private to
// engine/; no Poppler type appears here.

#include "platform/DeviceContext.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Where a record anchored at (x, y) points from the upright page's top-left corner lies on the
// page turned clockwise by `rotation` degrees, drawn w x h pixels at `scale` pixels per point.
struct MarkAnchor {
    int x = 0, y = 0;
    friend bool operator==(const MarkAnchor &, const MarkAnchor &) = default;
};
MarkAnchor AnchorOnPage(int x, int y, float scale, int rotation, int w, int h);

// An angle brought into 0..360 degrees; 360 itself stays, a full turn.
int NormaliseAngle(long long degrees);

// Opacity in percent as an alpha value, 0 to 255.
int AlphaFromOpacity(float opacity);

class CWaterMark {
public:
    // Whether a record is laid over pages shown on screen or over printed pages.
    enum { kOnScreen = 0, kOnPaper = 1 };

    explicit CWaterMark(int mode);

    // Makes this a text record. Colours are 0x00BBGGRR references for the top and the bottom of
    // the line; the extent is size x the text's length in bytes by size. Returns 1.
    int SetText(const std::string &text, int x, int y, const std::string &font, int size,
                float opacity, int angle, std::uint32_t colour1, std::uint32_t colour2);
    // Makes this an image record: the picture stretched into width x height points. Returns 1.
    int SetImage(const std::string &path, int x, int y, int width, int height, float opacity,
                 int angle);

    // Draws the record over a page of w x h pixels at `scale` pixels per point, turned by
    // `rotation`, when `mode` is the record's own. Always 1: a watermark never stops a page.
    int Draw(platform::DeviceContext &dc, float scale, int rotation, int w, int h, int mode) const;

private:
    int DrawTextMark(platform::DeviceContext &dc, MarkAnchor at, long long angle,
                     float scale) const;
    int DrawImageMark(platform::DeviceContext &dc, MarkAnchor at, int w, int h,
                      long long angle) const;

    enum { kText = 0, kImage = 1 };
    int m_nKind = kText;
    std::string m_strText;
    std::string m_strFont;
    int m_nSize = 0; // font height in points
    std::uint32_t m_crColour1 = 0;
    std::uint32_t m_crColour2 = 0;
    float m_fOpacity = 0; // percent
    int m_nAngle = 0;     // degrees, added to the page's rotation
    int m_nX = 0, m_nY = 0;
    int m_nWidth = 0, m_nHeight = 0; // points
    std::string m_strImage;
    const int m_nMode;
};

inline constexpr int kWaterMarkSlots = 256;
// Records are drawn in slot order; an empty slot draws nothing.
using WaterMarkArray = std::array<std::unique_ptr<CWaterMark>, kWaterMarkSlots>;

// Draws every record of the array; always 1.
int DrawWaterMarks(const WaterMarkArray &marks, platform::DeviceContext &dc, float scale,
                   int rotation, int w, int h, int mode);
