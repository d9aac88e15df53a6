// Page sizes with the page's own and the view's rotation, and the continuous layout.

#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

struct Size {
    int w, h;
    friend bool operator==(const Size &, const Size &) = default;
};

Size PageSize(PDFHANDLE h, int page) {
    return {PdfGetPageWidth(h, page), PdfGetPageHeight(h, page)};
}

} // namespace

TEST(Geometry, PageSizesFollowPageRotationCropBoxAndTruncation) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    ASSERT_EQ(PdfGetPageCount(h), 5);
    const Size expected[] = {{612, 792}, {595, 841}, {792, 612}, {300, 400}, {100, 200}};
    for (int p = 1; p <= 5; ++p)
        EXPECT_EQ(PageSize(h, p), expected[p - 1]) << "page " << p;
    for (int bad : {0, -1, 6})
        EXPECT_EQ(PageSize(h, bad), (Size{-1, -1})) << bad;
}

TEST(Geometry, ViewRotationTurnsInQuarterStepsOnly) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    EXPECT_EQ(PdfGetRotation(h), 0);
    const struct {
        int delta;
        Size page1;
        int rotation;
    } steps[] = {{90, {792, 612}, 90},   {-90, {612, 792}, 0},  {-90, {792, 612}, 270},
                 {180, {792, 612}, 270}, {45, {792, 612}, 270}, {-90, {612, 792}, 180},
                 {-90, {792, 612}, 90},  {90, {612, 792}, 180}};
    for (const auto &s : steps) {
        EXPECT_EQ(PdfRotate(h, s.delta), 1);
        EXPECT_EQ(PageSize(h, 1), s.page1) << "after " << s.delta;
        EXPECT_EQ(PdfGetRotation(h), s.rotation) << "after " << s.delta;
    }
}

TEST(Geometry, TwoHundredPointPagesLayOutWithTenPixelGaps) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    EXPECT_EQ(PdfGetPageTop(h, 1), 10);
    EXPECT_EQ(PdfGetPageTop(h, 2), 120);
    EXPECT_EQ(PdfGetPageTop(h, 3), 230);
    int w = 0, ht = 0;
    ASSERT_EQ(PdfGetDocExtent(h, &w, &ht), 0);
    EXPECT_EQ(w, 120);
    EXPECT_EQ(ht, 230);

    const struct {
        int top, bottom;
        int first, last, current; // -7: left untouched
    } ranges[] = {
        {20, 100, 1, 1, 1},                           // page 1 covers the range
        {100, 130, 1, 2, 2},                          // both pages' edges fall inside
        {112, 118, -7, -7, 2},                        // the gap between them: nothing written
        {0, 5, -7, -7, 2},                            // above the first page
        {0, 500, 1, 2, 2},     {500, 600, -7, -7, 2}, // beyond the layout
    };
    for (const auto &r : ranges) {
        int first = -7, last = -7;
        EXPECT_EQ(PdfGetVisibleRange(h, r.top, r.bottom, &first, &last), 0);
        EXPECT_EQ(first, r.first) << r.top << ".." << r.bottom;
        EXPECT_EQ(last, r.last) << r.top << ".." << r.bottom;
        EXPECT_EQ(PdfGetCurrentPage(h), r.current) << r.top << ".." << r.bottom;
    }
}

TEST(Geometry, ZoomScalesTheLayoutWithTruncation) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    ASSERT_EQ(PdfSetZoom(h, 1.5f), 0);
    // Heights 792, 841, 612, 400, 200 at 1.5: 1188, 1261 (1261.5), 918, 600, 300.
    EXPECT_EQ(PdfGetPageTop(h, 2), 20 + 1188);
    EXPECT_EQ(PdfGetPageTop(h, 3), 30 + 1188 + 1261);
    int w = 0, ht = 0;
    ASSERT_EQ(PdfGetDocExtent(h, &w, &ht), 0);
    EXPECT_EQ(w, static_cast<int>(792 * 1.5 + 20)); // page 3 is the widest
    EXPECT_EQ(ht, 1188 + 1261 + 918 + 600 + 300 + 60);
}

TEST(Geometry, PageLeftCentresWithATenPixelMinimum) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0); // page 1 is 612 wide
    const struct {
        float zoom;
        int width, left;
    } cases[] = {
        {1.0f, 1000, 194}, {1.0f, 600, 10}, {1.0f, 632, 10}, {1.0f, 634, 11}, {2.0f, 1300, 38}};
    for (const auto &c : cases) {
        ASSERT_EQ(PdfSetZoom(h, c.zoom), 0);
        EXPECT_EQ(PdfGetPageLeft(h, 1, c.width), c.left) << c.zoom << " " << c.width;
    }
}

TEST(Geometry, GoToPageAcceptsOnlyExistingPagesAndStateSurvivesReopen) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    EXPECT_EQ(PdfGoToPage(h, 4), 0);
    EXPECT_EQ(PdfGoToPage(h, 6), -1);
    EXPECT_EQ(PdfGoToPage(h, 0), -1);
    EXPECT_EQ(PdfGetCurrentPage(h), 4);
    ASSERT_EQ(PdfSetZoom(h, 2.0f), 0);
    ASSERT_EQ(PdfRotate(h, 90), 1);
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    EXPECT_EQ(PdfGetCurrentPage(h), 4);
    EXPECT_EQ(PdfGetZoom(h), 2.0f);
    EXPECT_EQ(PdfGetPageTop(h, 2), 20 + 200); // rotated 100x100 pages at zoom 2
}
