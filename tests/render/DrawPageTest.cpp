// PdfDrawPage: the page, its frame and shadow laid out pixel by pixel, the widened device
// bitmap, the held picture reused without a redraw, and the row buffer.

#include "engine/CPdfEngine.h"
#include "engine/GlyphCachingDevice.h"
#include "tests/support/EngineHandle.h"

#include <SplashOutputDev.h>
#include <gtest/gtest.h>

#include <limits>
#include <optional>

using platform::Rgb;
using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

constexpr Rgb kGrey{192, 192, 192};

// What the frame puts at (px, py) for a w x h page drawn at (0, 0) with frame lines t pixels
// thick; nothing inside the page.
std::optional<Rgb> FramePixel(int px, int py, int w, int h, int t = 1) {
    const bool inPage = px >= t && px < w + t && py >= t && py < h + t;
    if (inPage)
        return std::nullopt;
    const bool onBorder = px < w + 2 * t && py < h + 2 * t;
    const bool onShadow = (px >= w + 2 * t && py >= 2 * t) || (py >= h + 2 * t && px >= 2 * t);
    if (onBorder || onShadow)
        return platform::kBlack;
    // Of the two corners the shadow leaves, the grey outline takes the outer part; the inner
    // part keeps what the context held (white here).
    const bool onOutline = px < t || py < t || px >= w + 3 * t || py >= h + 3 * t;
    return onOutline ? kGrey : platform::kWhite;
}

struct Drawn {
    platform::DeviceContext dc;
    int w, h;
};

// Renders a page at (x, y) into a context with a white margin beyond the drawn area.
Drawn Draw(PDFHANDLE h, int page, int x = 0, int y = 0) {
    const float zoom = PdfGetZoom(h) * h->m_fDeviceScale;
    const int margin = 4 * PdfFrameThickness(h->m_fDeviceScale) + 8;
    Drawn d{
        platform::DeviceContext(x + static_cast<int>(PdfGetPageWidth(h, page) * zoom) + margin,
                                y + static_cast<int>(PdfGetPageHeight(h, page) * zoom) + margin),
        0, 0};
    PdfSetRedraw(h, 1);
    EXPECT_EQ(PdfDrawPage(h, &d.dc, page, x, y), 0);
    d.w = h->m_nBmpWidth, d.h = h->m_nBmpHeight;
    return d;
}

void ExpectFrame(const Drawn &d, int t = 1) {
    int wrong = 0;
    for (int py = 0; py < d.dc.GetHeight(); ++py) {
        for (int px = 0; px < d.dc.GetWidth(); ++px) {
            const bool inside = px < d.w + 4 * t && py < d.h + 4 * t;
            const std::optional<Rgb> want =
                inside ? FramePixel(px, py, d.w, d.h, t) : platform::kWhite;
            if (want && d.dc.GetPixel(px, py) != *want && ++wrong < 5)
                ADD_FAILURE() << "pixel " << px << "," << py << " of a " << d.w << "x" << d.h
                              << " page";
        }
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace

TEST(DrawPage, FrameAndShadowSurroundThePageExactly) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    // 612 needs no widening, 613 does (pixels 613..615 of the held rows), 595 too.
    const struct {
        float zoom;
        int width, heldWidth;
    } cases[] = {{6.12f, 612, 612}, {6.13f, 613, 616}, {5.95f, 595, 596}, {1.0f, 100, 100}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.zoom);
        ASSERT_EQ(PdfSetZoom(h, c.zoom), 0);
        const Drawn d = Draw(h, 1);
        EXPECT_EQ(d.w, c.width);
        ExpectFrame(d);
        const platform::Bitmap &held = *h.Get()->m_hMemDC.GetBitmap();
        ASSERT_EQ(held.GetWidth(), c.heldWidth);
        for (int y = 0; y < held.GetHeight(); ++y)
            for (int x = c.width; x < c.heldWidth; ++x)
                ASSERT_EQ(held.GetPixel(x, y), platform::kWhite) << x << "," << y;
        // The label "Page 1" is drawn: the interior is the held picture, not blank.
        int inked = 0;
        for (int y = 0; y < d.h; ++y)
            for (int x = 0; x < d.w; ++x)
                inked += *d.dc.GetPixel(x + 1, y + 1) != platform::kWhite;
        EXPECT_GT(inked, 0);
    }
}

TEST(DrawPage, OffsetMovesPageAndBlackFrameButNotTheGreyOutline) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    const Drawn d = Draw(h, 1, 30, 20);
    const int w = d.w, ht = d.h;
    EXPECT_EQ(d.dc.GetPixel(30, 20), platform::kBlack);                  // border corner
    EXPECT_EQ(d.dc.GetPixel(30 + w + 3, 20 + ht + 3), platform::kBlack); // shadow corner
    EXPECT_EQ(d.dc.GetPixel(30 + w + 2, 20), platform::kWhite);          // above the shadow
    EXPECT_EQ(d.dc.GetPixel(0, 0), kGrey);                               // outline at origin
    EXPECT_EQ(d.dc.GetPixel(w + 3, ht + 3), kGrey);
    EXPECT_EQ(d.dc.GetPixel(1, 1), platform::kWhite);
}

TEST(DrawPage, LetterPageAndItsQuarterTurn) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    Drawn d = Draw(h, 1);
    EXPECT_EQ(d.w, 612);
    EXPECT_EQ(d.h, 792);
    ExpectFrame(d); // the drawn area is 616 x 796
    PdfRotate(h, 90);
    d = Draw(h, 1);
    EXPECT_EQ(d.w, 792);
    EXPECT_EQ(d.h, 612);
    ExpectFrame(d);
}

TEST(DrawPage, WithoutRedrawTheHeldPictureServesAnyPage) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    const Drawn page3 = Draw(h, 3);
    platform::DeviceContext again(page3.dc.GetWidth(), page3.dc.GetHeight());
    ASSERT_EQ(PdfDrawPage(h, &again, 5, 0, 0), 0); // no redraw pending: page 3's picture
    const Drawn page5 = Draw(h, 5);
    int differsFrom5 = 0;
    for (int y = 0; y < again.GetHeight(); ++y) {
        for (int x = 0; x < again.GetWidth(); ++x) {
            ASSERT_EQ(again.GetPixel(x, y), page3.dc.GetPixel(x, y)) << x << "," << y;
            differsFrom5 += again.GetPixel(x, y) != page5.dc.GetPixel(x, y);
        }
    }
    EXPECT_GT(differsFrom5, 0); // "Page 3" is not "Page 5"
}

// A window that is not shown gives its pictures back; the next draw, redraw asked or not,
// renders the page it is asked for, pixel for pixel as before.
TEST(DrawPage, AfterReleasingPageMemoryThePageIsDrawnAnew) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("no-outline.pdf")), 0);
    ASSERT_EQ(PdfSetZoom(h, 1.5f), 0); // 918 wide: rows widened through the buffer
    const Drawn page3 = Draw(h, 3);
    ASSERT_NE(h.Get()->m_pRowBuf, nullptr);
    const auto &screen = static_cast<CGlyphCachingDevice &>(*h.Get()->m_pScreenDev);
    ASSERT_GT(screen.Glyphs().Count(), 0u);
    EXPECT_EQ(PdfReleasePageMemory(h), 0);
    EXPECT_EQ(h.Get()->m_hMemDC.GetBitmap(), nullptr);
    EXPECT_EQ(h.Get()->m_pRowBuf, nullptr);
    EXPECT_EQ(h.Get()->m_pScreenDev->getBitmapWidth(), 1);
    EXPECT_EQ(screen.Glyphs().Count(), 0u);

    platform::DeviceContext again(page3.dc.GetWidth(), page3.dc.GetHeight());
    ASSERT_EQ(PdfDrawPage(h, &again, 3, 0, 0), 0); // no redraw asked for
    for (int y = 0; y < again.GetHeight(); ++y)
        for (int x = 0; x < again.GetWidth(); ++x)
            ASSERT_EQ(again.GetPixel(x, y), page3.dc.GetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(PdfReleasePageMemory(nullptr), -1);
}

TEST(DrawPage, WithoutRedrawTheFrameFollowsThePageAskedFor) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    Draw(h, 3); // 792 x 612 after its own quarter turn
    Drawn d{platform::DeviceContext(120, 220), 0, 0};
    ASSERT_EQ(PdfDrawPage(h, &d.dc, 5, 0, 0), 0); // 200 x 100 turned: 100 x 200
    d.w = 100, d.h = 200;
    ExpectFrame(d);
}

TEST(DrawPage, RowBufferGrowsOnlyWhenAPageNeedsMore) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    CPdfEngine &e = *h.Get();
    ASSERT_EQ(PdfSetZoom(h, 4.0f), 0); // 400 wide: rows used as they are
    Draw(h, 1);
    EXPECT_EQ(e.m_pRowBuf, nullptr);
    ASSERT_EQ(PdfSetZoom(h, 6.13f), 0); // 613 wide: widened through the buffer
    Draw(h, 1);
    const std::uint8_t *buffer = e.m_pRowBuf.get();
    const std::size_t size = e.m_nRowBufSize;
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(size, (613u + 3) * 613 * 3 + 1);
    ASSERT_EQ(PdfSetZoom(h, 3.01f), 0); // 301 wide: smaller, the buffer is reused
    Draw(h, 1);
    EXPECT_EQ(e.m_pRowBuf.get(), buffer);
    EXPECT_EQ(e.m_nRowBufSize, size);
    ASSERT_EQ(PdfSetZoom(h, 7.01f), 0); // 701 wide: larger, the buffer grows
    Draw(h, 1);
    EXPECT_EQ(e.m_nRowBufSize, (701u + 3) * 701 * 3 + 1);
}

// A screen with two device pixels per layout pixel: the picture is the page at twice the zoom,
// pixel for pixel, and the frame is twice as thick; the layout keeps its own numbers.
TEST(DrawPage, AtADeviceScaleThePageIsDrawnAtZoomTimesScale) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    ASSERT_EQ(PdfSetZoom(h, 2.0f), 0);
    const Drawn twice = Draw(h, 1);
    ASSERT_EQ(PdfSetZoom(h, 1.0f), 0);
    ASSERT_EQ(PdfSetDeviceScale(h, 2.0f), 0);
    const Drawn scaled = Draw(h, 1);
    EXPECT_EQ(scaled.w, 200);
    EXPECT_EQ(scaled.h, 200);
    ExpectFrame(scaled, PdfFrameThickness(2.0f));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(scaled.dc.GetPixel(x + 2, y + 2), twice.dc.GetPixel(x + 1, y + 1))
                << x << "," << y;
    EXPECT_EQ(PdfGetPageWidth(h, 1), 100);
    EXPECT_EQ(PdfGetPageLeft(h, 1, 400), (400 - 100) / 2);
    int width = 0;
    PdfGetDocExtent(h, &width, nullptr);
    EXPECT_EQ(width, 120);

    // Only a usable scale is taken; the frame is never thinner than one pixel.
    for (float refused : {0.0f, -1.0f, 0.2f, 9.0f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(PdfSetDeviceScale(h, refused), -1) << refused;
    ASSERT_EQ(PdfSetDeviceScale(h, 1.5f), 0);
    const Drawn oneAndHalf = Draw(h, 1);
    EXPECT_EQ(oneAndHalf.w, 150);
    ExpectFrame(oneAndHalf, PdfFrameThickness(1.5f));
    EXPECT_EQ(PdfFrameThickness(1.5f), 1);
    EXPECT_EQ(PdfFrameThickness(0.5f), 1);
    EXPECT_EQ(PdfSetDeviceScale(nullptr, 2.0f), -1);
}

TEST(DrawPage, NoDocumentOrNoSuchPageDrawsNothing) {
    CEngineHandle h;
    platform::DeviceContext dc(50, 50);
    EXPECT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), -1);
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    EXPECT_EQ(PdfDrawPage(h, &dc, 3, 0, 0), -1);
    EXPECT_EQ(PdfDrawPage(h, &dc, 0, 0, 0), -1);
    EXPECT_EQ(PdfDrawPage(h, nullptr, 1, 0, 0), -1);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(dc.GetPixel(x, y), platform::kWhite);
}
