// PdfGetRectBitmap: a slice of the page as displayed, widened like every device bitmap.

#include "engine/CPdfEngine.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <memory>

using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

std::unique_ptr<platform::Bitmap> Slice(PDFHANDLE h, int x, int y, int w, int ht) {
    platform::DeviceContext dc(1, 1);
    return std::unique_ptr<platform::Bitmap>(PdfGetRectBitmap(h, &dc, 1, x, y, w, ht));
}

// The picture PdfDrawPage holds for page 1: the page as displayed.
const platform::Bitmap &Displayed(PDFHANDLE h) {
    platform::DeviceContext dc(1, 1);
    PdfSetRedraw(h, 1);
    EXPECT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
    return *h->m_hMemDC.GetBitmap();
}

} // namespace

TEST(RectBitmap, SliceIsThatPartOfTheDisplayedPage) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    ASSERT_EQ(PdfSetZoom(h, 1.5f), 0);
    const struct { int width, widened; } cases[] = {{101, 104}, {100, 100}, {1, 4}, {103, 104}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.width);
        // "Hello World" starts at 108, 95 at this zoom.
        const auto slice = Slice(h, 100, 90, c.width, 50);
        ASSERT_NE(slice, nullptr);
        EXPECT_EQ(slice->GetWidth(), c.widened);
        EXPECT_EQ(slice->GetHeight(), 50);
        const platform::Bitmap &page = Displayed(h);
        int inked = 0;
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < c.widened; ++x) {
                const auto want = x < c.width ? page.GetPixel(100 + x, 90 + y) : platform::kWhite;
                ASSERT_EQ(slice->GetPixel(x, y), want) << x << "," << y;
                inked += want != platform::kWhite;
            }
        }
        if (c.width > 50) {
            EXPECT_GT(inked, 0);
        }
    }
}

TEST(RectBitmap, NegativeSizeGivesTheWholePageAsDisplayed) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    ASSERT_EQ(PdfSetZoom(h, 1.5f), 0);
    PdfRotate(h, 90);
    const auto whole = Slice(h, 0, 0, -1, -1);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->GetWidth(), 1188);
    EXPECT_EQ(whole->GetHeight(), 918);
    const platform::Bitmap &page = Displayed(h);
    ASSERT_EQ(page.GetWidth(), whole->GetWidth());
    for (int y = 0; y < whole->GetHeight(); ++y)
        for (int x = 0; x < whole->GetWidth(); ++x)
            ASSERT_EQ(whole->GetPixel(x, y), page.GetPixel(x, y)) << x << "," << y;
}

TEST(RectBitmap, NothingToCopyGivesNoBitmap) {
    CEngineHandle h;
    EXPECT_EQ(Slice(h, 0, 0, 10, 10), nullptr); // no document
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    EXPECT_EQ(Slice(h, 0, 0, 0, 10), nullptr);
    EXPECT_EQ(Slice(h, 0, 0, 10, 0), nullptr);
    platform::DeviceContext dc(1, 1);
    EXPECT_EQ(PdfGetRectBitmap(h, &dc, 2, 0, 0, 10, 10), nullptr);
}
