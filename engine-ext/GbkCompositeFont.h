#pragma once

// Private to engine-ext: Poppler types appear here.

#include <Object.h>

#include <vector>

class Gfx8BitFont;

namespace engine_ext {

class CGbkCMap;

// The composite font equivalent to a GBK-coded simple TrueType font: the same name and font
// descriptor, its text decoded through GBK-EUC-H into Adobe-GB1 CIDs, each CID as wide as the
// simple font's width for the first byte of its code, and no ToUnicode (the collection's
// table gives the text). An embedded font needs the CID-to-glyph map given: Poppler would
// otherwise take CIDs for its glyph indices.
class CGbkCompositeFont {
public:
    explicit CGbkCompositeFont(const CGbkCMap &cmap) : m_CMap(cmap) {}

    // `simple` is Poppler's reading of the font dictionary `font`; `glyphs` may be empty.
    Object Build(XRef *xref, Dict *font, const Gfx8BitFont &simple,
                 const std::vector<unsigned short> &glyphs) const;

private:
    Object BuildDescendant(XRef *xref, Dict *font, const Gfx8BitFont &simple,
                           const std::vector<unsigned short> &glyphs) const;
    Object BuildWidths(XRef *xref, const double *byteWidths) const;

    const CGbkCMap &m_CMap;
};

} // namespace engine_ext
