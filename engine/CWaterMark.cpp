#include "engine/CWaterMark.h"

#include "platform/Graphics.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kFullTurn = 360;
constexpr int kMaxAlpha = 255;
constexpr float kFullOpacity = 100;

// Pixels are truncated toward zero, as everywhere in the layout; far-off values stay in range.
int Trunc(double v) {
    return static_cast<int>(
        std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

int QuarterTurns(int rotation) {
    return ((rotation % kFullTurn) + kFullTurn) % kFullTurn;
}

// A colour reference holds red in its low byte, then green, then blue.
platform::Rgb FromColourRef(std::uint32_t c) {
    return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
            static_cast<std::uint8_t>(c >> 16)};
}

} // namespace

MarkAnchor AnchorOnPage(int x, int y, float scale, int rotation, int w, int h) {
    const double px = x * static_cast<double>(scale), py = y * static_cast<double>(scale);
    switch (QuarterTurns(rotation)) {
    case 90:
        return {Trunc(w - py), Trunc(px)};
    case 180:
        return {Trunc(w - px), Trunc(h - py)};
    case 270:
        return {Trunc(py), Trunc(h - px)};
    default:
        return {Trunc(px), Trunc(py)};
    }
}

int NormaliseAngle(long long degrees) {
    if (degrees > kFullTurn)
        return static_cast<int>((degrees - kFullTurn - 1) % kFullTurn + 1);
    if (degrees < 0)
        return static_cast<int>(kFullTurn - 1 - (-degrees - 1) % kFullTurn);
    return static_cast<int>(degrees);
}

int AlphaFromOpacity(float opacity) {
    // Outside 0..100 (or not a number) the alpha would leave its byte: it is held at the ends.
    if (!(opacity > 0))
        return 0;
    if (opacity >= kFullOpacity)
        return kMaxAlpha;
    return static_cast<int>(opacity * kMaxAlpha / kFullOpacity);
}

CWaterMark::CWaterMark(int mode) : m_nMode(mode) {
}

int CWaterMark::SetText(const std::string &text, int x, int y, const std::string &font, int size,
                        float opacity, int angle, std::uint32_t colour1, std::uint32_t colour2) {
    m_nKind = kText;
    m_strText = text;
    m_nX = x;
    m_nY = y;
    m_strFont = font;
    m_nSize = size;
    m_fOpacity = opacity;
    m_nAngle = angle;
    m_crColour1 = colour1;
    m_crColour2 = colour2;
    m_nWidth = Trunc(static_cast<double>(size) * static_cast<double>(text.size()));
    m_nHeight = size;
    return 1;
}

int CWaterMark::SetImage(const std::string &path, int x, int y, int width, int height,
                         float opacity, int angle) {
    m_nKind = kImage;
    m_strImage = path;
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_fOpacity = opacity;
    m_nAngle = angle;
    return 1;
}

int CWaterMark::Draw(platform::DeviceContext &dc, float scale, int rotation, int w, int h,
                     int mode) const {
    if (mode != m_nMode)
        return 1;
    const MarkAnchor at = AnchorOnPage(m_nX, m_nY, scale, rotation, w, h);
    const long long angle = static_cast<long long>(m_nAngle) + QuarterTurns(rotation);
    if (m_nKind == kText)
        return DrawTextMark(dc, at, angle, scale);
    return DrawImageMark(dc, at, Trunc(m_nWidth * static_cast<double>(scale)),
                         Trunc(m_nHeight * static_cast<double>(scale)), angle);
}

int CWaterMark::DrawTextMark(platform::DeviceContext &dc, MarkAnchor at, long long angle,
                             float scale) const {
    const platform::GradientText text{
        m_strText,
        m_strFont,
        Trunc(m_nSize * static_cast<double>(scale)),
        FromColourRef(m_crColour1),
        FromColourRef(m_crColour2),
        static_cast<std::uint8_t>(AlphaFromOpacity(m_fOpacity)),
    };
    // The whole text is drawn, however long: a cut would change what the mark says.
    platform::DrawGradientText(dc, text, at.x, at.y, NormaliseAngle(angle));
    return 1;
}

int CWaterMark::DrawImageMark(platform::DeviceContext &dc, MarkAnchor at, int w, int h,
                              long long angle) const {
    // A file that cannot be read draws nothing.
    platform::DrawImageFile(dc, m_strImage, at.x, at.y, w, h, m_fOpacity / kFullOpacity,
                            NormaliseAngle(angle));
    return 1;
}

int DrawWaterMarks(const WaterMarkArray &marks, platform::DeviceContext &dc, float scale,
                   int rotation, int w, int h, int mode) {
    for (const std::unique_ptr<CWaterMark> &mark : marks) {
        if (mark)
            mark->Draw(dc, scale, rotation, w, h, mode);
    }
    return 1;
}
