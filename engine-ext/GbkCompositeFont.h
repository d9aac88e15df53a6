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
// table gives the text). The glyph of each CID comes from the CID-to-glyph map given, when
// one is: Poppler would otherwise take CIDs for glyph indices of an embedded font, and would
// lose some CIDs of a substitute font through its own reverse mapping.
class CGbkCompositeFont {
public:
    explicit CGbkCompositeFont(const CGbkCMap &cmap) : m_CMap(cmap) {}

    // `simple` is Poppler's reading of the font dictionary `font`.
    Object Build(XRef *xref, Dict *font, const Gfx8BitFont &simple,
                 const std::vector<unsigned short> &glyphs) const;

private:
    Object BuildDescendant(XRef *xref, Dict *font, const Gfx8BitFont &simple,
                           const std::vector<unsigned short> &glyphs) const;
    Object BuildWidths(XRef *xref, const double *byteWidths) const;

    const CGbkCMap &m_CMap;
};

} // namespace engine_ext
