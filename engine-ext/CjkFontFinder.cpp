#include "engine-ext/CjkFontFinder.h"

#include <XRef.h>

#include <set>

namespace engine_ext {

namespace {

// Forms within forms are followed this deep; Poppler draws no deeper nesting either.
constexpr int kMaxDepth = 64;

class CFontFinder {
public:
    explicit CFontFinder(XRef &xref) : m_XRef(xref) {}

    std::vector<Ref> Find(const PageTreeEntries *pages) {
        Object catalog = m_XRef.getCatalog();
        if (!catalog.isDict())
            return {};
        if (pages)
            VisitEntries(*pages);
        else
            VisitPageTree(catalog.dictLookupNF("Pages"));
        Object form = catalog.dictLookup("AcroForm");
        if (form.isDict())
            VisitResources(form.dictLookupNF("DR"));
        return std::move(m_Fonts);
    }

private:
    // A reference not seen before, read; anything else as it is, or null when seen.
    Object Resolve(const Object &obj) {
        if (!obj.isRef())
            return obj.copy();
        if (!m_Visited.insert(obj.getRef()).second)
            return Object(objNull);
        return m_XRef.fetch(obj.getRef());
    }

    void VisitPageTree(const Object &root) {
        std::vector<Object> pending;
        pending.push_back(root.copy());
        while (!pending.empty()) {
            const Object node = Resolve(pending.back());
            pending.pop_back();
            if (!node.isDict())
                continue;
            VisitResources(node.dictLookupNF("Resources"));
            VisitAnnotations(node.dictLookup("Annots"));
            const Object kids = node.dictLookup("Kids");
            for (int i = 0; kids.isArray() && i < kids.arrayGetLength(); ++i)
                pending.push_back(kids.arrayGetNF(i).copy());
        }
    }

    void VisitEntries(const PageTreeEntries &pages) {
        for (const Object &resources : pages.resources)
            VisitResources(resources);
        for (const Object &annotations : pages.annotations)
            VisitAnnotations(Resolve(annotations));
    }

    void VisitResources(const Object &entry) {
        if (m_nDepth >= kMaxDepth)
            return;
        const Object resources = Resolve(entry);
        if (!resources.isDict())
            return;
        ++m_nDepth;
        const Object fonts = resources.dictLookup("Font");
        for (int i = 0; fonts.isDict() && i < fonts.dictGetLength(); ++i)
            VisitFont(fonts.dictGetValNF(i));
        for (const char *kind : {"XObject", "Pattern"}) {
            const Object group = resources.dictLookup(kind);
            for (int i = 0; group.isDict() && i < group.dictGetLength(); ++i)
                VisitContent(group.dictGetValNF(i));
        }
        const Object states = resources.dictLookup("ExtGState");
        for (int i = 0; states.isDict() && i < states.dictGetLength(); ++i)
            VisitGraphicsState(states.dictGetValNF(i));
        --m_nDepth;
    }

    // A graphics state sets a font of its own with /Font [font size], and draws its soft
    // mask's group, a form with resources of its own.
    void VisitGraphicsState(const Object &entry) {
        const Object state = Resolve(entry);
        if (!state.isDict())
            return;
        const Object font = state.dictLookup("Font");
        if (font.isArray() && font.arrayGetLength() == 2)
            VisitFont(font.arrayGetNF(0));
        const Object mask = Resolve(state.dictLookupNF("SMask"));
        if (mask.isDict())
            VisitContent(mask.dictLookupNF("G"));
    }

    void VisitFont(const Object &entry) {
        if (entry.isRef() && m_Visited.count(entry.getRef()) == 0)
            m_Fonts.push_back(entry.getRef());
        const Object font = Resolve(entry);
        if (font.isDict() && font.dictLookup("Subtype").isName("Type3"))
            VisitResources(font.dictLookupNF("Resources"));
    }

    // Form XObjects, tiling patterns and appearance streams carry resources of their own.
    void VisitContent(const Object &entry) {
        const Object content = Resolve(entry);
        if (content.isStream())
            VisitResources(content.streamGetDict()->lookupNF("Resources"));
    }

    void VisitAnnotations(const Object &annotations) {
        for (int i = 0; annotations.isArray() && i < annotations.arrayGetLength(); ++i) {
            const Object annotation = Resolve(annotations.arrayGetNF(i));
            const Object appearances =
                annotation.isDict() ? annotation.dictLookup("AP") : Object(objNull);
            for (int j = 0; appearances.isDict() && j < appearances.dictGetLength(); ++j)
                VisitAppearance(appearances.dictGetValNF(j));
        }
    }

    // One appearance stream, or a dictionary of them by state.
    void VisitAppearance(const Object &entry) {
        const Object appearance = Resolve(entry);
        if (appearance.isStream())
            VisitResources(appearance.streamGetDict()->lookupNF("Resources"));
        for (int i = 0; appearance.isDict() && i < appearance.dictGetLength(); ++i)
            VisitContent(appearance.dictGetValNF(i));
    }

    XRef &m_XRef;
    std::set<Ref> m_Visited;
    std::vector<Ref> m_Fonts;
    int m_nDepth = 0;
};

} // namespace

std::vector<Ref> FindDocumentFonts(XRef &xref, const PageTreeEntries *pages) {
    return CFontFinder(xref).Find(pages);
}

} // namespace engine_ext
