#include "engine/CPdfEngine.h"

#include <Page.h>

#include <algorithm>
#include <climits>

namespace {

constexpr float kMinZoom = 0.125f;
constexpr float kMaxZoom = 8.0f;
constexpr int kPageGap = 10; // pixels above every page and below the last
constexpr int kMinPageLeft = 10;
// No real page comes near either bound; they keep every product and sum of the layout, and
// what callers add to it, inside an int.
constexpr double kMaxPagePoints = 1e6;
constexpr long long kMaxLayoutPixels = INT_MAX / 2;

int Normalised(int degrees) {
    return (degrees % 360 + 360) % 360;
}

bool IsQuarterTurn(int degrees) {
    return degrees == 90 || degrees == 270;
}

// Points times zoom, formed in double and truncated toward zero like every pixel size here.
int Scaled(int points, float zoom) {
    return static_cast<int>(points * static_cast<double>(zoom));
}

// A box side as whole points; a page box may hold any number a file writes, NaN included.
int WholePoints(double side) {
    return side > 0 ? static_cast<int>(std::min(side, kMaxPagePoints)) : 0;
}

int Saturated(long long pixels) {
    return static_cast<int>(std::min(pixels, kMaxLayoutPixels));
}

bool Covers(int edge, int top, int bottom) {
    return top <= edge && edge <= bottom;
}

} // namespace

int CPdfEngine::GetPageCount() const {
    return m_pDoc ? m_pDoc->getNumPages() : -1;
}

// The arrays hold entry 0 and one entry per page while a document is open, none otherwise.
int CPdfEngine::LayoutPageCount() const {
    return m_bOpen ? static_cast<int>(m_PageWidths.size()) - 1 : -1;
}

int CPdfEngine::LayoutPageWidth(int page) const {
    return page >= 1 && page <= LayoutPageCount() ? m_PageWidths[page] : -1;
}

int CPdfEngine::LayoutPageHeight(int page) const {
    return page >= 1 && page <= LayoutPageCount() ? m_PageHeights[page] : -1;
}

void CPdfEngine::GetCropSize(int page, double *w, double *h) const {
    const bool known = page >= 1 && page <= static_cast<int>(m_PageBoxes.size());
    const PageBox box = known ? m_PageBoxes[page - 1] : PageBox{};
    *w = box.w;
    *h = box.h;
    if (IsQuarterTurn(box.rotate))
        std::swap(*w, *h);
}

int CPdfEngine::GetPageWidth(int page) const {
    if (!m_pDoc || !m_pDoc->isOk() || page < 1 || page > GetPageCount())
        return -1;
    double w, h;
    GetCropSize(page, &w, &h);
    return WholePoints(IsQuarterTurn(m_nRotate) ? h : w);
}

int CPdfEngine::GetPageHeight(int page) const {
    if (!m_pDoc || !m_pDoc->isOk() || page < 1 || page > GetPageCount())
        return -1;
    double w, h;
    GetCropSize(page, &w, &h);
    return WholePoints(IsQuarterTurn(m_nRotate) ? w : h);
}

void CPdfEngine::BuildPageSizes() {
    if (!m_pDoc)
        return;
    m_PageWidths.assign(1, 0);
    m_PageHeights.assign(1, 0);
    m_PageWidths.reserve(m_PageBoxes.size() + 1);
    m_PageHeights.reserve(m_PageBoxes.size() + 1);
    for (std::size_t p = 1; p <= m_PageBoxes.size(); ++p) {
        m_PageWidths.push_back(GetPageWidth(p));
        m_PageHeights.push_back(GetPageHeight(p));
    }
}

std::vector<PageBox> CPdfEngine::PageBoxesFromPoppler() const {
    std::vector<PageBox> boxes(std::max(GetPageCount(), 0));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Page *page = m_pDoc->getPage(i + 1);
        const PDFRectangle *box = page ? page->getCropBox() : nullptr;
        if (box)
            boxes[i] = {box->x2 - box->x1, box->y2 - box->y1, Normalised(page->getRotate())};
    }
    return boxes;
}

int CPdfEngine::SetZoom(float zoom) {
    if (!(zoom >= kMinZoom && zoom <= kMaxZoom))
        return -3;
    m_fZoom = zoom;
    m_bRedraw = 1;
    return 0;
}

int CPdfEngine::Rotate(int delta) {
    if (delta == 90 || delta == -90)
        m_nRotate = Normalised(m_nRotate + delta);
    if (m_pDoc)
        BuildPageSizes();
    return 1;
}

int CPdfEngine::GoToPage(int page) {
    if (page < 1 || page > LayoutPageCount())
        return -1;
    m_nCurPage = page;
    m_bRedraw = 1;
    return 0;
}

int CPdfEngine::ScaledHeight(int page) const {
    return page < static_cast<int>(m_PageHeights.size()) ? Scaled(m_PageHeights[page], m_fZoom) : 0;
}

// Layout queries without a document answer from empty arrays: harmless values, no crash.
int CPdfEngine::GetPageTop(int page) const {
    const int pages = static_cast<int>(m_PageHeights.size());
    long long top = kPageGap * static_cast<long long>(std::max(page, 1));
    for (int i = 1; i < page && i < pages; ++i)
        top += ScaledHeight(i);
    return Saturated(top);
}

int CPdfEngine::PageBottom(int page) const {
    return GetPageTop(page) + ScaledHeight(page);
}

int CPdfEngine::GetPageLeft(int page, int width) const {
    const int pageWidth =
        page >= 1 && page < static_cast<int>(m_PageWidths.size()) ? m_PageWidths[page] : 0;
    const long long left = (static_cast<long long>(width) - Scaled(pageWidth, m_fZoom)) / 2;
    return left <= kMinPageLeft ? kMinPageLeft : Saturated(left);
}

int CPdfEngine::GetDocExtent(int *width, int *height) const {
    if (!m_bOpen)
        return -1;
    const int widest = *std::max_element(m_PageWidths.begin(), m_PageWidths.end());
    long long total = kPageGap * static_cast<long long>(m_PageHeights.size());
    for (std::size_t k = 0; k < m_PageHeights.size(); ++k)
        total += ScaledHeight(static_cast<int>(k));
    if (width)
        *width = static_cast<int>(widest * static_cast<double>(m_fZoom) + 2.0 * kPageGap);
    if (height)
        *height = Saturated(total);
    return 0;
}

// Two passes, as the view relies on: the first page touching the rows, and the last; a page
// covering the whole range is both. Tops are accumulated once instead of per page.
int CPdfEngine::GetVisibleRange(int top, int bottom, int *first, int *last) {
    const int count = static_cast<int>(m_PageHeights.size()) - 1;
    std::vector<int> tops(std::max(count, 0) + 1, 0);
    long long y = kPageGap;
    for (int i = 1; i <= count; y += ScaledHeight(i) + kPageGap, ++i)
        tops[i] = Saturated(y);
    const auto bottomOf = [&](int i) {
        return Saturated(static_cast<long long>(tops[i]) + ScaledHeight(i));
    };
    for (int i = 1; i <= count; ++i) {
        const int pageBottom = bottomOf(i);
        if (tops[i] <= top && pageBottom >= bottom) {
            *first = *last = m_nCurPage = i;
            return 0;
        }
        if (Covers(tops[i], top, bottom) || Covers(pageBottom, top, bottom)) {
            *first = i;
            break;
        }
    }
    for (int i = 1; i <= count; ++i) {
        if (Covers(tops[i], top, bottom) || Covers(bottomOf(i), top, bottom))
            *last = m_nCurPage = i;
    }
    return 0;
}
