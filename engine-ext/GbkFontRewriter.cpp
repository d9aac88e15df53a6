#include "engine-ext/GbkFontRewriter.h"

#include "engine-ext/CjkCidToGidMap.h"
#include "engine-ext/ConfigurationTables.h"
#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/GbkCompositeFont.h"

#include <GfxFont.h>
#include <Stream.h>
#include <XRef.h>

#include <algorithm>
#include <memory>

namespace engine_ext {

namespace {

constexpr const char *kGbkCollection = "Adobe-GB1";
constexpr const char *kGbkCMapName = "GBK-EUC-H";

bool IsTrueTypeFile(GfxFontType type) {
    return type == fontTrueType || type == fontTrueTypeOT;
}

// The decoded bytes of a stream, or nothing when there are more than `limit` of them: a small
// stream may inflate to gigabytes, and is then read no further than the limit.
std::optional<std::vector<unsigned char>> ReadAtMost(XRef &xref, Ref ref, std::size_t limit) {
    Object file = xref.fetch(ref);
    if (!file.isStream())
        return std::vector<unsigned char>();
    Stream *stream = file.getStream();
    stream->reset();
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (int n; (n = stream->doGetChars(sizeof buffer, buffer)) > 0;) {
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            stream->close();
            return std::nullopt;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    stream->close();
    return bytes;
}

// The font dictionary with a descriptor that embeds nothing.
Object WithoutEmbeddedFile(XRef &xref, Dict &font) {
    Object copy(font.copy(&xref));
    const Object descriptor = font.lookup("FontDescriptor");
    if (descriptor.isDict()) {
        Object plain(descriptor.getDict()->copy(&xref));
        for (const char *key : {"FontFile", "FontFile2", "FontFile3"})
            plain.dictRemove(key);
        copy.dictSet("FontDescriptor", std::move(plain));
    }
    return copy;
}

} // namespace

Object CGbkFontRewriter::Rewrite(Ref ref, Dict &font) {
    const std::unique_ptr<GfxFont> simple = GfxFont::makeFont(&m_XRef, "gbk", ref, &font);
    if (!simple || simple->isCIDFont())
        return Object(objNull);
    LoadTables();
    const CGbkCompositeFont composite(m_CMap);
    const auto &gbkFont = static_cast<const Gfx8BitFont &>(*simple);
    Ref embedded;
    if (!simple->getEmbeddedFontID(&embedded))
        return composite.Build(&m_XRef, &font, gbkFont, {});
    if (!IsTrueTypeFile(simple->getType()))
        return Object(objNull);
    const auto &glyphs = GlyphsOfFile(embedded);
    if (!glyphs) {
        Object plain = WithoutEmbeddedFile(m_XRef, font);
        return composite.Build(&m_XRef, plain.getDict(), gbkFont, {});
    }
    return composite.Build(&m_XRef, &font, gbkFont, *glyphs);
}

const std::optional<std::vector<unsigned short>> &CGbkFontRewriter::GlyphsOfFile(Ref file) {
    const auto known = m_GlyphsByFile.find(file);
    if (known != m_GlyphsByFile.end())
        return known->second;
    std::optional<std::vector<unsigned short>> glyphs;
    if (const auto data = ReadAtMost(m_XRef, file, kMaxFontFileBytes))
        glyphs = CidToGidMapOfData(*data, m_Table, CidCount());
    return m_GlyphsByFile.emplace(file, std::move(glyphs)).first->second;
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
