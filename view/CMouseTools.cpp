#include "view/CMouseTools.h"

namespace view {

void CMouseTools::SetHandTool() {
    m_bSelectMode = false;
    m_bHighlight = false;
}

// A document that forbids copying keeps the hand tool, without a word.
void CMouseTools::SetSelectTool() {
    if (m_Core.IsOpen())
        m_bSelectMode = PdfCanCopy(m_Core.Handle()) != 0;
}

void CMouseTools::ExitSelectMode() {
    if (m_Core.IsOpen())
        SetHandTool();
}

void CMouseTools::Reset() {
    SetHandTool();
    m_bDragging = false;
    m_rcSelect = {};
}

void CMouseTools::OnButtonDown(int x, int y) {
    if (!m_Core.IsOpen())
        return;
    if (m_bSelectMode) {
        m_bHighlight = false;
        m_rcSelect = {{x, y}, {0, 0}};
    }
    m_bDragging = true;
    m_ptLast = {x, y};
    m_ptScroll = {m_Core.Scroll().HorzPos(), m_Core.Scroll().VertPos()};
}

bool CMouseTools::OnMouseMove(int x, int y, bool bLeftDown) {
    if (!m_Core.IsOpen() || !bLeftDown)
        return false;
    if (m_bSelectMode) {
        m_rcSelect.end = {x, y};
        return false;
    }
    // Dragging the page is scrolling: nothing is left for Next View to return to.
    m_Core.History().DropForward();
    DragBy(m_ptLast.x - x, m_ptLast.y - y);
    m_ptLast = {x, y};
    return true;
}

// The document follows the mouse. Single-page mode scrolls only along a side where the page
// is larger than the window; continuous mode always scrolls vertically. The position is read
// back afterwards, so a drag beyond the scroll range does not pile up.
void CMouseTools::DragBy(int dx, int dy) {
    m_ptScroll.x += dx;
    m_ptScroll.y += dy;
    const int page = m_Core.CurrentPage();
    CScrollModel &scroll = m_Core.Scroll();
    if (m_Core.PageWidthPx(page) > scroll.ClientWidth())
        m_Core.ScrollHorz(m_ptScroll.x);
    if (m_Core.DisplayMode() == kContinuous || m_Core.PageHeightPx(page) > scroll.ClientHeight())
        scroll.SetVertPos(m_ptScroll.y);
    m_ptScroll = {scroll.HorzPos(), scroll.VertPos()};
}

void CMouseTools::OnButtonUp(int x, int y) {
    if (!m_bDragging)
        return;
    m_bDragging = false;
    if (m_bSelectMode && CClientPoint{x, y} != m_rcSelect.start) {
        m_bHighlight = true;
        m_HighlightPlace = Place();
    }
}

bool CMouseTools::ShowsHighlight() {
    if (m_bHighlight && !(m_bSelectMode && m_Core.IsOpen() && Place() == m_HighlightPlace))
        m_bHighlight = false;
    return m_bHighlight;
}

ToolCursor CMouseTools::Cursor() const {
    if (m_bSelectMode || !m_Core.IsOpen())
        return ToolCursor::Arrow;
    return m_bDragging ? ToolCursor::ClosedHand : ToolCursor::OpenHand;
}

CMouseTools::CViewPlace CMouseTools::Place() const {
    const CScrollModel &scroll = m_Core.Scroll();
    return {scroll.HorzPos(),
            scroll.VertPos(),
            scroll.ClientWidth(),
            scroll.ClientHeight(),
            m_Core.CurrentPage(),
            m_Core.DisplayMode(),
            PdfGetRotation(m_Core.Handle()),
            m_Core.CurrentZoom()};
}

} // namespace view
