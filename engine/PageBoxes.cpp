#include "engine/PageBoxes.h"

#include "engine-ext/PageTreeEntries.h"

#include <PDFDoc.h>
#include <Page.h>

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace {

constexpr std::size_t kMaxDepth = 256;

struct Attrs {
    PDFRectangle media{0, 0, 612, 792}; // Poppler's default for files that name none
    PDFRectangle crop{0, 0, 0, 0};
    bool bHaveCrop = false;
    int rotate = 0;
};

bool ReadBox(Dict &dict, const char *key, PDFRectangle *box) {
    const Object array = dict.lookup(key);
    if (!array.isArray() || array.arrayGetLength() != 4)
        return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        const Object n = array.arrayGet(i);
        if (!n.isNum())
            return false;
        v[i] = n.getNum();
    }
    if (v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 0)
        return false; // an empty box counts as none
    *box = PDFRectangle(std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]),
                        std::max(v[1], v[3]));
    return true;
}

// Poppler's own PDFRectangle::clipTo is not exported by the shared library.
void ClipTo(PDFRectangle &r, const PDFRectangle &limit) {
    r.x1 = std::clamp(r.x1, limit.x1, limit.x2);
    r.x2 = std::clamp(r.x2, limit.x1, limit.x2);
    r.y1 = std::clamp(r.y1, limit.y1, limit.y2);
    r.y2 = std::clamp(r.y2, limit.y1, limit.y2);
}

Attrs Inherit(Attrs attrs, Dict &dict) {
    const bool isPage = dict.is("Page");
    ReadBox(dict, "MediaBox", &attrs.media);
    if (ReadBox(dict, "CropBox", &attrs.crop))
        attrs.bHaveCrop = true;
    if (!attrs.bHaveCrop)
        attrs.crop = attrs.media;
    if (isPage) {
        // A crop box larger than the media box is taken back to the media box.
        if (attrs.crop.x2 - attrs.crop.x1 > attrs.media.x2 - attrs.media.x1)
            attrs.crop.x1 = attrs.media.x1, attrs.crop.x2 = attrs.media.x2;
        if (attrs.crop.y2 - attrs.crop.y1 > attrs.media.y2 - attrs.media.y1)
            attrs.crop.y1 = attrs.media.y1, attrs.crop.y2 = attrs.media.y2;
    }
    const Object rotate = dict.lookup("Rotate");
    if (rotate.isInt())
        attrs.rotate = (rotate.getInt() % 360 + 360) % 360;
    return attrs;
}

// Poppler gives up on a page tree at a page whose contents or annotations are malformed; such
// a file is left to it.
bool PageIsSound(Dict &page) {
    constexpr int kMaxAnnots = 10000;
    const Object &contents = page.lookupNF("Contents");
    const Object annots = page.lookup("Annots");
    return (contents.isRef() || contents.isArray() || contents.isNull()) &&
           !(annots.isArray() && annots.arrayGetLength() > kMaxAnnots);
}

struct Node {
    Object kids;
    Attrs attrs;
    int nextKid = 0;
};

bool IsPage(Object &kid) {
    return kid.isDict("Page") || (kid.isDict() && !kid.getDict()->hasKey("Kids"));
}

} // namespace

std::optional<std::vector<PageBox>> ReadPageBoxes(PDFDoc &doc,
                                                  engine_ext::PageTreeEntries *entries) {
    const int count = doc.getNumPages();
    Object catalog = doc.getXRef()->getCatalog();
    if (!catalog.isDict() || count < 1)
        return std::nullopt;
    Object root = catalog.dictLookup("Pages");
    if (!root.isDict())
        return std::nullopt;
    std::vector<PageBox> boxes;
    boxes.reserve(count);
    if (entries)
        entries->Collect(*root.getDict());
    std::vector<Node> stack;
    const Object &rootRef = catalog.dictLookupNF("Pages");
    // Every node and page is read once: a kid met a second time, whether through a loop or a
    // subtree listed twice, makes the tree one that is left to Poppler. Following shared
    // subtrees would cost one visit per path, which a few dozen levels make endless.
    std::unordered_set<int> seen;
    if (rootRef.isRef())
        seen.insert(rootRef.getRefNum());
    stack.push_back({root.dictLookup("Kids"), Inherit({}, *root.getDict())});
    while (!stack.empty()) {
        Node &node = stack.back();
        if (!node.kids.isArray())
            return std::nullopt;
        if (node.nextKid >= node.kids.arrayGetLength()) {
            stack.pop_back();
            continue;
        }
        const Object &kidRef = node.kids.arrayGetNF(node.nextKid++);
        if (!kidRef.isRef() || !seen.insert(kidRef.getRefNum()).second)
            return std::nullopt;
        Object kid = kidRef.fetch(doc.getXRef());
        if (entries && kid.isDict())
            entries->Collect(*kid.getDict());
        if (IsPage(kid)) {
            if (!PageIsSound(*kid.getDict()))
                return std::nullopt;
            Attrs attrs = Inherit(node.attrs, *kid.getDict());
            ClipTo(attrs.crop, attrs.media);
            boxes.push_back(
                {attrs.crop.x2 - attrs.crop.x1, attrs.crop.y2 - attrs.crop.y1, attrs.rotate});
            if (static_cast<int>(boxes.size()) > count)
                return std::nullopt;
        } else if (kid.isDict() && stack.size() < kMaxDepth) {
            Attrs attrs = Inherit(node.attrs, *kid.getDict());
            stack.push_back({kid.dictLookup("Kids"), attrs});
        } else {
            return std::nullopt;
        }
    }
    if (static_cast<int>(boxes.size()) != count)
        return std::nullopt;
    return boxes;
}
