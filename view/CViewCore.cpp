#include "view/CViewCore.h"

#include <algorithm>
#include <climits>

namespace view {

namespace {

// Points times zoom in double precision, truncated toward zero like every pixel size.
int Scaled(int points, float zoom) {
    return static_cast<int>(points * static_cast<double>(zoom));
}

} // namespace

CViewCore::CViewCore(const std::string &resourceDir)
    : m_pEngine(MakeEngine()), m_hPdf(m_pEngine.get()),
      m_pPageCache(std::make_shared<CPageCache>()), m_Worker(m_pPageCache),
      m_nDisplayMode(kContinuous) {
    if (m_hPdf)
        PdfSetResourceDir(m_hPdf, resourceDir.c_str());
}

// A worker still drawing after the time-out keeps the cache and through it the engine; the
// engine is destroyed by whichever of the two lets go last.
CViewCore::~CViewCore() {
    m_Worker.Stop(CRenderWorker::kDestroyTimeout);
    m_pPageCache->ClearCache();
}

bool CViewCore::IsOpen() const {
    return m_hPdf && PdfIsOpen(m_hPdf);
}

int CViewCore::OpenPdfFile(const std::string &path, platform::TreeControl *tree,
                           const PasswordPrompt &askPassword) {
    if (!m_hPdf)
        return -1;
    m_strFilePath = path;
    m_Worker.Stop();
    m_pPageCache->ClearCache();
    int r = PdfOpen(m_hPdf, path.c_str(), nullptr, tree);
    if (r == -2 && askPassword) {
        const std::string password = askPassword();
        r = PdfOpen(m_hPdf, path.c_str(), password.c_str(), tree);
    }
    if (r != 0) {
        m_strFilePath.clear();
        return r;
    }
    m_pPageCache->SetEngine(m_pEngine);
    PdfGoToPage(m_hPdf, 1);
    // Nothing to draw yet: page 1 at 100 % would only be thrown away by the fit that follows.
    m_Worker.Start(1, 0);
    UpdateScrollSizes();
    m_Scroll.SetVertPos(0);
    return 0;
}

// A worker that cannot start leaves the paint to render its pages itself (RenderPage).
void CViewCore::StartWorker(int page) {
    m_Worker.Start(page, 1);
}

void CViewCore::OnInitialUpdate() {
    FitWidth();
    m_Scroll.SetVertPos(0);
    UpdateScrollSizes();
    m_bFitKept = IsOpen();
}

bool CViewCore::RefitWidth() {
    float zoom = 0.0f;
    if (!m_bFitKept || FitWidthFactor(&zoom) != 0 || zoom == CurrentZoom())
        return false;
    return ApplyZoom(zoom) == 0;
}

void CViewCore::SetDeviceScale(float scale) {
    if (scale == m_fDeviceScale)
        return;
    // The worker is stopped so that no page is drawn at one scale into a slot sized for the
    // other; pictures of the old scale are no use, and the next paint asks for its pages.
    const bool bRunning = m_Worker.IsRunning();
    m_Worker.Stop();
    if (PdfSetDeviceScale(m_hPdf, scale) == 0) {
        m_pPageCache->ClearCache();
        m_pPageCache->SetDeviceScale(scale);
        m_fDeviceScale = scale;
    }
    if (bRunning)
        m_Worker.Start(CurrentPage(), 0);
}

bool CViewCore::VisibleRange(int *first, int *last) {
    if (!IsOpen())
        return false;
    if (m_nDisplayMode == kSinglePage) {
        *first = *last = CurrentPage();
        return true;
    }
    *first = 1; // a range in the gap between two pages has no page
    *last = 0;
    const int top = m_Scroll.VertPos();
    return PdfGetVisibleRange(m_hPdf, top, top + m_Scroll.ClientHeight() + 1, first, last) != -1;
}

// The worker is stopped (its page under way cancelled) so that the engine is free at once, and
// started again with nothing to draw, so that it cannot fill a slot behind the release.
void CViewCore::ReleaseMemory() {
    const bool bRunning = m_Worker.IsRunning();
    m_Worker.Stop();
    m_pPageCache->ReleaseMemory();
    PdfReleasePageMemory(m_hPdf);
    if (bRunning)
        m_Worker.Start(CurrentPage(), 0);
}

void CViewCore::RenderVisiblePages() {
    int first = 0, last = -1;
    if (!VisibleRange(&first, &last) || first > last)
        return;
    m_pPageCache->Reserve(last - first + 2);
    for (int page = first; page <= last; ++page)
        m_Worker.RenderPage(page, kPagePatience);
}

int CViewCore::CurrentPage() const {
    return IsOpen() ? PdfGetCurrentPage(m_hPdf) : -1;
}

float CViewCore::CurrentZoom() const {
    return IsOpen() ? PdfGetZoom(m_hPdf) : -1.0f;
}

int CViewCore::PageCount() const {
    return IsOpen() ? PdfGetPageCount(m_hPdf) : -1;
}

int CViewCore::PageWidthPx(int page) const {
    const int points = PdfGetPageWidth(m_hPdf, page);
    return points < 0 ? -1 : Scaled(points, PdfGetZoom(m_hPdf));
}

int CViewCore::PageHeightPx(int page) const {
    const int points = PdfGetPageHeight(m_hPdf, page);
    return points < 0 ? -1 : Scaled(points, PdfGetZoom(m_hPdf));
}

void CViewCore::UpdateScrollSizes() {
    if (!IsOpen())
        return;
    const int page = CurrentPage();
    if (m_nDisplayMode == kSinglePage) {
        if (page < 1 || page > PdfGetPageCount(m_hPdf))
            return;
        m_Scroll.SetTotalSize(PageWidthPx(page) + kSinglePageReserve,
                              PageHeightPx(page) + kSinglePageReserve);
        return;
    }
    int width = 0, height = 0;
    PdfGetDocExtent(m_hPdf, &width, &height);
    m_Scroll.SetTotalSize(width, height);
}

int CViewCore::ZoomTo(float zoom) {
    m_bFitKept = false;
    return ApplyZoom(zoom);
}

int CViewCore::ApplyZoom(float zoom) {
    if (!IsOpen())
        return -1;
    // A factor that is no number (a fit on a page of no size) is refused like one out of range.
    if (!(zoom >= 0.0f && zoom <= kMaxZoom))
        return -3;
    const int page = CurrentPage();
    const int w = m_Scroll.ClientWidth(), h = m_Scroll.ClientHeight();
    const double old = PdfGetZoom(m_hPdf);
    const int ncx =
        static_cast<int>((m_Scroll.HorzPos() + w / 2) * static_cast<double>(zoom) / old);
    const int ncy =
        static_cast<int>((m_Scroll.VertPos() + h / 2) * static_cast<double>(zoom) / old);

    m_Worker.Stop();
    m_pPageCache->ClearCache();
    PdfSetZoom(m_hPdf, zoom);
    // The current page is drawn at the new factor before the layout changes under the user.
    StartWorker(page);
    m_Worker.RenderPage(page, kPagePatience);

    UpdateScrollSizes();
    PdfGoToPage(m_hPdf, page);
    if (PageWidthPx(page) > w)
        ScrollHorz(ncx - w / 2);
    if (m_nDisplayMode == kSinglePage) {
        if (PageHeightPx(page) > h)
            m_Scroll.SetVertPos(zoom > 1.0f ? ncy - h / 2 : 0);
    } else {
        m_Scroll.SetVertPos(ncy - h / 2);
    }
    return 0;
}

int CViewCore::FitWidth() {
    float zoom = 0.0f;
    if (FitWidthFactor(&zoom) != 0)
        return -1;
    ZoomTo(zoom);
    return 0;
}

int CViewCore::FitWidthFactor(float *zoom) const {
    if (!IsOpen())
        return -1;
    const int points = PdfGetPageWidth(m_hPdf, CurrentPage());
    *zoom =
        static_cast<float>(static_cast<double>(m_Scroll.ClientWidth() - kFitWidthReserve) / points);
    return 0;
}

int CViewCore::FitHeight() {
    if (!IsOpen())
        return -1;
    FitZoom(m_Scroll.ClientHeight() - kFitHeightReserve, PdfGetPageHeight(m_hPdf, CurrentPage()));
    return 0;
}

// Pixels over points in floating point, stored as a float; a factor ZoomTo refuses changes
// nothing.
void CViewCore::FitZoom(int pixels, int points) {
    ZoomTo(static_cast<float>(static_cast<double>(pixels) / points));
}

// The step is added in double precision and the sum stored as a float, so steps from 1.0
// reach 3.8000007 and then 4.0000005, which is refused.
int CViewCore::ZoomIn() {
    return ZoomTo(static_cast<float>(CurrentZoom() + kZoomStep));
}

int CViewCore::ZoomOut() {
    return ZoomTo(static_cast<float>(CurrentZoom() - kZoomStep));
}

void CViewCore::Rotate(int delta) {
    if (!IsOpen())
        return;
    PdfRotate(m_hPdf, delta);
    ZoomTo(CurrentZoom());
}

void CViewCore::ScrollHorz(int pos) {
    if (!IsOpen())
        return;
    int width = 0;
    PdfGetDocExtent(m_hPdf, &width, nullptr);
    if (width < m_Scroll.ClientWidth())
        return;
    m_Scroll.SetHorzPos(pos);
}

void CViewCore::VScroll(int request, int arg, int track) {
    m_Scroll.VScroll(request, arg, track);
}

bool CViewCore::OnMouseWheel(int delta) {
    return WheelVertical(delta < 0 ? -1 : 1, 0);
}

bool CViewCore::OnWheel(int angleX, int angleY, int pixelX, int pixelY) {
    if (!IsOpen())
        return false;
    const bool bPixels = pixelX != 0 || pixelY != 0;
    const int notchesX = bPixels ? 0 : m_WheelX.Add(angleX);
    const int notchesY = bPixels ? 0 : m_WheelY.Add(angleY);
    bool bHandled = false;
    if (pixelY != 0 || notchesY != 0)
        bHandled = WheelVertical(notchesY, pixelY);
    else if (angleY != 0) // part of a notch: taken, nothing moves yet
        bHandled = true;
    const long long sideways =
        bPixels ? pixelX : static_cast<long long>(notchesX) * CScrollModel::kLineStep;
    // ScrollHorz leaves a document narrower than the window where it is.
    if (sideways != 0)
        ScrollHorz(
            static_cast<int>(std::clamp<long long>(m_Scroll.HorzPos() - sideways, 0, INT_MAX)));
    return bHandled || pixelX != 0 || angleX != 0;
}

// Up by notches lines (down when negative), or by pixels; in single-page mode only when the
// page does not fit the window. Scrolling drops the entries Next View would return to.
bool CViewCore::WheelVertical(int notches, int pixels) {
    if (!IsOpen())
        return false;
    if (m_nDisplayMode == kSinglePage &&
        m_Scroll.ClientHeight() > PageHeightPx(CurrentPage()) + kWheelReserve)
        return false;
    if (notches == 1 || notches == -1) {
        VScroll(notches < 0 ? kLineDown : kLineUp, 0);
    } else {
        const long long by =
            pixels != 0 ? pixels : static_cast<long long>(notches) * CScrollModel::kLineStep;
        m_Scroll.SetVertPos(
            static_cast<int>(std::clamp<long long>(m_Scroll.VertPos() - by, 0, INT_MAX)));
    }
    m_History.DropForward();
    return true;
}

void CViewCore::OnKeyUpDown(bool bUp) {
    VScroll(bUp ? kLineUp : kLineDown, 1);
}

int CViewCore::PageUnder(int y) const {
    if (!IsOpen())
        return -1;
    if (m_nDisplayMode == kSinglePage)
        return CurrentPage();
    // Page bottoms grow with the page number: the first bottom at or below the row.
    const int row = m_Scroll.VertPos() + y;
    int lo = 1, hi = PageCount();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (PdfGetPageTop(m_hPdf, mid) + PageHeightPx(mid) >= row)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

bool CViewCore::WindowToPage(int page, int x, int y, int *px, int *py) const {
    if (!IsOpen() || page < 1 || page > PageCount())
        return false;
    const int left = PdfGetPageLeft(m_hPdf, page, m_Scroll.ClientWidth() + 1);
    const int top = m_nDisplayMode == kSinglePage ? kPageMargin : PdfGetPageTop(m_hPdf, page);
    *px = m_Scroll.HorzPos() + x - left;
    *py = m_Scroll.VertPos() + y - top;
    return true;
}

} // namespace view
