#include "view/CPagePainter.h"

#include <cstring>

namespace view {

namespace {

// A page can only leave the cache between being rendered and being copied when other pages
// were asked for in between; a few turns settle it.
constexpr int kDrawAttempts = 3;

void FillBackground(platform::DeviceContext &buffer) {
    static_assert(CPagePainter::kBackground.r == CPagePainter::kBackground.g &&
                  CPagePainter::kBackground.g == CPagePainter::kBackground.b);
    if (platform::Bitmap *bitmap = buffer.GetBitmap())
        std::memset(bitmap->GetBits(), CPagePainter::kBackground.r,
                    static_cast<std::size_t>(bitmap->GetStride()) * bitmap->GetHeight());
}

} // namespace

bool CPagePainter::Paint(platform::DeviceContext &buffer) {
    FillBackground(buffer);
    if (!m_Core.IsOpen())
        return true;
    const CScrollModel &scroll = m_Core.Scroll();
    const int sx = scroll.HorzPos(), sy = scroll.VertPos();
    const int wd = scroll.ClientWidth() + 1, hd = scroll.ClientHeight() + 1;
    if (m_Core.DisplayMode() == kSinglePage) {
        PaintSinglePage(buffer, sx, sy, wd);
        return true;
    }
    int first = 1, last = 0; // a range in the gap between two pages draws no page
    if (PdfGetVisibleRange(m_Core.Handle(), sy, sy + hd, &first, &last) == -1)
        return false;
    PaintContinuous(buffer, sx, sy, first, last, wd);
    return true;
}

void CPagePainter::PaintContinuous(platform::DeviceContext &buffer, int sx, int sy, int first,
                                   int last, int wd) {
    PDFHANDLE h = m_Core.Handle();
    for (int page = first; page <= last; ++page)
        DrawPage(buffer, page, PdfGetPageLeft(h, page, wd) - sx, PdfGetPageTop(h, page) - sy);
    m_Core.Worker().Request(last + 1, 1);
}

void CPagePainter::PaintSinglePage(platform::DeviceContext &buffer, int sx, int sy, int wd) {
    const int page = PdfGetCurrentPage(m_Core.Handle());
    DrawPage(buffer, page, PdfGetPageLeft(m_Core.Handle(), page, wd) - sx,
             CViewCore::kPageMargin - sy);
    m_Core.Worker().Request(page + 1, 1);
}

// Each page is copied as soon as it is in the cache, so more visible pages than slots still
// all reach the buffer.
void CPagePainter::DrawPage(platform::DeviceContext &buffer, int page, int x, int y) {
    const int width = m_Core.PageWidthPx(page) + CPageCache::kFrameSize;
    const int height = m_Core.PageHeightPx(page) + CPageCache::kFrameSize;
    for (int attempt = 0; attempt < kDrawAttempts; ++attempt) {
        m_Core.Worker().RenderPage(page);
        if (m_Core.Cache().DrawCachedPage(page, buffer, x, y, width, height) == 0)
            return;
    }
}

} // namespace view
