#include "engine-ext/CjkDocumentFonts.h"

#include "engine-ext/CjkCidToGidMap.h"
#include "engine-ext/CjkCidToUnicode.h"
#include "engine-ext/CjkFontSubstitution.h"
#include "engine-ext/ConfigurationTables.h"
#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/GbkCMap.h"
#include "engine-ext/GbkCompositeFont.h"
#include "engine-ext/GbkFontName.h"

#include <GfxFont.h>
#include <PDFDoc.h>
#include <XRef.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace engine_ext {

namespace {

constexpr const char *kGbkCollection = "Adobe-GB1";
constexpr const char *kGbkCMapName = "GBK-EUC-H";

// Font dictionaries a page can select, so not the CID fonts below a Type0 font, nor Type3
// fonts, which draw with content streams.
bool IsFontDictionary(Dict &dict) {
    const Object type = dict.lookup("Type");
    if (!type.isNull() && !type.isName("Font"))
        return false;
    const Object subtype = dict.lookup("Subtype");
    return subtype.isName("TrueType") || subtype.isName("Type1") || subtype.isName("MMType1") ||
           subtype.isName("Type1C") || subtype.isName("Type0");
}

bool IsGbkCodedFont(Dict &font) {
    const Object baseFont = font.lookup("BaseFont");
    return font.lookup("Subtype").isName("TrueType") && baseFont.isName() &&
           IsGbkFontName(baseFont.getName());
}

// Poppler takes a font file only when the descriptor refers to one, so does this.
bool IsEmbedded(Dict &font) {
    Object descendants = font.lookup("DescendantFonts");
    Object descendant = descendants.isArray() && descendants.arrayGetLength() > 0
                            ? descendants.arrayGet(0)
                            : Object(objNull);
    Dict &described = descendant.isDict() ? *descendant.getDict() : font;
    const Object descriptor = described.lookup("FontDescriptor");
    if (!descriptor.isDict())
        return false;
    for (const char *key : {"FontFile", "FontFile2", "FontFile3"})
        if (descriptor.getDict()->lookupNF(key).isRef())
            return true;
    return false;
}

// Every font of the document, wherever used: pages, forms, annotations, patterns. All objects
// are read before any is changed, since Poppler may rebuild a damaged table on the way and
// would not once objects are changed.
std::vector<Ref> FontObjects(XRef &xref) {
    std::vector<Ref> fonts;
    for (int num = 0; num < xref.getNumObjects(); ++num) {
        const XRefEntry *entry = xref.getEntry(num, false);
        if (!entry || (entry->type != xrefEntryUncompressed && entry->type != xrefEntryCompressed))
            continue;
        const Ref ref = {num, entry->type == xrefEntryCompressed ? 0 : entry->gen};
        Object obj = xref.fetch(ref);
        if (obj.isDict() && IsFontDictionary(*obj.getDict()))
            fonts.push_back(ref);
    }
    return fonts;
}

bool IsTrueTypeFile(GfxFontType type) {
    return type == fontTrueType || type == fontTrueTypeOT;
}

// Rewrites the document's GBK-coded fonts. The GBK-EUC-H CMap and the Adobe-GB1 table are
// read when the first such font needs them, and a substitute file's glyph map is built once.
class CGbkFontRewriter {
public:
    CGbkFontRewriter(XRef &xref, const CConfigurationUse &use) : m_XRef(xref), m_Use(use) {}

    // The composite form, or a null object when the font cannot be drawn as GBK text.
    Object Rewrite(Ref ref, Dict &font) {
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
        } else if (simple->getName()) {
            glyphs = SubstituteGlyphs(*simple->getName());
        }
        return CGbkCompositeFont(m_CMap).Build(&m_XRef, &font,
                                               static_cast<const Gfx8BitFont &>(*simple), glyphs);
    }

private:
    void LoadTables() {
        if (m_bTablesLoaded)
            return;
        const auto gb1 = std::find_if(kCollections.begin(), kCollections.end(),
                                      [](const CollectionResources &c) {
                                          return std::string(c.collection) == kGbkCollection;
                                      });
        const std::string base = m_Use.ResourceBase();
        m_CMap = CGbkCMap::Read(base + gb1->cMapDir + "/" + kGbkCMapName);
        m_Table = CCidToUnicode::Read(base + gb1->cidToUnicodeFile);
        m_bTablesLoaded = true;
    }

    // Every CID the CMap or the table knows.
    unsigned CidCount() const { return std::max(m_CMap.CidCount(), m_Table.Size()); }

    const std::vector<unsigned short> &SubstituteGlyphs(const std::string &fontName) {
        const std::string file = CCjkFontSubstitution::ChooseGbkFontNow(fontName, m_Use);
        auto it = m_SubstituteGlyphs.find(file);
        if (it == m_SubstituteGlyphs.end()) {
            std::vector<unsigned short> glyphs;
            if (!file.empty())
                glyphs = CidToGidMapOfFile(file, m_Table, CidCount());
            it = m_SubstituteGlyphs.emplace(file, std::move(glyphs)).first;
        }
        return it->second;
    }

    XRef &m_XRef;
    const CConfigurationUse &m_Use;
    bool m_bTablesLoaded = false;
    CGbkCMap m_CMap;
    CCidToUnicode m_Table;
    std::map<std::string, std::vector<unsigned short>> m_SubstituteGlyphs; // by file
};

} // namespace

void PrepareCjkFonts(PDFDoc &doc) {
    const CConfigurationUse *use = CConfigurationUse::Current();
    XRef *xref = doc.getXRef();
    if (!use || !use->HasConfiguration() || !xref)
        return;
    CGbkFontRewriter gbk(*xref, *use);
    for (const Ref ref : FontObjects(*xref)) {
        Object font = xref->fetch(ref);
        if (!font.isDict())
            continue;
        if (IsGbkCodedFont(*font.getDict())) {
            // A rewritten font's substitute is chosen with the rewrite.
            Object composite = gbk.Rewrite(ref, *font.getDict());
            if (composite.isDict()) {
                xref->setModifiedObject(&composite, ref);
                continue;
            }
        }
        if (!IsEmbedded(*font.getDict())) {
            const std::unique_ptr<GfxFont> parsed =
                GfxFont::makeFont(xref, "cjk", ref, font.getDict());
            if (parsed)
                CCjkFontSubstitution::Choose(*parsed, *use);
        }
    }
}

} // namespace engine_ext
