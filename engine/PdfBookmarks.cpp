#include "engine/CPdfEngine.h"

#include <Catalog.h>
#include <Link.h>
#include <Outline.h>

#include <cstdio>
#include <set>
#include <vector>

namespace {

constexpr std::size_t kMaxTitleBytes = 127;

// Writes one code point as UTF-8 into out (room for 4 bytes); returns the byte count.
int EncodeUtf8(Unicode u, char *out) {
    if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF)
        u = 0xFFFD;
    if (u < 0x80) {
        out[0] = static_cast<char>(u);
        return 1;
    }
    if (u < 0x800) {
        out[0] = static_cast<char>(0xC0 | (u >> 6));
        out[1] = static_cast<char>(0x80 | (u & 0x3F));
        return 2;
    }
    if (u < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (u >> 12));
        out[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (u & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (u >> 18));
    out[1] = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (u & 0x3F));
    return 4;
}

// The tree shows at most 127 bytes of a title; a character that would cross the limit is
// left out whole rather than cut into an invalid sequence.
std::string TitleText(const OutlineItem &item) {
    std::string text;
    const Unicode *title = item.getTitle();
    for (int i = 0; title && i < item.getTitleLength(); ++i) {
        char ch[4];
        const int len = EncodeUtf8(title[i], ch);
        if (text.size() + len > kMaxTitleBytes)
            break;
        text.append(ch, len);
    }
    return text;
}

const LinkGoTo *GoToOf(const OutlineItem &item) {
    const LinkAction *action = item.getAction();
    if (!action || action->getKind() != actionGoTo)
        return nullptr;
    const auto *goTo = static_cast<const LinkGoTo *>(action);
    return goTo->getDest() || goTo->getNamedDest() ? goTo : nullptr;
}

std::optional<BookMarkEntry::Dest> DestOf(const LinkDest *dest) {
    if (!dest)
        return std::nullopt;
    return BookMarkEntry::Dest{dest->isPageRef(), dest->getPageNum(), dest->getPageRef()};
}

// Poppler's lookup stops at the catalog's /Dests dictionary when one exists, so a name kept
// only in the /Names tree of such a file would lead nowhere; the tree is searched too.
std::unique_ptr<LinkDest> FindNamedDest(Catalog &catalog, const std::string &name) {
    const GooString key(name);
    if (auto dest = catalog.findDest(&key))
        return dest;
    for (int i = 0; i < catalog.numDestNameTree(); ++i) {
        const GooString *entry = catalog.getDestNameTreeName(i);
        if (entry && entry->toStr() == name)
            return catalog.getDestNameTreeDest(i);
    }
    return nullptr;
}

int PageOfDest(Catalog &catalog, const BookMarkEntry::Dest &dest) {
    return dest.bPageRef ? catalog.findPage(dest.ref) : dest.nPage;
}

} // namespace

void CPdfEngine::BuildBookMarks(platform::TreeControl *tree) {
    m_BookMarkArr.clear();
    if (!m_pDoc || !tree)
        return;
    const Object outlines = m_pDoc->getXRef()->getCatalog().dictLookup("Outlines");
    const Object first = outlines.isDict() ? outlines.dictLookupNF("First").copy() : Object();
    if (first.isRef() && first.fetch(m_pDoc->getXRef()).isDict())
        AddOutlineItems(first, *tree);
    else
        AddPageItems(*tree);
    tree->SelectFirstVisible(tree->GetFirstVisibleItem());
    tree->SetFocus();
}

void CPdfEngine::AddPageItems(platform::TreeControl &tree) {
    for (int p = 1; p <= GetPageCount(); ++p) {
        char text[32];
        std::snprintf(text, sizeof text, "Page %d", p);
        BookMarkEntry entry;
        entry.item = tree.InsertItem(text, 0);
        entry.nPage = p;
        m_BookMarkArr.push_back(std::move(entry));
    }
}

// Pre-order walk along /First and /Next with an explicit stack: a hostile file may nest its
// outline deeper than the call stack could follow. Each item's dictionary is read once and
// handed to Poppler's OutlineItem for its title and action; opening items through Poppler
// would read every dictionary a second time. An item already seen (a loop, or a list shared
// by two parents) is not followed again.
void CPdfEngine::AddOutlineItems(const Object &firstItem, platform::TreeControl &tree) {
    struct Level {
        Object next;
        platform::TreeItem parent;
    };
    XRef *xref = m_pDoc->getXRef();
    std::set<int> seen;
    std::vector<Level> stack;
    stack.push_back({firstItem.copy(), 0});
    while (!stack.empty()) {
        const Object ref = std::move(stack.back().next);
        const platform::TreeItem parent = stack.back().parent;
        if (!ref.isRef() || !seen.insert(ref.getRefNum()).second) {
            stack.pop_back();
            continue;
        }
        Object dict = ref.fetch(xref);
        if (!dict.isDict()) {
            stack.pop_back();
            continue;
        }
        stack.back().next = dict.dictLookupNF("Next").copy();
        const OutlineItem item(dict.getDict(), ref.getRef(), nullptr, xref, m_pDoc.get());
        const LinkGoTo *goTo = GoToOf(item);
        if (!goTo)
            continue;
        BookMarkEntry entry;
        entry.item = tree.InsertItem(TitleText(item), parent);
        if (const GooString *name = goTo->getNamedDest())
            entry.namedDest = name->toStr();
        entry.dest = DestOf(goTo->getDest());
        const platform::TreeItem treeItem = entry.item;
        m_BookMarkArr.push_back(std::move(entry));
        stack.push_back({dict.dictLookupNF("First").copy(), treeItem});
    }
}

int CPdfEngine::GetLinkTarget(platform::TreeItem item) {
    for (const BookMarkEntry &entry : m_BookMarkArr) {
        if (entry.item != item)
            continue;
        if (!m_pDoc)
            return 0;
        Catalog &catalog = *m_pDoc->getCatalog();
        if (entry.namedDest) {
            const std::unique_ptr<LinkDest> dest = FindNamedDest(catalog, *entry.namedDest);
            return dest && dest->isOk() ? PageOfDest(catalog, *DestOf(dest.get())) : 0;
        }
        return entry.dest ? PageOfDest(catalog, *entry.dest) : entry.nPage;
    }
    return 0;
}
