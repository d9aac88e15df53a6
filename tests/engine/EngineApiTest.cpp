// The call interface's fixed answers: a null handle and a fresh engine without a document.

#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"

#include <gtest/gtest.h>

#include <limits>

TEST(EngineApi, NullHandleGivesTheFixedAnswers) {
    int w = 7, h = 7, first = 7, last = 7, len = 0;
    char16_t buf[4] = {};
    platform::DeviceContext dc(10, 10);
    EXPECT_EQ(PdfSetResourceDir(nullptr, "rc"), 0);
    EXPECT_EQ(PdfOpen(nullptr, "x.pdf", nullptr, nullptr), -1);
    EXPECT_EQ(PdfIsOpen(nullptr), 0);
    EXPECT_EQ(PdfGetPageCount(nullptr), -1);
    EXPECT_EQ(PdfGetPageWidth(nullptr, 1), -1);
    EXPECT_EQ(PdfGetPageHeight(nullptr, 1), -1);
    EXPECT_EQ(PdfGetZoom(nullptr), -1.0f);
    EXPECT_EQ(PdfSetZoom(nullptr, 1.0f), -1);
    EXPECT_EQ(PdfRotate(nullptr, 90), -1);
    EXPECT_EQ(PdfGetRotation(nullptr), -1);
    EXPECT_EQ(PdfGoToPage(nullptr, 1), -1);
    EXPECT_EQ(PdfGetCurrentPage(nullptr), -1);
    EXPECT_EQ(PdfGetDocExtent(nullptr, &w, &h), -1);
    EXPECT_EQ(PdfGetPageLeft(nullptr, 1, 100), -1);
    EXPECT_EQ(PdfGetPageTop(nullptr, 1), -1);
    EXPECT_EQ(PdfGetVisibleRange(nullptr, 0, 10, &first, &last), -1);
    EXPECT_EQ(PdfGetLinkTarget(nullptr, 1), -1);
    EXPECT_EQ(PdfCanCopy(nullptr), 0);
    EXPECT_EQ(PdfSetRedraw(nullptr, 1), -1);
    EXPECT_EQ(PdfDrawPage(nullptr, &dc, 1, 0, 0), -1);
    EXPECT_EQ(PdfGetRectText(nullptr, 1, 0, 0, 10, 10, buf, &len, 4), 0);
    EXPECT_EQ(PdfGetRectBitmap(nullptr, &dc, 1, 0, 0, 5, 5), nullptr);
    EXPECT_EQ(PdfPrint(nullptr, "", 0, 3, 0, nullptr), -1);
    EXPECT_EQ(PdfSaveAs(nullptr, "out.pdf", 0), -1);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(first, 7);
    PdfDestroy(nullptr);
}

TEST(EngineApi, FreshEngineHasNoDocument) {
    PDFHANDLE h = PdfCreate();
    ASSERT_NE(h, nullptr);
    int w = 0, ht = 0;
    EXPECT_EQ(PdfIsOpen(h), 0);
    EXPECT_EQ(PdfGetPageCount(h), -1);
    EXPECT_EQ(PdfGetZoom(h), 1.0f);
    EXPECT_EQ(PdfGetCurrentPage(h), 1);
    EXPECT_EQ(PdfGetDocExtent(h, &w, &ht), -1);
    EXPECT_EQ(PdfGetPageWidth(h, 1), -1);
    EXPECT_EQ(PdfGoToPage(h, 1), -1);
    EXPECT_EQ(PdfCanCopy(h), 0);
    EXPECT_EQ(PdfGetLinkTarget(h, 1), 0);
    EXPECT_EQ(PdfRotate(h, 90), 1);
    PdfDestroy(h);
}

TEST(EngineApi, ZoomLimitsAreInclusive) {
    PDFHANDLE h = PdfCreate();
    const struct {
        float zoom;
        int result;
    } cases[] = {{8.0f, 0}, {0.125f, 0}, {8.01f, -3}, {0.12f, -3}, {-1.0f, -3}, {1.5f, 0}};
    for (const auto &c : cases) {
        const float before = PdfGetZoom(h);
        EXPECT_EQ(PdfSetZoom(h, c.zoom), c.result) << c.zoom;
        EXPECT_EQ(PdfGetZoom(h), c.result == 0 ? c.zoom : before) << c.zoom;
    }
    EXPECT_EQ(PdfSetZoom(h, std::numeric_limits<float>::quiet_NaN()), -3);
    PdfDestroy(h);
}
