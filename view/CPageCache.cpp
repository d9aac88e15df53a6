#include "view/CPageCache.h"

#include <new>
#include <utility>

namespace view {

namespace {

// Points times zoom in double precision, truncated toward zero like every pixel size.
int ScaledSize(int points, float zoom) {
    return static_cast<int>(points * static_cast<double>(zoom));
}

} // namespace

EnginePtr MakeEngine() {
    return EnginePtr(PdfCreate(), PdfDestroy);
}

CPageCache::CPageCache() {
    for (PageSlot &slot : m_Slots) {
        // Drawn over before any paint shows them, so they need not start white.
        slot.dc.SelectBitmap(
            CreateDIB24(kInitialSlotSize, kInitialSlotSize, platform::Bitmap::Fill::Black));
        if (slot.dc.GetBitmap()) {
            slot.nWidth = kInitialSlotSize;
            slot.nHeight = kInitialSlotSize;
        }
    }
}

void CPageCache::SetEngine(EnginePtr engine) {
    std::lock_guard lock(m_Lock);
    m_pEngine = std::move(engine);
}

void CPageCache::SetErrorReporter(ErrorReporter reporter) {
    std::lock_guard lock(m_Lock);
    m_Reporter = std::move(reporter);
}

int CPageCache::CachePage(int page) {
    EnginePtr engine;
    {
        std::lock_guard lock(m_Lock);
        engine = m_pEngine;
    }
    if (!engine)
        return -1;
    PDFHANDLE h = engine.get();
    // Page 0 is no page either: drawing it would only ask the engine for a page it lacks.
    if (page < 1 || page > PdfGetPageCount(h))
        return -2;
    if (FindCachedPage(page) >= 0)
        return 0;
    const float zoom = PdfGetZoom(h);
    const int width = ScaledSize(PdfGetPageWidth(h, page), zoom) + kFrameSize;
    const int height = ScaledSize(PdfGetPageHeight(h, page), zoom) + kFrameSize;

    Claim claim = ClaimNextSlot(width, height);
    if (!claim.bReused)
        claim.bitmap = CreateDIB24(width, height);
    if (claim.bitmap) {
        platform::DeviceContext dc;
        dc.SelectBitmap(std::move(claim.bitmap));
        PdfSetRedraw(h, 1);
        PdfDrawPage(h, &dc, page, 0, 0);
        claim.bitmap = dc.SelectBitmap(nullptr);
    }
    ReturnSlot(std::move(claim), page, width, height);
    return 0;
}

// Takes the next slot in turn out of reach of paints: it reads as empty and its bitmap leaves
// it until ReturnSlot, so the engine draws into a bitmap that nobody else touches.
CPageCache::Claim CPageCache::ClaimNextSlot(int width, int height) {
    std::unique_ptr<platform::Bitmap> dropped;
    std::lock_guard lock(m_Lock);
    m_nLastSlot = (m_nLastSlot + 1) % kSlotCount;
    PageSlot &slot = m_Slots[m_nLastSlot];
    slot.nPage = 0;
    Claim claim{m_nLastSlot, m_nGeneration, slot.dc.SelectBitmap(nullptr), false};
    claim.bReused = claim.bitmap && width <= slot.nWidth && height <= slot.nHeight;
    if (!claim.bReused)
        dropped = std::move(claim.bitmap);
    return claim;
}

void CPageCache::ReturnSlot(Claim claim, int page, int width, int height) {
    std::lock_guard lock(m_Lock);
    PageSlot &slot = m_Slots[claim.nSlot];
    const bool bHasBitmap = claim.bitmap != nullptr;
    slot.dc.SelectBitmap(std::move(claim.bitmap));
    if (!claim.bReused) {
        // A bitmap that could not be made leaves the size at 0, so the next fill tries again.
        slot.nWidth = bHasBitmap ? width : 0;
        slot.nHeight = bHasBitmap ? height : 0;
    }
    if (claim.nGeneration == m_nGeneration) {
        slot.nPage = page;
    } else { // the cache was cleared while the page was drawn: the drawing is stale
        slot.nWidth = 0;
        slot.nHeight = 0;
    }
}

int CPageCache::FindLocked(int page) const {
    for (int i = 0; i < kSlotCount; ++i)
        if (page != 0 && m_Slots[i].nPage == page)
            return i;
    return -1;
}

int CPageCache::FindCachedPage(int page) const {
    std::lock_guard lock(m_Lock);
    return FindLocked(page);
}

int CPageCache::DrawCachedPage(int page, platform::DeviceContext &dst, int x, int y, int width,
                               int height) const {
    std::lock_guard lock(m_Lock);
    const int slot = FindLocked(page);
    if (slot < 0)
        return -1;
    // A slot whose bitmap could not be made shows nothing, as the failed page would.
    if (const platform::Bitmap *bitmap = m_Slots[slot].dc.GetBitmap())
        dst.BitBlt(x, y, width, height, *bitmap, 0, 0);
    return 0;
}

void CPageCache::ClearCache() {
    std::lock_guard lock(m_Lock);
    for (PageSlot &slot : m_Slots) {
        slot.nPage = 0;
        slot.nWidth = 0;
        slot.nHeight = 0;
    }
    ++m_nGeneration;
}

std::unique_ptr<platform::Bitmap> CPageCache::CreateDIB24(int width, int height,
                                                          platform::Bitmap::Fill fill) const {
    const long long bytes = static_cast<long long>(platform::Bitmap::WidenedWidth(width)) * height *
                            platform::Bitmap::kBytesPerPixel;
    if (width < 1 || height < 1 || bytes > kMaxBitmapBytes) {
        Report(kOutOfMemory);
        return nullptr;
    }
    try {
        return std::make_unique<platform::Bitmap>(width, height, fill);
    } catch (const std::bad_alloc &) {
        Report(kOutOfMemory);
        return nullptr;
    }
}

void CPageCache::Report(int code) const {
    ErrorReporter reporter;
    {
        std::lock_guard lock(m_Lock);
        reporter = m_Reporter;
    }
    if (reporter)
        reporter(code);
}

PageSlot CPageCache::SlotInfo(int slot) const {
    std::lock_guard lock(m_Lock);
    const PageSlot &s = m_Slots[slot];
    PageSlot info;
    info.nPage = s.nPage;
    info.nWidth = s.nWidth;
    info.nHeight = s.nHeight;
    return info;
}

int CPageCache::BitmapWidth(int slot) const {
    std::lock_guard lock(m_Lock);
    return m_Slots[slot].dc.GetWidth();
}

int CPageCache::LastSlot() const {
    std::lock_guard lock(m_Lock);
    return m_nLastSlot;
}

} // namespace view
