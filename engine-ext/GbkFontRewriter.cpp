#include "engine-ext/GbkFontRewriter.h"

#include "engine-ext/CjkCidToGidMap.h"
#include "engine-ext/ConfigurationTables.h"
#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/GbkCompositeFont.h"

#include <GfxFont.h>

#include <algorithm>
#include <memory>

namespace engine_ext {

namespace {

constexpr const char *kGbkCollection = "Adobe-GB1";
constexpr const char *kGbkCMapName = "GBK-EUC-H";

bool IsTrueTypeFile(GfxFontType type) {
    return type == fontTrueType || type == fontTrueTypeOT;
}

} // namespace

Object CGbkFontRewriter::Rewrite(Ref ref, Dict &font) {
    const std::unique_ptr<GfxFont> simple = GfxFont::makeFont(&m_XRef, "gbk", ref, &font);
    if (!simple || simple->isCIDFont())
        return Object(objNull);
    LoadTables();
    std::vector<unsigned short> glyphs;
    Ref embedded;
    if (simple->getEmbeddedFontID(&embedded)) {
        if (!IsTrueTypeFile(simple->getType()))
            return Object(objNull);
        const auto data = simple->readEmbFontFile(&m_XRef);
        glyphs =
            CidToGidMapOfData(data ? *data : std::vector<unsigned char>(), m_Table, CidCount());
    }
    return CGbkCompositeFont(m_CMap).Build(&m_XRef, &font,
                                           static_cast<const Gfx8BitFont &>(*simple), glyphs);
}

void CGbkFontRewriter::LoadTables() {
    if (m_bTablesLoaded)
        return;
    const auto gb1 =
        std::find_if(kCollections.begin(), kCollections.end(), [](const CollectionResources &c) {
            return std::string(c.collection) == kGbkCollection;
        });
    const std::string base = m_Use.ResourceBase();
    m_CMap = CGbkCMap::Read(base + gb1->cMapDir + "/" + kGbkCMapName);
    m_Table = CCidToUnicode::Read(base + gb1->cidToUnicodeFile);
    m_bTablesLoaded = true;
}

unsigned CGbkFontRewriter::CidCount() const {
    return std::max(m_CMap.CidCount(), m_Table.Size());
}

} // namespace engine_ext
