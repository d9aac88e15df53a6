#include "engine/PageDisplay.h"

#include <Annot.h>
#include <Gfx.h>
#include <OutputDev.h>
#include <PDFDoc.h>
#include <Page.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 6> kImageOnlyFilters = {
    "JBIG2Decode", "DCTDecode", "DCT", "JPXDecode", "CCITTFaxDecode", "CCF"};

bool IsImageOnlyFilterName(const Object &name) {
    return name.isName() && std::find(kImageOnlyFilters.begin(), kImageOnlyFilters.end(),
                                      name.getName()) != kImageOnlyFilters.end();
}

bool HasImageOnlyFilter(Object &stream) {
    if (!stream.isStream())
        return false;
    const Object filter = stream.streamGetDict()->lookup("Filter");
    if (!filter.isArray())
        return IsImageOnlyFilterName(filter);
    for (int i = 0; i < filter.arrayGetLength(); ++i) {
        if (IsImageOnlyFilterName(filter.arrayGet(i)))
            return true;
    }
    return false;
}

bool IsDrawable(const Object &contents, int i) {
    Object stream = contents.arrayGet(i);
    return !HasImageOnlyFilter(stream);
}

bool HasUndrawableContent(Object &contents) {
    if (contents.isStream())
        return HasImageOnlyFilter(contents);
    if (!contents.isArray())
        return false;
    for (int i = 0; i < contents.arrayGetLength(); ++i) {
        if (!IsDrawable(contents, i))
            return true;
    }
    return false;
}

Object DrawableContent(const Object &contents, XRef *xref) {
    auto *drawable = new Array(xref);
    for (int i = 0; contents.isArray() && i < contents.arrayGetLength(); ++i) {
        if (IsDrawable(contents, i))
            drawable->add(contents.arrayGetNF(i).copy());
    }
    return Object(drawable);
}

// What Page::displaySlice does, with the undrawable content streams left out.
void DisplayDrawablePart(PDFDoc &doc, Page &page, OutputDev &out, double dpi, int rotate,
                         const PageSlice &s, AbortCheck abort, void *abortData, bool mediaBox) {
    const std::unique_ptr<Gfx> gfx(page.createGfx(&out, dpi, dpi, rotate, mediaBox, !mediaBox, s.x,
                                                  s.y, s.w, s.h, false, abort, abortData));
    Object drawable = DrawableContent(page.getContents(), doc.getXRef());
    if (drawable.arrayGetLength() > 0) {
        gfx->saveState();
        gfx->display(&drawable);
        gfx->restoreState();
    }
    for (Annot *annot : page.getAnnots()->getAnnots())
        annot->draw(gfx.get(), false);
    out.dump();
}

} // namespace

bool DisplayPage(PDFDoc &doc, OutputDev &out, int page, double dpi, int rotate, const PageSlice &s,
                 AbortCheck abort, void *abortData, PageArea area) {
    Page *p = doc.getPage(page);
    if (!p)
        return false;
    const bool mediaBox = area == PageArea::MediaBox, crop = !mediaBox;
    Object contents = p->getContents();
    if (!HasUndrawableContent(contents)) {
        doc.displayPageSlice(&out, page, dpi, dpi, rotate, mediaBox, crop, false, s.x, s.y, s.w,
                             s.h, abort, abortData);
        return true;
    }
    if (out.checkPageSlice(p, dpi, dpi, rotate, mediaBox, crop, s.x, s.y, s.w, s.h, false, abort,
                           abortData))
        DisplayDrawablePart(doc, *p, out, dpi, rotate, s, abort, abortData, mediaBox);
    return true;
}
