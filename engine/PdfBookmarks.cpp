#include "engine/CPdfEngine.h"

#include <Catalog.h>
#include <Link.h>
#include <Outline.h>

#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t kMaxTitleBytes = 127;

void AppendUtf8(std::string &out, Unicode u) {
    if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF)
        u = 0xFFFD;
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// The tree shows at most 127 bytes of a title; a character that would cross the limit is
// left out whole rather than cut into an invalid sequence.
std::string TitleText(const OutlineItem &item) {
    std::string text;
    const Unicode *title = item.getTitle();
    for (int i = 0; title && i < item.getTitleLength(); ++i) {
        std::string ch;
        AppendUtf8(ch, title[i]);
        if (text.size() + ch.size() > kMaxTitleBytes)
            break;
        text += ch;
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
    Outline *outline = m_pDoc->getOutline();
    const std::vector<OutlineItem *> *items = outline ? outline->getItems() : nullptr;
    if (items)
        AddOutlineItems(*items, *tree);
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

// Pre-order walk with an explicit stack: a hostile file may nest its outline deeper than the
// call stack could follow.
void CPdfEngine::AddOutlineItems(const std::vector<OutlineItem *> &items,
                                 platform::TreeControl &tree) {
    struct Level {
        const std::vector<OutlineItem *> *items;
        std::size_t next;
        platform::TreeItem parent;
    };
    std::vector<Level> stack{{&items, 0, 0}};
    while (!stack.empty()) {
        Level &level = stack.back();
        if (level.next >= level.items->size()) {
            stack.pop_back();
            continue;
        }
        OutlineItem *item = (*level.items)[level.next++];
        const LinkGoTo *goTo = item ? GoToOf(*item) : nullptr;
        if (!goTo)
            continue;
        BookMarkEntry entry;
        entry.item = tree.InsertItem(TitleText(*item), level.parent);
        if (const GooString *name = goTo->getNamedDest())
            entry.namedDest = name->toStr();
        entry.dest = DestOf(goTo->getDest());
        const platform::TreeItem treeItem = entry.item;
        m_BookMarkArr.push_back(std::move(entry));
        item->open();
        const std::vector<OutlineItem *> *kids = item->getKids();
        if (kids && !kids->empty())
            stack.push_back({kids, 0, treeItem});
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
