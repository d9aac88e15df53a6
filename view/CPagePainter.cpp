#include "view/CPagePainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace view {

namespace {

void FillBackground(platform::DeviceContext &buffer) {
    static_assert(CPagePainter::kBackground.r == CPagePainter::kBackground.g &&
                  CPagePainter::kBackground.g == CPagePainter::kBackground.b);
    if (platform::Bitmap *bitmap = buffer.GetBitmap())
        std::memset(bitmap->GetBits(), CPagePainter::kBackground.r,
                    static_cast<std::size_t>(bitmap->GetStride()) * bitmap->GetHeight());
}

} // namespace

bool CPagePainter::Paint(platform::DeviceContext &buffer) {
    m_nFirstMissing = m_nLastMissing = 0;
    FillBackground(buffer);
    if (!m_Core.IsOpen())
        return true;
    m_fScale = m_Core.DeviceScale();
    const CScrollModel &scroll = m_Core.Scroll();
    const int sx = scroll.HorzPos(), sy = scroll.VertPos();
    const int wd = scroll.ClientWidth() + 1, hd = scroll.ClientHeight() + 1;
    if (m_Core.DisplayMode() == kSinglePage) {
        const int page = PdfGetCurrentPage(m_Core.Handle());
        PaintPages(buffer, page, page, sx, sy, wd);
        AskWorker(page);
        return true;
    }
    int first = 1, last = 0; // a range in the gap between two pages draws no page
    if (PdfGetVisibleRange(m_Core.Handle(), sy, sy + hd, &first, &last) == -1)
        return false;
    PaintPages(buffer, first, last, sx, sy, wd);
    AskWorker(last);
    return true;
}

// Every visible page and the one after it must fit in the cache at once, or pages would push
// each other out between one paint and the next.
void CPagePainter::PaintPages(platform::DeviceContext &buffer, int first, int last, int sx, int sy,
                              int wd) {
    if (first > last)
        return;
    m_Core.Cache().Reserve(last - first + 2);
    PDFHANDLE h = m_Core.Handle();
    const bool bSingle = m_Core.DisplayMode() == kSinglePage;
    for (int page = first; page <= last; ++page) {
        const int top = bSingle ? CViewCore::kPageMargin : PdfGetPageTop(h, page);
        DrawPage(buffer, page, PdfGetPageLeft(h, page, wd) - sx, top - sy);
    }
}

void CPagePainter::DrawPage(platform::DeviceContext &buffer, int page, int x, int y) {
    CPageCache &cache = m_Core.Cache();
    int width = 0, height = 0;
    if (!cache.DrawnSize(page, &width, &height))
        return;
    // Without a worker thread nobody else can draw the page.
    if (!m_Core.Worker().IsRunning())
        m_Core.Worker().RenderPage(page);
    if (cache.DrawCachedPage(page, buffer, ToDevice(x), ToDevice(y), width, height) == 0)
        return;
    if (m_nFirstMissing == 0)
        m_nFirstMissing = page;
    m_nLastMissing = page;
}

// The missing pages first; the look-ahead only once the paint had everything it needed.
void CPagePainter::AskWorker(int last) {
    if (m_nFirstMissing == 0) {
        m_Core.Worker().Request(last + 1, 1);
        return;
    }
    const int count = std::min(m_nLastMissing - m_nFirstMissing + 1, m_Core.Cache().SlotCount());
    m_Core.Worker().Request(m_nFirstMissing, count);
}

// Layout pixels to device pixels, rounded down as the window system places them.
int CPagePainter::ToDevice(int pixels) const {
    return static_cast<int>(std::floor(pixels * static_cast<double>(m_fScale)));
}

} // namespace view
