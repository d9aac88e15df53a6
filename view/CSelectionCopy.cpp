#include "view/CSelectionCopy.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace view {

namespace {

// The engine stops before a character or line end that would not fit with the terminating 0,
// so a text this close to the buffer's end may have been cut.
constexpr int kMayBeCut = 2;

struct CPoint {
    double x, y;
};

// A point of the page as the view turned it, in the page's upright space: the text of a page
// is measured there whatever the view's rotation. width and height are the turned page's.
CPoint Upright(CPoint p, int rotation, double width, double height) {
    switch (rotation) {
    case 90:
        return {p.y, width - p.x};
    case 180:
        return {width - p.x, height - p.y};
    case 270:
        return {height - p.y, p.x};
    default:
        return p;
    }
}

} // namespace

std::optional<CSelectionCopy::CPagePixels> CSelectionCopy::ToPage(const CSelectRect &rect) const {
    CPagePixels out{};
    out.page = m_Core.PageUnder(rect.start.y);
    if (!m_Core.WindowToPage(out.page, rect.start.x, rect.start.y, &out.x0, &out.y0) ||
        !m_Core.WindowToPage(out.page, rect.end.x, rect.end.y, &out.x1, &out.y1))
        return std::nullopt;
    return out;
}

// The corners are sorted: the engine selects nothing from a rectangle whose corners come
// right to left or bottom to top, as a drag toward the top left gives them.
std::optional<std::u16string> CSelectionCopy::Text(const CSelectRect &rect) const {
    const std::optional<CPagePixels> px = ToPage(rect);
    if (!px)
        return std::nullopt;
    const PDFHANDLE h = m_Core.Handle();
    const double zoom = m_Core.CurrentZoom();
    const int rotation = PdfGetRotation(h);
    const double width = PdfGetPageWidth(h, px->page), height = PdfGetPageHeight(h, px->page);
    const CPoint a = Upright({px->x0 / zoom, px->y0 / zoom}, rotation, width, height);
    const CPoint b = Upright({px->x1 / zoom, px->y1 / zoom}, rotation, width, height);
    const auto [xMin, xMax] = std::minmax(a.x, b.x);
    const auto [yMin, yMax] = std::minmax(a.y, b.y);

    std::vector<char16_t> buffer;
    int length = 0;
    for (int units = kTextBufferUnits; units <= kMaxTextBufferUnits; units *= 2) {
        buffer.assign(units, 0);
        length = 0;
        PdfGetRectText(h, px->page, xMin, yMin, xMax, yMax, buffer.data(), &length, units);
        if (length < units - kMayBeCut)
            break;
    }
    return std::u16string(buffer.data(), std::clamp(length, 0, static_cast<int>(buffer.size())));
}

CPagePicture CSelectionCopy::Picture(const CSelectRect &rect) const {
    const std::optional<CPagePixels> px = ToPage(rect);
    if (!px)
        return {};
    const auto [x0, x1] = std::minmax(px->x0, px->x1);
    const auto [y0, y1] = std::minmax(px->y0, px->y1);
    const int width = x1 - x0 - 1, height = y1 - y0 - 1;
    CPagePicture out;
    out.bitmap.reset(PdfGetRectBitmap(m_Core.Handle(), nullptr, px->page, x0, y0, width, height));
    if (!out.bitmap)
        return {};
    // The bitmap's widening columns are no part of the picture.
    const bool wholePage = width < 0 || height < 0;
    out.width = std::min(out.bitmap->GetWidth(), wholePage ? m_Core.PageWidthPx(px->page) : width);
    out.height =
        std::min(out.bitmap->GetHeight(), wholePage ? m_Core.PageHeightPx(px->page) : height);
    return out;
}

} // namespace view
