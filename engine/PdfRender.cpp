// PdfDrawPage and PdfGetRectBitmap: pages rasterised by Splash into device bitmaps.

#include "engine/CPdfEngine.h"
#include "engine/DeviceBitmap.h"
#include "engine/GlyphCachingDevice.h"
#include "engine/PageDisplay.h"
#include "engine/PdfApi.h"

#include <SplashOutputDev.h>
#include <splash/SplashBitmap.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr platform::Rgb kLightGrey{192, 192, 192};
constexpr int kBorder = 1; // the black border around the page
constexpr int kShadow = 2; // the drop shadow along the right and bottom edges
constexpr float kMinDeviceScale = 0.25f;
constexpr float kMaxDeviceScale = 8.0f;

// Pixels are truncated toward zero, as everywhere in the layout.
int Scaled(int points, float zoom) {
    return static_cast<int>(points * static_cast<double>(zoom));
}

// An outline `thickness` pixels wide along the inside of the rectangle.
void FrameRect(platform::DeviceContext &dc, int x, int y, int w, int h, int thickness,
               platform::Rgb c) {
    for (int i = 0; i < thickness; ++i)
        dc.FrameRect(x + i, y + i, w - 2 * i, h - 2 * i, c);
}

// The page sits at (x + t, y + t), t pixels per layout pixel of the frame; rectangles are
// left, top, width, height.
void DrawFrame(platform::DeviceContext &dc, int x, int y, int w, int h, int t) {
    const int border = kBorder * t, shadow = kShadow * t;
    const int framed = w + 2 * border, framedH = h + 2 * border;
    // The light-grey outline is anchored at the context's origin, whatever (x, y) is.
    FrameRect(dc, 0, 0, framed + shadow, framedH + shadow, t, kLightGrey);
    FrameRect(dc, x, y, framed, framedH, border, platform::kBlack);
    dc.FillRect(x + framed, y + shadow, shadow, framedH, platform::kBlack);
    dc.FillRect(x + shadow, y + framedH, framed, shadow, platform::kBlack);
}

// Counts the pages Poppler really starts: a page of a broken page tree can be "displayed"
// without ever starting, leaving the device with the picture of the page before.
class CScreenDevice : public CGlyphCachingDevice {
public:
    using CGlyphCachingDevice::CGlyphCachingDevice;
    void startPage(int pageNum, GfxState *state, XRef *xref) override {
        ++m_nStarted;
        CGlyphCachingDevice::startPage(pageNum, state, xref);
    }
    long m_nStarted = 0;
};

} // namespace

bool CPdfEngine::HasPage(int page) const {
    return m_pDoc && page >= 1 && page <= GetPageCount();
}

SplashOutputDev &CPdfEngine::ScreenDevice() {
    // One device per document: its font cache serves every later page, as in pdftoppm.
    if (!m_pScreenDev)
        m_pScreenDev = std::make_unique<CScreenDevice>(m_PageBudget, *m_pDoc);
    return *m_pScreenDev;
}

// The row buffer grows to what a page needs and is reused, never shrunk. The held picture is
// written over when the page has its size; otherwise it goes first, so that two large pictures
// are never held at once.
bool CPdfEngine::MakePageBitmap(SplashBitmap &rows) {
    const int w = rows.getWidth(), h = rows.getHeight();
    const std::uint8_t *bits = rows.getDataPtr();
    if (NeedsWidening(w)) {
        const std::size_t needed = (static_cast<std::size_t>(w) + 3) * h * 3 + 1;
        if (m_nRowBufSize < needed) {
            m_pRowBuf.reset();
            m_nRowBufSize = 0;
            m_pRowBuf.reset(new (std::nothrow) std::uint8_t[needed]);
            if (!m_pRowBuf)
                return false;
            m_nRowBufSize = needed;
        }
        WidenRows(rows, m_pRowBuf.get());
        bits = m_pRowBuf.get();
    }
    const platform::Bitmap *held = m_hMemDC.GetBitmap();
    if (!held || !HasSize(*held, w, h)) {
        m_hMemDC.SelectBitmap(nullptr);
        std::unique_ptr<platform::Bitmap> fresh = UnfilledBitmap(w, h);
        if (!fresh)
            return false;
        m_hMemDC.SelectBitmap(std::move(fresh));
    }
    platform::Bitmap &page = *m_hMemDC.GetBitmap();
    if (!page.IsEmpty())
        std::memcpy(page.GetBits(), bits, WidenedSize(w, h));
    return true;
}

// A picture beyond the memory budget is not attempted: the page fails as a whole.
bool CPdfEngine::DrawOnScreenDevice(int page, const PageSlice &slice, float zoom) {
    const bool wholePage = slice.w < 0 || slice.h < 0;
    if (!CPageBudget::PictureFits(wholePage ? Scaled(GetPageWidth(page), zoom) : slice.w,
                                  wholePage ? Scaled(GetPageHeight(page), zoom) : slice.h))
        return false;
    auto &dev = static_cast<CScreenDevice &>(ScreenDevice());
    const long started = dev.m_nStarted;
    m_PageBudget.Start(true);
    return DisplayPage(*m_pDoc, dev, page, kPointsPerInch * zoom, m_nRotate, slice,
                       CPageBudget::Exceeded, &m_PageBudget) &&
           dev.m_nStarted != started;
}

bool CPdfEngine::RenderPage(int page) {
    const float zoom = ScreenZoom();
    if (!CPageBudget::PictureFits(Scaled(GetPageWidth(page), zoom),
                                  Scaled(GetPageHeight(page), zoom)))
        return false;
    const bool drawn = DrawOnScreenDevice(page, {}, zoom);
    // A cancelled page is no picture of the page, not even a blank one: nothing changes.
    if (m_PageBudget.WasStopped())
        return false;
    m_nBmpWidth = m_nBmpHeight = 0;
    if (!drawn) {
        // The old picture goes first: two large pages need not be held at once.
        m_hMemDC.SelectBitmap(nullptr);
        return BlankPage(page);
    }
    SplashBitmap *rows = m_pScreenDev->getBitmap();
    if (!rows || !MakePageBitmap(*rows)) {
        m_hMemDC.SelectBitmap(nullptr);
        return false;
    }
    m_nBmpWidth = rows->getWidth();
    m_nBmpHeight = rows->getHeight();
    if (m_PageBudget.WasCutShort())
        MarkIncomplete(m_hMemDC, m_nBmpWidth, m_nBmpHeight);
    return true;
}

// A page Poppler cannot build shows as white paper of the size the layout gave it, never as
// the picture the device still holds from another page.
bool CPdfEngine::BlankPage(int page) {
    const float zoom = ScreenZoom();
    const int w = Scaled(GetPageWidth(page), zoom), h = Scaled(GetPageHeight(page), zoom);
    if (w > 0 && h > 0) {
        std::unique_ptr<platform::Bitmap> white = WhiteBitmap(w, h);
        if (!white)
            return false;
        m_hMemDC.SelectBitmap(std::move(white));
    }
    m_nBmpWidth = std::max(w, 0);
    m_nBmpHeight = std::max(h, 0);
    return true;
}

int CPdfEngine::SetDeviceScale(float scale) {
    if (!(scale >= kMinDeviceScale && scale <= kMaxDeviceScale))
        return -1;
    if (scale != m_fDeviceScale)
        m_bRedraw = 1;
    m_fDeviceScale = scale;
    return 0;
}

// The fonts stay: a window shown again draws its page without loading them anew. Glyph
// pictures, quick to make again from the fonts, go.
void CPdfEngine::ReleasePageMemory() {
    m_hMemDC.SelectBitmap(nullptr);
    m_nBmpWidth = m_nBmpHeight = 0;
    m_bRedraw = 1;
    if (m_pScreenDev) {
        delete m_pScreenDev->takeBitmap(); // a 1 x 1 bitmap takes its place until the next page
        static_cast<CScreenDevice &>(*m_pScreenDev).ReleaseGlyphs();
    }
    m_pRowBuf.reset();
    m_nRowBufSize = 0;
}

// Watermarks are drawn from the context's origin, not from (x, y).
int CPdfEngine::DrawWaterMark(platform::DeviceContext &dc, float zoom, int rotate, int w, int h,
                              int mode) {
    return DrawWaterMarks(m_WaterMarkArr, dc, zoom, rotate, w, h, mode);
}

int CPdfEngine::DrawPage(platform::DeviceContext &dc, int page, int x, int y) {
    if (!HasPage(page))
        return -1;
    if (m_bRedraw) {
        // A failed render leaves the redraw pending, so the next call tries again.
        if (!RenderPage(page))
            return -1;
    } else {
        // The held picture is copied again whatever page it shows; the frame follows this page.
        m_nBmpWidth = Scaled(GetPageWidth(page), ScreenZoom());
        m_nBmpHeight = Scaled(GetPageHeight(page), ScreenZoom());
    }
    const int w = m_nBmpWidth, h = m_nBmpHeight;
    const int t = PdfFrameThickness(m_fDeviceScale);
    if (const platform::Bitmap *held = m_hMemDC.GetBitmap())
        dc.BitBlt(x + kBorder * t, y + kBorder * t, w, h, *held, 0, 0);
    DrawWaterMark(dc, ScreenZoom(), m_nRotate, w, h, CWaterMark::kOnScreen);
    DrawFrame(dc, x, y, w, h, t);
    m_bRedraw = 0;
    return 0;
}

std::unique_ptr<platform::Bitmap> CPdfEngine::GetRectBitmap(int page, int x, int y, int width,
                                                            int height) {
    const bool wholePage = width < 0 || height < 0;
    if (!HasPage(page) || (!wholePage && (width == 0 || height == 0)))
        return nullptr;
    if (!DrawOnScreenDevice(page, {x, y, width, height}, m_fZoom) || m_PageBudget.WasStopped())
        return nullptr;
    SplashBitmap *rows = m_pScreenDev->getBitmap();
    // Splash falls back to a 1 x 1 bitmap when the slice's memory cannot be had.
    if (!rows || (!wholePage && (rows->getWidth() != width || rows->getHeight() != height)))
        return nullptr;
    return BitmapFromSplash(*rows);
}
