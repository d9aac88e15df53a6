#pragma once

// Private to engine-ext: Poppler types appear here.

#include "engine-ext/CjkCidToUnicode.h"
#include "engine-ext/GbkCMap.h"

#include <Object.h>

#include <map>
#include <optional>
#include <vector>

namespace engine_ext {

class CConfigurationUse;

// Rewrites one document's GBK-coded fonts into their composite form; an embedded font gets
// the glyph map of its own file. The GBK-EUC-H CMap and the Adobe-GB1 table are read when the
// first such font needs them. A substitute file is drawn through Poppler's own mapping of the
// collection's CIDs to Unicode and glyphs, which reaches the same glyphs as the table and more
// where the table's character is missing from the font (vertical forms, for instance).
class CGbkFontRewriter {
public:
    CGbkFontRewriter(XRef &xref, const CConfigurationUse &use) : m_XRef(xref), m_Use(use) {}

    // The composite form of the font object `ref`, or a null object when the font cannot be
    // drawn as GBK text (an embedded file that is not TrueType).
    Object Rewrite(Ref ref, Dict &font);

    // No real font file comes near this; past it a file is taken for damaged and the font is
    // drawn with its substitute, as if nothing were embedded.
    static constexpr std::size_t kMaxFontFileBytes = 64u << 20;

private:
    // The glyph map of an embedded file, read and mapped once however many fonts share it;
    // nullopt for a file past the size limit.
    const std::optional<std::vector<unsigned short>> &GlyphsOfFile(Ref file);
    void LoadTables();
    // Every CID the CMap or the table knows.
    unsigned CidCount() const;

    XRef &m_XRef;
    const CConfigurationUse &m_Use;
    bool m_bTablesLoaded = false;
    CGbkCMap m_CMap;
    CCidToUnicode m_Table;
    std::map<Ref, std::optional<std::vector<unsigned short>>> m_GlyphsByFile;
};

} // namespace engine_ext
