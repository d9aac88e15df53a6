#include "engine-ext/CjkDocumentFonts.h"

#include "engine-ext/CjkFontFinder.h"
#include "engine-ext/CjkFontSubstitution.h"
#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/GbkFontName.h"
#include "engine-ext/GbkFontRewriter.h"

#include <GfxFont.h>
#include <PDFDoc.h>
#include <XRef.h>

#include <memory>
#include <optional>
#include <string>

namespace engine_ext {

namespace {

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

// Poppler finds the substitute file of a font by its name, so the font is given the name of
// its choice.
void NameSubstitute(XRef &xref, Ref ref, Object &font) {
    const std::unique_ptr<GfxFont> parsed = GfxFont::makeFont(&xref, "cjk", ref, font.getDict());
    const std::optional<std::string> name =
        parsed ? CCjkFontSubstitution::SubstituteName(*parsed) : std::nullopt;
    if (!name)
        return;
    font.dictSet("BaseFont", Object(objName, name->c_str()));
    xref.setModifiedObject(&font, ref);
}

} // namespace

void PrepareCjkFonts(PDFDoc &doc, const PageTreeEntries *pages) {
    const CConfigurationUse *use = CConfigurationUse::Current();
    XRef *xref = doc.getXRef();
    if (!use || !use->HasConfiguration() || !xref)
        return;
    CGbkFontRewriter gbk(*xref, *use);
    for (const Ref ref : FindDocumentFonts(*xref, pages)) {
        Object font = xref->fetch(ref);
        if (!font.isDict())
            continue;
        if (IsGbkCodedFont(*font.getDict())) {
            Object composite = gbk.Rewrite(ref, *font.getDict());
            if (composite.isDict()) {
                xref->setModifiedObject(&composite, ref);
                font = std::move(composite);
            }
        }
        if (!IsEmbedded(*font.getDict()))
            NameSubstitute(*xref, ref, font);
    }
}

} // namespace engine_ext
