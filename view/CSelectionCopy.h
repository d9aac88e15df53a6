#pragma once

#include "platform/Bitmap.h"
#include "view/CMouseTools.h"

#include <memory>
#include <optional>
#include <string>

namespace view {

// A picture of part of a page: the top-left width x height pixels of bitmap hold it (the
// bitmap's rows are widened with white).
struct CPagePicture {
    std::unique_ptr<platform::Bitmap> bitmap;
    int width = 0;
    int height = 0;
};

// What the selection's two copy commands take from the page: the selection is mapped through
// the page under its start corner, at that page's own place in the layout, so a rectangle on
// any visible page addresses that page.
class CSelectionCopy {
public:
    // The text buffer's first size in UTF-16 code units; a text that fills it is read again
    // into a buffer twice as large, up to the limit.
    static constexpr int kTextBufferUnits = 8192;
    static constexpr int kMaxTextBufferUnits = 1 << 22;

    explicit CSelectionCopy(const CViewCore &core) : m_Core(core) {}

    // The text whose characters lie in the rectangle, lines separated by CR LF; nothing
    // without a document.
    std::optional<std::u16string> Text(const CSelectRect &rect) const;
    // The rectangle's picture at the current zoom and rotation. A selection that ends where it
    // started asks for a size of -1, which gives the whole page. No bitmap without a document
    // or when the engine cannot draw it.
    CPagePicture Picture(const CSelectRect &rect) const;

private:
    struct CPagePixels {
        int page;
        int x0, y0, x1, y1; // the corners in drag order
    };
    std::optional<CPagePixels> ToPage(const CSelectRect &rect) const;

    const CViewCore &m_Core;
};

} // namespace view
