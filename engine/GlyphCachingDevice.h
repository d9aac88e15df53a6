#pragma once

// Private to engine/: the Splash device of screen and print pages, drawing plainly filled text
// from a glyph cache of its own (see GlyphCache.h).
//
// Only what is certain to come out as Poppler draws it takes the cache: text filled and neither
// stroked nor clipped, in a font Poppler has already made current. Whenever Poppler would choose
// its font anew (a font, matrix or state change), the next character goes its own way, which
// makes the font current; every other kind of text always does.

#include "engine/BudgetedSplashDevice.h"
#include "engine/GlyphCache.h"

#include <cstdint>
#include <optional>

class SplashFont;

class CGlyphCachingDevice : public CBudgetedSplashDevice {
public:
    using CBudgetedSplashDevice::CBudgetedSplashDevice;

    void drawChar(GfxState *state, double x, double y, double dx, double dy, double originX,
                  double originY, CharCode code, int nBytes, const Unicode *u, int uLen) override;
    void updateFont(GfxState *state) override;
    void restoreState(GfxState *state) override;
    void startPage(int pageNum, GfxState *state, XRef *xref) override;

    // False draws every character Poppler's own way: the reference the cache is held to.
    bool m_bUseGlyphCache = true;
    const CGlyphCache &Glyphs() const { return m_Glyphs; }
    // Lets every kept glyph go; the next page keeps them anew.
    void ReleaseGlyphs() {
        ForgetCurrentFont();
        m_Glyphs.Clear();
    }

private:
    void ForgetCurrentFont() { m_pCurrentFont = nullptr; }
    void NoteCurrentFont(GfxState *state);
    bool CanDrawFromCache(GfxState *state);
    void DrawFromCache(double x, double y, CharCode code);
    std::optional<CachedGlyph> MakeGlyph(CharCode code, int frac, int x0, int y0);

    CGlyphCache m_Glyphs;
    // The font Poppler made current and its number in m_Glyphs; null until a character in it
    // has gone Poppler's way since the last font or state change.
    SplashFont *m_pCurrentFont = nullptr;
    std::uint32_t m_nCurrentFont = 0;
    bool m_bFractionalFont = false; // glyph pictures differ with the sub-pixel x position
};
