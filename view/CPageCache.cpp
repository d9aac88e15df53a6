#include "view/CPageCache.h"

#include <algorithm>
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

CPageCache::CPageCache() : m_Slots(kSlotCount) {
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

void CPageCache::SetFillListener(FillListener listener) {
    std::lock_guard lock(m_Lock);
    m_Listener = std::move(listener);
}

void CPageCache::SetDeviceScale(float scale) {
    std::lock_guard lock(m_Lock);
    m_fDeviceScale = scale;
}

float CPageCache::DeviceScale() const {
    std::lock_guard lock(m_Lock);
    return m_fDeviceScale;
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
    int width = 0, height = 0;
    DrawnSize(page, &width, &height);

    Claim claim = ClaimNextSlot(width, height);
    if (!claim.bReused)
        claim.bitmap = CreateDIB24(width, height);
    bool bDrawn = false;
    if (claim.bitmap) {
        platform::DeviceContext dc;
        dc.SelectBitmap(std::move(claim.bitmap));
        PdfSetRedraw(h, 1);
        bDrawn = PdfDrawPage(h, &dc, page, 0, 0) == 0;
        ++m_nRenders;
        claim.bitmap = dc.SelectBitmap(nullptr);
    }
    const int filled = bDrawn || !m_bCancelling ? page : 0;
    if (ReturnSlot(std::move(claim), filled, width, height) && filled != 0) {
        FillListener listener;
        {
            std::lock_guard lock(m_Lock);
            listener = m_Listener;
        }
        if (listener)
            listener(page);
    }
    return 0;
}

void CPageCache::CancelDrawing(bool cancel) {
    EnginePtr engine;
    {
        std::lock_guard lock(m_Lock);
        engine = m_pEngine;
    }
    m_bCancelling = cancel;
    PdfCancelDraw(engine.get(), cancel ? 1 : 0);
}

// Zoom times scale is formed in single precision as the engine forms it, so both arrive at the
// same picture size.
bool CPageCache::DrawnSize(int page, int *width, int *height) const {
    EnginePtr engine;
    float scale;
    {
        std::lock_guard lock(m_Lock);
        engine = m_pEngine;
        scale = m_fDeviceScale;
    }
    PDFHANDLE h = engine.get();
    const int w = PdfGetPageWidth(h, page), ht = PdfGetPageHeight(h, page);
    if (w < 0 || ht < 0)
        return false;
    const float zoom = PdfGetZoom(h) * scale;
    const int frame = kFrameSize * PdfFrameThickness(scale);
    *width = ScaledSize(w, zoom) + frame;
    *height = ScaledSize(ht, zoom) + frame;
    return true;
}

// Takes the next slot in turn out of reach of paints: it reads as empty and its bitmap leaves
// it until ReturnSlot, so the engine draws into a bitmap that nobody else touches.
CPageCache::Claim CPageCache::ClaimNextSlot(int width, int height) {
    std::unique_ptr<platform::Bitmap> dropped;
    std::lock_guard lock(m_Lock);
    m_nLastSlot = (m_nLastSlot + 1) % static_cast<int>(m_Slots.size());
    PageSlot &slot = m_Slots[m_nLastSlot];
    slot.nPage = 0;
    Claim claim{m_nLastSlot, m_nGeneration, slot.dc.SelectBitmap(nullptr), false};
    claim.bReused = claim.bitmap && width <= slot.nWidth && height <= slot.nHeight;
    if (!claim.bReused)
        dropped = std::move(claim.bitmap);
    return claim;
}

// A page drawn across a clear is stale: its bitmap is dropped (the slot may be gone, or its
// memory released) and the slot's next fill makes a new one.
bool CPageCache::ReturnSlot(Claim claim, int page, int width, int height) {
    std::unique_ptr<platform::Bitmap> stale;
    std::lock_guard lock(m_Lock);
    if (claim.nGeneration != m_nGeneration) {
        stale = std::move(claim.bitmap);
        return false;
    }
    PageSlot &slot = m_Slots[claim.nSlot];
    const bool bHasBitmap = claim.bitmap != nullptr;
    slot.dc.SelectBitmap(std::move(claim.bitmap));
    if (!claim.bReused) {
        // A bitmap that could not be made leaves the size at 0, so the next fill tries again.
        slot.nWidth = bHasBitmap ? width : 0;
        slot.nHeight = bHasBitmap ? height : 0;
    }
    slot.nPage = page;
    return true;
}

int CPageCache::FindLocked(int page) const {
    for (int i = 0; i < static_cast<int>(m_Slots.size()); ++i)
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

void CPageCache::Reserve(int slots) {
    std::lock_guard lock(m_Lock);
    const auto wanted = static_cast<std::size_t>(std::clamp(slots, kSlotCount, kMaxSlotCount));
    if (m_Slots.size() < wanted)
        m_Slots.resize(wanted);
}

int CPageCache::SlotCount() const {
    std::lock_guard lock(m_Lock);
    return static_cast<int>(m_Slots.size());
}

void CPageCache::ClearCache() {
    Empty(false);
}

void CPageCache::ReleaseMemory() {
    Empty(true);
}

// Bitmaps leave the slots under the lock and are freed after it (declared before it).
void CPageCache::Empty(bool bFreeBitmaps) {
    std::vector<std::unique_ptr<platform::Bitmap>> freed;
    std::vector<PageSlot> extra;
    std::lock_guard lock(m_Lock);
    for (PageSlot &slot : m_Slots) {
        slot.nPage = 0;
        slot.nWidth = 0;
        slot.nHeight = 0;
        if (bFreeBitmaps)
            freed.push_back(slot.dc.SelectBitmap(nullptr));
    }
    extra = ShrinkLocked();
    ++m_nGeneration;
}

// Back to three slots, handing the others out; the fill order goes on among the three.
std::vector<PageSlot> CPageCache::ShrinkLocked() {
    std::vector<PageSlot> extra;
    if (m_Slots.size() > kSlotCount) {
        extra.assign(std::make_move_iterator(m_Slots.begin() + kSlotCount),
                     std::make_move_iterator(m_Slots.end()));
        m_Slots.resize(kSlotCount);
    }
    m_nLastSlot = std::min(m_nLastSlot, kSlotCount - 1);
    return extra;
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
    PageSlot info;
    if (slot < 0 || slot >= static_cast<int>(m_Slots.size()))
        return info;
    const PageSlot &s = m_Slots[slot];
    info.nPage = s.nPage;
    info.nWidth = s.nWidth;
    info.nHeight = s.nHeight;
    return info;
}

int CPageCache::BitmapWidth(int slot) const {
    std::lock_guard lock(m_Lock);
    return slot >= 0 && slot < static_cast<int>(m_Slots.size()) ? m_Slots[slot].dc.GetWidth() : 0;
}

int CPageCache::LastSlot() const {
    std::lock_guard lock(m_Lock);
    return m_nLastSlot;
}

long CPageCache::RenderCount() const {
    return m_nRenders;
}

} // namespace view
