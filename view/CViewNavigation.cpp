// CViewCore: page changes, the page commands, the display modes and the view history.

#include "view/CViewCore.h"

namespace view {

int CViewCore::GoToPage(int page) {
    if (!IsOpen())
        return -1;
    const int r = PdfGoToPage(m_hPdf, page);
    if (r != 0)
        return r;
    // In single-page mode the extent is the page's own: a wider or taller page than the last
    // must be reachable to its edges.
    if (m_nDisplayMode == kSinglePage)
        UpdateScrollSizes();
    // The top of the page's drawn area comes to the top of the window, as far as it can.
    m_Scroll.SetVertPos(m_nDisplayMode == kContinuous ? PdfGetPageTop(m_hPdf, page) : kPageMargin);
    m_History.Push(page);
    return 0;
}

int CViewCore::FirstPage() {
    return CurrentPage() > 1 ? GoToPage(1) : -1;
}

int CViewCore::PrevPage() {
    const int page = CurrentPage();
    return page >= 2 ? GoToPage(page - 1) : -1;
}

int CViewCore::NextPage() {
    const int page = CurrentPage();
    return page != PageCount() ? GoToPage(page + 1) : -1;
}

int CViewCore::LastPage() {
    const int count = PageCount();
    return CurrentPage() != count ? GoToPage(count) : -1;
}

// The position moves even when the entry is no page (entry 0 before the history is full).
void CViewCore::PrevView() {
    if (const auto page = m_History.Back())
        GoToPage(*page);
}

void CViewCore::NextView() {
    if (const auto page = m_History.Forward())
        GoToPage(*page);
}

// The extent of the new mode is set before the page is placed: placed first, a page far down
// a continuous document would be cut back to the small range of the single-page extent.
void CViewCore::SetDisplayMode(int mode) {
    m_nDisplayMode = mode;
    UpdateScrollSizes();
    GoToPage(CurrentPage());
    UpdateScrollSizes();
}

} // namespace view
