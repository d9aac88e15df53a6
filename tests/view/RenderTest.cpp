// The page cache, the render worker and its hand-shake, and the paint that uses them.

#include "tests/support/TestPaths.h"
#include "tests/view/ViewTestSupport.h"
#include "view/CEvent.h"
#include "view/CPagePainter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace view;
using namespace std::chrono_literals;
using testsupport::Fixture;
using viewtest::OpenCore;

namespace {

// Generous: only a hang would reach it.
constexpr auto kLongWait = 20s;

EnginePtr OpenEngine(const std::string &path) {
    EnginePtr engine = MakeEngine();
    PdfSetResourceDir(engine.get(), testsupport::ResourceDir().c_str());
    if (PdfOpen(engine.get(), path.c_str(), nullptr, nullptr) != 0)
        return nullptr;
    return engine;
}

std::vector<int> SlotPages(const CPageCache &cache) {
    std::vector<int> pages;
    for (int slot = 0; slot < CPageCache::kSlotCount; ++slot)
        pages.push_back(cache.SlotInfo(slot).nPage);
    return pages;
}

// Oldest first: slots are filled in turn, the last one filled at LastSlot.
std::vector<int> PagesInFillOrder(const CPageCache &cache) {
    std::vector<int> pages;
    for (int k = 1; k <= CPageCache::kSlotCount; ++k)
        pages.push_back(cache.SlotInfo((cache.LastSlot() + k) % CPageCache::kSlotCount).nPage);
    return pages;
}

} // namespace

TEST(Event, AutoResetKeepsOneSignalForOneWait) {
    CEvent event;
    EXPECT_FALSE(event.Wait(0ms));
    event.Set();
    event.Set();
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_FALSE(event.Wait(0ms));
    CEvent initiallySet(true);
    EXPECT_TRUE(initiallySet.Wait(0ms));
}

TEST(Event, SetOnAnotherThreadWakesTheWait) {
    CEvent ping, pong;
    std::thread other([&] {
        ping.Wait();
        pong.Set();
    });
    ping.Set();
    EXPECT_TRUE(pong.Wait(kLongWait));
    other.join();
}

TEST(PageCache, StartsWithThreeEmptySlotsOfTheInitialSize) {
    CPageCache cache;
    for (int slot = 0; slot < CPageCache::kSlotCount; ++slot) {
        const PageSlot info = cache.SlotInfo(slot);
        EXPECT_EQ(info.nPage, 0);
        EXPECT_EQ(info.nWidth, CPageCache::kInitialSlotSize);
        EXPECT_EQ(info.nHeight, CPageCache::kInitialSlotSize);
    }
    EXPECT_EQ(cache.LastSlot(), -1);
    EXPECT_EQ(cache.CachePage(1), -1); // no engine yet
}

TEST(PageCache, RefusesWhatIsNoPage) {
    CPageCache cache;
    cache.SetEngine(OpenEngine(Fixture("outline.pdf")));
    for (int page : {-1, 0, 7})
        EXPECT_EQ(cache.CachePage(page), -2) << page;
    EXPECT_EQ(cache.LastSlot(), -1);
    EXPECT_EQ(cache.CachePage(6), 0);
    EXPECT_EQ(cache.FindCachedPage(6), 0);
}

// sizes.pdf at 1.0 with the frame: 616x796, 599x845, 796x616, 304x404, 104x204.
TEST(PageCache, SlotsAreReusedInTurnAndOnlyGrowWhileTheZoomStays) {
    const EnginePtr engine = OpenEngine(Fixture("sizes.pdf"));
    CPageCache fresh;
    fresh.SetEngine(engine);
    fresh.CachePage(1);
    EXPECT_EQ(fresh.SlotInfo(0).nWidth, CPageCache::kInitialSlotSize); // fits the first bitmap

    CPageCache cache;
    cache.SetEngine(engine);
    cache.ClearCache();
    for (int page : {1, 2, 3})
        cache.CachePage(page);
    EXPECT_EQ(SlotPages(cache), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(cache.SlotInfo(1).nWidth, 599);
    EXPECT_EQ(cache.SlotInfo(1).nHeight, 845);

    cache.CachePage(2); // cached already: nothing moves
    EXPECT_EQ(cache.LastSlot(), 2);
    cache.CachePage(4); // first in, first out: slot 0, its larger bitmap kept
    EXPECT_EQ(SlotPages(cache), (std::vector<int>{4, 2, 3}));
    EXPECT_EQ(cache.SlotInfo(0).nWidth, 616);
    EXPECT_EQ(cache.SlotInfo(0).nHeight, 796);
    cache.CachePage(1); // wider than slot 1's bitmap: a new one of its own size
    EXPECT_EQ(cache.SlotInfo(1).nWidth, 616);
    EXPECT_EQ(cache.SlotInfo(1).nHeight, 796);

    cache.ClearCache();
    EXPECT_EQ(SlotPages(cache), (std::vector<int>{0, 0, 0}));
    cache.CachePage(5);
    EXPECT_EQ(cache.SlotInfo(2).nWidth, 104);
    EXPECT_EQ(cache.SlotInfo(2).nHeight, 204);
}

TEST(PageCache, ABitmapThatCannotBeMadeIsReportedAndShowsNothing) {
    testsupport::CTempDir dir;
    viewtest::WriteBlankPdf(dir / "huge.pdf", {{14400, 14400}});
    CPageCache cache;
    std::vector<int> codes;
    cache.SetErrorReporter([&](int code) { codes.push_back(code); });
    EXPECT_EQ(cache.CreateDIB24(100000, 100000), nullptr);
    EXPECT_EQ(codes, std::vector<int>{CPageCache::kOutOfMemory});

    cache.SetEngine(OpenEngine(dir / "huge.pdf"));
    cache.ClearCache();
    EXPECT_EQ(cache.CachePage(1), 0);
    EXPECT_EQ(codes.size(), 2u);
    EXPECT_EQ(cache.SlotInfo(0).nWidth, 0); // the next fill tries again
    platform::DeviceContext buffer(50, 50);
    buffer.FillRect(0, 0, 50, 50, CPagePainter::kBackground);
    EXPECT_EQ(cache.DrawCachedPage(1, buffer, 0, 0, 50, 50), 0);
    EXPECT_FALSE(viewtest::ShowsPageAt(buffer, 0, 0, 50, 50));
}

TEST(RenderWorker, RendersWhatIsAskedAndStopsWhenTold) {
    auto cache = std::make_shared<CPageCache>();
    cache->SetEngine(OpenEngine(Fixture("outline.pdf")));
    CRenderWorker worker(cache);
    EXPECT_TRUE(worker.Stop()); // never started
    ASSERT_EQ(worker.Start(2, 1), 0);
    worker.RenderPage(2);
    EXPECT_GE(cache->FindCachedPage(2), 0);
    worker.Request(4, 2);
    worker.RenderPage(5);
    EXPECT_GE(cache->FindCachedPage(5), 0);
    EXPECT_TRUE(worker.Stop(CRenderWorker::kDestroyTimeout));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(worker.Stop());
    ASSERT_EQ(worker.Start(6, 1), 0); // a stopped worker can be started again
    worker.RenderPage(6);
    EXPECT_GE(cache->FindCachedPage(6), 0);
}

// What a worker that could not start leaves: the caller renders the page itself.
TEST(RenderWorker, WithoutAWorkerThePageIsRenderedOnTheCallersThread) {
    auto cache = std::make_shared<CPageCache>();
    cache->SetEngine(OpenEngine(Fixture("outline.pdf")));
    CRenderWorker worker(cache);
    worker.RenderPage(3);
    EXPECT_EQ(cache->FindCachedPage(3), 0);
}

TEST(RenderWorker, APageThatCannotBeCachedDoesNotHoldTheCallerForEver) {
    auto cache = std::make_shared<CPageCache>();
    cache->SetEngine(OpenEngine(Fixture("outline.pdf")));
    CRenderWorker worker(cache);
    ASSERT_EQ(worker.Start(1, 1), 0);
    worker.RenderPage(7); // past the last page
    EXPECT_EQ(cache->FindCachedPage(7), -1);
}

// A worker still inside a page when the destruction wait ends keeps the engine alive; the
// engine goes only after the worker has finished, and waiting for it at exit has a bound.
TEST(RenderWorker, EngineOutlivesAWorkerThatMissedTheTimeOut) {
    testsupport::CTempDir dir;
    viewtest::WriteBlankPdf(dir / "huge.pdf", {{14400, 14400}});
    std::atomic<bool> bDestroyed = false;
    CEvent destroyed, inPage, release;
    EnginePtr engine(PdfCreate(), [&](CPdfEngine *e) {
        PdfDestroy(e);
        bDestroyed = true;
        destroyed.Set();
    });
    PdfSetResourceDir(engine.get(), testsupport::ResourceDir().c_str());
    ASSERT_EQ(PdfOpen(engine.get(), (dir / "huge.pdf").c_str(), nullptr, nullptr), 0);
    auto cache = std::make_shared<CPageCache>();
    cache->SetEngine(engine);
    cache->ClearCache(); // the page needs a bitmap too large to make: the worker reports it
    cache->SetErrorReporter([&](int) {
        inPage.Set();
        release.Wait();
    });
    auto worker = std::make_unique<CRenderWorker>(cache);
    ASSERT_EQ(worker->Start(1, 1), 0);
    ASSERT_TRUE(inPage.Wait(kLongWait));

    EXPECT_FALSE(worker->Stop(10ms));
    worker.reset();
    cache.reset();
    engine.reset();
    EXPECT_FALSE(bDestroyed);
    // The wait at exit is bounded: the worker is still inside its page.
    EXPECT_FALSE(CRenderWorker::WaitForFinishingWorkers(10ms));
    EXPECT_FALSE(bDestroyed);
    release.Set();
    EXPECT_TRUE(CRenderWorker::WaitForFinishingWorkers(kLongWait));
    EXPECT_TRUE(bDestroyed);
    EXPECT_TRUE(destroyed.Wait(kLongWait));
}

TEST(Paint, WithoutADocumentTheWholeBufferIsGrey) {
    CViewCore core(testsupport::ResourceDir());
    core.Scroll().SetClientSize(300, 200);
    platform::DeviceContext buffer(301, 201);
    EXPECT_TRUE(CPagePainter(core).Paint(buffer));
    for (auto [x, y] : {std::pair{0, 0}, {300, 200}, {150, 100}, {300, 0}})
        EXPECT_EQ(buffer.GetPixel(x, y), CPagePainter::kBackground) << x << "," << y;
}

// 612 x 792 pages at 0.2 are 122 x 158 pixels, 168 apart: rows 0 to 801 meet pages 1 to 5.
TEST(Paint, FiveVisiblePagesThroughThreeSlots) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 800);
    ASSERT_TRUE(core);
    ASSERT_EQ(core->ZoomTo(0.2f), 0);
    ASSERT_EQ(core->Scroll().VertPos(), 0);
    platform::DeviceContext buffer(401, 801);
    ASSERT_TRUE(CPagePainter(*core).Paint(buffer));
    PDFHANDLE h = core->Handle();
    for (int page = 1; page <= 5; ++page)
        EXPECT_TRUE(viewtest::ShowsPageAt(buffer, PdfGetPageLeft(h, page, 401),
                                          PdfGetPageTop(h, page), core->PageWidthPx(page) + 4,
                                          core->PageHeightPx(page) + 4))
            << page;
    EXPECT_EQ(buffer.GetPixel(5, 5), CPagePainter::kBackground);
    EXPECT_EQ(core->Worker().GetState().request.nFirst, 6); // the look-ahead
    core->Worker().RenderPage(6);
    EXPECT_EQ(PagesInFillOrder(core->Cache()), (std::vector<int>{4, 5, 6}));
}

TEST(Paint, LookAheadPastTheLastPageRendersNothing) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->SetDisplayMode(kSinglePage);
    core->LastPage();
    platform::DeviceContext buffer(401, 301);
    ASSERT_TRUE(CPagePainter(*core).Paint(buffer));
    EXPECT_EQ(core->Worker().GetState().request.nFirst, 7);
    core->Worker().RenderPage(7);
    EXPECT_EQ(core->Cache().FindCachedPage(7), -1);
    EXPECT_GE(core->Cache().FindCachedPage(6), 0);
}

TEST(Paint, AZoomChangeRendersTheCurrentPageAtItsExactDrawnSize) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->GoToPage(2);
    ASSERT_EQ(core->ZoomTo(1.5f), 0);
    const int slot = core->Cache().FindCachedPage(2);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(core->Cache().SlotInfo(slot).nWidth, 918 + CPageCache::kFrameSize);
    EXPECT_EQ(core->Cache().SlotInfo(slot).nHeight, 1188 + CPageCache::kFrameSize);
}

TEST(Paint, WithTheWorkerStoppedPagesAreStillPainted) {
    auto core = OpenCore(Fixture("two-100pt.pdf"), 300, 300);
    ASSERT_TRUE(core);
    core->Worker().Stop();
    platform::DeviceContext buffer(301, 301);
    ASSERT_TRUE(CPagePainter(*core).Paint(buffer));
    PDFHANDLE h = core->Handle();
    for (int page : {1, 2})
        EXPECT_TRUE(viewtest::ShowsPageAt(buffer, PdfGetPageLeft(h, page, 301),
                                          PdfGetPageTop(h, page), 104, 104))
            << page;
}

// Paints, scrolls and zoom changes on this thread while the worker renders look-aheads:
// every paint shows its pages where they belong (ThreadSanitizer watches the sharing).
TEST(Paint, PaintsAndZoomChangesWhileTheWorkerRenders) {
    auto core = OpenCore(Fixture("outline.pdf"), 300, 400);
    ASSERT_TRUE(core);
    platform::DeviceContext buffer(301, 401);
    PDFHANDLE h = core->Handle();
    const float zooms[] = {0.3f, 0.5f, 0.25f};
    for (int round = 0; round < 30; ++round) {
        if (round % 10 == 0)
            core->ZoomTo(zooms[round / 10]);
        core->Scroll().SetVertPos(round * 97);
        ASSERT_TRUE(CPagePainter(*core).Paint(buffer));
        const int page = core->CurrentPage();
        EXPECT_TRUE(viewtest::ShowsPageAt(
            buffer, PdfGetPageLeft(h, page, 301), PdfGetPageTop(h, page) - core->Scroll().VertPos(),
            core->PageWidthPx(page) + 4, core->PageHeightPx(page) + 4))
            << round;
    }
}

// Each page's own picture reaches its place: "Page 1" and "Page 2" are drawn in dark text
// inside the frame (the region skips the frame and shadow).
TEST(Paint, EachPageShowsItsOwnRendering) {
    auto core = OpenCore(Fixture("two-100pt.pdf"), 300, 500);
    ASSERT_TRUE(core);
    ASSERT_EQ(core->ZoomTo(2.0f), 0);
    platform::DeviceContext buffer(301, 501);
    ASSERT_TRUE(CPagePainter(*core).Paint(buffer));
    PDFHANDLE h = core->Handle();
    auto region = [&](int page) {
        const int x = PdfGetPageLeft(h, page, 301) - core->Scroll().HorzPos();
        const int y = PdfGetPageTop(h, page) - core->Scroll().VertPos();
        std::vector<platform::Rgb> pixels;
        for (int row = y + 4; row < y + 196; ++row)
            for (int col = x + 4; col < x + 196; ++col)
                pixels.push_back(buffer.GetPixel(col, row).value_or(CPagePainter::kBackground));
        return pixels;
    };
    const auto page1 = region(1), page2 = region(2);
    auto dark = [](const std::vector<platform::Rgb> &pixels) {
        return std::count_if(pixels.begin(), pixels.end(),
                             [](platform::Rgb c) { return c.r < 100 && c.g < 100 && c.b < 100; });
    };
    EXPECT_GT(dark(page1), 20);
    EXPECT_GT(dark(page2), 20);
    EXPECT_NE(page1, page2);
}
