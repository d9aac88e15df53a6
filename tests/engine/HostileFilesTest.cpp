// Crafted files (tests/fixtures/hostile.py) that once made the engine hang, freeze other
// windows, overflow its arithmetic or run out of memory: each opens and draws within bounds,
// with a clear result.

#include "engine/CPdfEngine.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <future>
#include <stdexcept>
#include <thread>
#include <utility>

using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

std::string Hostile(const std::string &name) {
    return Fixture("hostile/" + name + ".pdf");
}

platform::Rgb PixelOf(const platform::DeviceContext &dc, int x, int y) {
    return dc.GetPixel(x, y).value_or(platform::Rgb{1, 2, 3});
}

} // namespace

TEST(HostileFiles, SharedSubtreesAreReadOncePerNode) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Hostile("shared-subtree")), 0);
    ASSERT_EQ(PdfGetPageCount(h), 1);
    EXPECT_EQ(PdfGetPageWidth(h, 1), 200);
    platform::DeviceContext dc(210, 210);
    EXPECT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
}

TEST(HostileFiles, AbsurdPageBoxesGiveBoundedSizesAndAFailedPage) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Hostile("huge-box")), 0);
    const int w = PdfGetPageWidth(h, 1), ht = PdfGetPageHeight(h, 1);
    EXPECT_GT(w, 14400);
    EXPECT_EQ(w, ht);
    int extentW = 0, extentH = 0;
    ASSERT_EQ(PdfSetZoom(h, 8.0f), 0);
    ASSERT_EQ(PdfGetDocExtent(h, &extentW, &extentH), 0);
    EXPECT_GT(extentW, w);
    EXPECT_GT(extentH, ht);
    // Far too large to draw: the page fails, and nothing is attempted.
    platform::DeviceContext dc(100, 100);
    EXPECT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), -1);
    EXPECT_EQ(PdfGetRectBitmap(h, &dc, 1, 0, 0, -1, -1), nullptr);
    char16_t text[16] = {};
    int length = 0;
    EXPECT_EQ(PdfGetRectText(h, 1, 0, 0, 1e10, 1e10, text, &length, 16), 1);
}

// 20000 pages of 14400 points are taller at zoom 8 than an int can count: the layout stops
// growing at its bound instead of wrapping to negative positions.
TEST(HostileFiles, LayoutOfAVeryLongDocumentNeverWraps) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Hostile("long-document")), 0);
    const int pages = PdfGetPageCount(h);
    ASSERT_EQ(pages, 20000);
    ASSERT_EQ(PdfSetZoom(h, 8.0f), 0);
    int w = 0, ht = 0;
    ASSERT_EQ(PdfGetDocExtent(h, &w, &ht), 0);
    EXPECT_GT(ht, INT_MAX / 4);
    int previous = 0;
    for (int p : {1, 2, 9000, 18000, pages, pages + 1, INT_MAX}) {
        const int top = PdfGetPageTop(h, p);
        EXPECT_GE(top, previous) << "page " << p;
        EXPECT_LE(top, ht) << "page " << p;
        previous = top;
    }
    int first = 0, last = 0;
    EXPECT_EQ(PdfGetVisibleRange(h, ht - 100, ht, &first, &last), 0);
    EXPECT_GE(first, 1);
    EXPECT_LE(last, pages);
    EXPECT_EQ(PdfGetPageLeft(h, 1, INT_MIN), 10);
}

// One embedded font file that inflates to 400 MiB, shared by four GBK-named fonts: it is read
// once, no further than the size limit, and the fonts are drawn with their substitute.
TEST(HostileFiles, AnInflatingFontFileIsReadOnceAndNoFurtherThanTheLimit) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Hostile("font-bomb")), 0);
    platform::DeviceContext dc(620, 800);
    ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
    char16_t text[64] = {};
    int length = 0;
    ASSERT_EQ(PdfGetRectText(h, 1, 0, 0, 612, 792, text, &length, 64), 1);
    EXPECT_NE(std::u16string(text, length).find(u"中文"), std::u16string::npos);
}

// Pages whose drawing multiplies through forms (64^6 fills), tiling patterns (patterns filled
// with patterns, or 48 million cells each drawing the forms) or Type3 glyphs that show glyphs
// (64^5 fills): the time runs out, the page shows what was drawn inside a red border, and the
// draw ends soon after. Reading the text of the page of forms stops as well.
TEST(HostileFiles, APageOutOfTimeIsCutShortAndMarked) {
    // Far below the third of a second the patterns filled with patterns take whole on a fast
    // machine: with a budget near that the page would sometimes be finished, not cut.
    constexpr std::chrono::milliseconds kBudget(30);
    for (const char *name : {"slow-page", "pattern-slow-cell", "pattern-nest", "type3-fanout"}) {
        CEngineHandle h;
        ASSERT_EQ(h.Open(Hostile(name)), 0) << name;
        h.Get()->m_PageBudget.m_Time = kBudget;
        platform::DeviceContext dc(620, 800);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0) << name;
        // Not a speed measure: drawing that looked at no budget went on for minutes or days.
        EXPECT_LT(std::chrono::steady_clock::now() - start, kBudget + std::chrono::seconds(10))
            << name;
        EXPECT_EQ(PixelOf(dc, 1, 1), (platform::Rgb{220, 0, 0})) << name;
        EXPECT_EQ(PixelOf(dc, 300, 3), (platform::Rgb{220, 0, 0})) << name;
    }
    CEngineHandle h;
    ASSERT_EQ(h.Open(Hostile("slow-page")), 0);
    h.Get()->m_PageBudget.m_Time = kBudget;
    platform::DeviceContext dc(620, 800);
    ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
    EXPECT_EQ(PixelOf(dc, 1 + 612 / 2, 1 + 792 / 2), platform::kWhite);
    char16_t text[16] = {};
    int length = 0;
    EXPECT_EQ(PdfGetRectText(h, 1, 0, 0, 612, 792, text, &length, 16), 1);
    // An ordinary page afterwards carries no mark.
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
    EXPECT_EQ(PixelOf(dc, 2, 2), platform::kWhite);
}

// 48 million cells a tenth of a point wide, each with its lower-left quarter painted (blue, or
// for the uncoloured pattern the fill's red), are drawn whole and unmarked: every pixel of the
// page is a quarter painted, the view turned or not.
TEST(HostileFiles, MillionsOfCellsSmallerThanAPixelShowTheirShareOfEveryPixel) {
    const struct {
        const char *name;
        platform::Rgb quarter;
    } cases[] = {{"pattern-cells", {191, 191, 255}}, {"pattern-tint", {255, 191, 191}}};
    for (const auto &c : cases) {
        CEngineHandle h;
        ASSERT_EQ(h.Open(Hostile(c.name)), 0) << c.name;
        for (int turn : {0, 90}) {
            ASSERT_EQ(PdfRotate(h, turn), 1);
            ASSERT_EQ(PdfGoToPage(h, 1), 0); // the page is drawn again, not copied as it was held
            const bool upright = PdfGetRotation(h) == 0;
            const int w = upright ? 612 : 792, ht = upright ? 792 : 612;
            platform::DeviceContext dc(800, 800);
            ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
            EXPECT_FALSE(h.Get()->m_PageBudget.WasCutShort()) << c.name;
            for (const auto &[x, y] :
                 {std::pair{0, 0}, {w / 2, ht / 3}, {w - 1, ht - 1}, {7, ht - 2}}) {
                EXPECT_EQ(PixelOf(dc, 1 + x, 1 + y), c.quarter)
                    << c.name << " " << turn << ": " << x << ", " << y;
            }
        }
    }
}

// Cells a quarter of a pixel wide and four pixels tall (8.4 million of them), each with its
// lower-left quarter blue: the two pixel rows along the bottom of every cell are half blue and
// the two above them white, across the page; turned a quarter clockwise, the same holds for
// the pixel columns from the left.
TEST(HostileFiles, CellsTallerThanAPixelShowWhereTheyFall) {
    constexpr platform::Rgb kHalfBlue{127, 127, 255};
    constexpr int kSide = 2900;
    CEngineHandle h;
    ASSERT_EQ(h.Open(Hostile("pattern-rows")), 0);
    platform::DeviceContext dc(kSide + 10, kSide + 10);
    for (int turn : {0, 90}) {
        ASSERT_EQ(PdfRotate(h, turn), 1);
        ASSERT_EQ(PdfGoToPage(h, 1), 0);
        ASSERT_EQ(PdfDrawPage(h, &dc, 1, 0, 0), 0);
        EXPECT_FALSE(h.Get()->m_PageBudget.WasCutShort());
        for (int i : {0, 1, 2, 3, 4, 1449, 1450, kSide - 3, kSide - 2, kSide - 1}) {
            const int fromBottom = turn == 0 ? kSide - 1 - i : i;
            const int x = turn == 0 ? 700 : i, y = turn == 0 ? i : 700;
            EXPECT_EQ(PixelOf(dc, 1 + x, 1 + y), fromBottom % 4 < 2 ? kHalfBlue : platform::kWhite)
                << turn << ": " << x << ", " << y;
        }
    }
}

// Closing the window of a page that would draw for ever returns at once, and other windows
// open and close meanwhile without waiting for that page.
TEST(HostileFiles, ASlowPageHoldsNoOtherWindowAndClosesAtOnce) {
    PDFHANDLE slow = PdfCreate();
    PdfSetResourceDir(slow, testsupport::ResourceDir().c_str());
    testsupport::CRecordingTree tree;
    ASSERT_EQ(PdfOpen(slow, Hostile("slow-page").c_str(), nullptr, &tree), 0);
    slow->m_PageBudget.m_Time = std::chrono::hours(1);
    std::atomic<bool> drawing = false;
    auto draw = std::async(std::launch::async, [&] {
        platform::DeviceContext dc(620, 800);
        drawing = true;
        return PdfDrawPage(slow, &dc, 1, 0, 0);
    });
    while (!drawing)
        std::this_thread::yield();
    for (int i = 0; i < 3; ++i) {
        CEngineHandle other;
        ASSERT_EQ(other.Open(Fixture("two-100pt.pdf")), 0);
        platform::DeviceContext dc(110, 110);
        EXPECT_EQ(PdfDrawPage(other, &dc, 1, 0, 0), 0);
    }
    EXPECT_EQ(draw.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    PdfDestroy(slow);
    EXPECT_EQ(draw.wait_for(std::chrono::seconds(60)), std::future_status::ready);
}

// A cancelled page stops where it is and is no picture: the call fails and the next draw,
// once the cancel is lifted, draws the page again.
TEST(HostileFiles, ACancelledPageStopsAtOnceAndIsNotShown) {
    CEngineHandle slow;
    ASSERT_EQ(slow.Open(Hostile("slow-page")), 0);
    slow.Get()->m_PageBudget.m_Time = std::chrono::hours(1);
    std::atomic<bool> drawing = false;
    platform::DeviceContext dc(620, 800);
    auto draw = std::async(std::launch::async, [&] {
        drawing = true;
        return PdfDrawPage(slow, &dc, 1, 0, 0);
    });
    while (!drawing)
        std::this_thread::yield();
    EXPECT_EQ(PdfCancelDraw(slow, 1), 0);
    ASSERT_EQ(draw.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(draw.get(), -1);
    EXPECT_EQ(PdfGetCurrentPage(slow), 1);

    EXPECT_EQ(PdfCancelDraw(slow, 0), 0);
    slow.Get()->m_PageBudget.m_Time = std::chrono::milliseconds(50);
    EXPECT_EQ(PdfDrawPage(slow, &dc, 1, 0, 0), 0);
    EXPECT_EQ(PdfCancelDraw(nullptr, 1), -1);
}

namespace {

// A bookmark tree whose control fails: the failure must not leave the engine as an exception.
class CThrowingTree : public testsupport::CRecordingTree {
public:
    platform::TreeItem InsertItem(const std::string &, platform::TreeItem) override {
        throw std::runtime_error("tree control gone");
    }
};

} // namespace

TEST(HostileFiles, NoExceptionLeavesTheCallInterface) {
    CEngineHandle h;
    CThrowingTree tree;
    ASSERT_EQ(h.Open(Fixture("two-100pt.pdf")), 0);
    EXPECT_EQ(PdfOpen(h, Fixture("outline.pdf").c_str(), nullptr, &tree), -1);
    EXPECT_EQ(PdfIsOpen(h), 0);
    EXPECT_EQ(PdfGetPageCount(h), -1);
    EXPECT_EQ(h.Open(Fixture("outline.pdf")), 0);
}
