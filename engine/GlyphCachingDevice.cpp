#include "engine/GlyphCachingDevice.h"

#include <GfxFont.h>
#include <GfxState.h>
#include <goo/gmem.h>
#include <splash/Splash.h>
#include <splash/SplashFont.h>
#include <splash/SplashGlyphBitmap.h>
#include <splash/SplashMath.h>

#include <cstring>

namespace {

// Splash gives a glyph a picture per quarter pixel of its x position only while the font's
// glyph boxes are at most this many pixels high.
constexpr int kMaxFractionalGlyphHeight = 50;

} // namespace

void CGlyphCachingDevice::updateFont(GfxState *state) {
    ForgetCurrentFont();
    CBudgetedSplashDevice::updateFont(state);
}

void CGlyphCachingDevice::restoreState(GfxState *state) {
    ForgetCurrentFont();
    CBudgetedSplashDevice::restoreState(state);
}

void CGlyphCachingDevice::startPage(int pageNum, GfxState *state, XRef *xref) {
    ForgetCurrentFont();
    CBudgetedSplashDevice::startPage(pageNum, state, xref);
}

void CGlyphCachingDevice::drawChar(GfxState *state, double x, double y, double dx, double dy,
                                   double originX, double originY, CharCode code, int nBytes,
                                   const Unicode *u, int uLen) {
    if (CanDrawFromCache(state)) {
        DrawFromCache(x - originX, y - originY, code);
        return;
    }
    CBudgetedSplashDevice::drawChar(state, x, y, dx, dy, originX, originY, code, nBytes, u, uLen);
    // Poppler makes its font current on the first character it does not skip as invisible.
    if (m_bUseGlyphCache && state->getRender() != 3)
        NoteCurrentFont(state);
}

bool CGlyphCachingDevice::CanDrawFromCache(GfxState *state) {
    return m_bUseGlyphCache && m_pCurrentFont && m_pCurrentFont == getCurrentFont() &&
           state->getRender() == 0 && !state->getFillColorSpace()->isNonMarking();
}

void CGlyphCachingDevice::NoteCurrentFont(GfxState *state) {
    m_pCurrentFont = getCurrentFont();
    const GfxFont *gfxFont = state->getFont().get();
    if (!m_pCurrentFont || !gfxFont) {
        m_pCurrentFont = nullptr;
        return;
    }
    m_nCurrentFont = m_Glyphs.FontNumber(*gfxFont->getID(), m_pCurrentFont->getMatrix());
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    m_pCurrentFont->getBBox(&xMin, &yMin, &xMax, &yMax);
    // Splash pads the box by three pixels.
    m_bFractionalFont = yMax - yMin + 3 <= kMaxFractionalGlyphHeight;
}

// Places the glyph as Splash::fillChar does: at the pixel holding the transformed origin.
void CGlyphCachingDevice::DrawFromCache(double x, double y, CharCode code) {
    Splash *splash = getSplash();
    const SplashCoord *m = splash->getMatrix();
    const SplashCoord xt = x * m[0] + y * m[2] + m[4];
    const SplashCoord yt = x * m[1] + y * m[3] + m[5];
    const int x0 = splashFloor(xt), y0 = splashFloor(yt);
    const int frac = m_bFractionalFont ? splashFloor((xt - x0) * splashFontFraction) : 0;
    const CachedGlyph *glyph = m_Glyphs.Find(m_nCurrentFont, code, frac);
    std::optional<CachedGlyph> made;
    if (!glyph) {
        made = MakeGlyph(code, frac, x0, y0);
        if (!made)
            return;
        glyph = m_Glyphs.IsWorthKeeping(*made)
                    ? &m_Glyphs.Keep(m_nCurrentFont, code, frac, std::move(*made))
                    : &*made;
    }
    if (!glyph->data)
        return;
    SplashGlyphBitmap bitmap{glyph->x,  glyph->y,          glyph->w, glyph->h,
                             glyph->aa, glyph->data.get(), false};
    splash->fillGlyph(static_cast<SplashCoord>(x), static_cast<SplashCoord>(y), &bitmap);
}

// Asks the font as Splash would, through Poppler's own cache, for the whole glyph even where the
// clip cuts it. A glyph without a picture is kept as such, so that a broken glyph is not asked
// for again. Nothing when the glyph falls wholly outside the clip: the font skips making it.
std::optional<CachedGlyph> CGlyphCachingDevice::MakeGlyph(CharCode code, int frac, int x0, int y0) {
    SplashGlyphBitmap bitmap{};
    SplashClipResult clipped = splashClipAllOutside;
    if (!m_pCurrentFont->getGlyph(static_cast<int>(code), frac, 0, &bitmap, x0, y0,
                                  getSplash()->getClip(), &clipped))
        return CachedGlyph{};
    std::optional<CachedGlyph> glyph;
    const std::size_t bytes = CachedGlyph::PictureBytes(bitmap.w, bitmap.h, bitmap.aa);
    if (clipped != splashClipAllOutside) {
        glyph.emplace();
        if (bitmap.data && bytes > 0) {
            *glyph = {bitmap.x, bitmap.y,  bitmap.w,
                      bitmap.h, bitmap.aa, std::make_unique<unsigned char[]>(bytes)};
            std::memcpy(glyph->data.get(), bitmap.data, bytes);
        }
    }
    if (bitmap.freeData)
        gfree(bitmap.data);
    return glyph;
}
