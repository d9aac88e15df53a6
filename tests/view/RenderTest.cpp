// The page cache, the render worker and its hand-shake, and the paint that uses them.

#include "engine/CPdfEngine.h"
#include "tests/support/TestPaths.h"
#include "tests/view/ViewTestSupport.h"
#include "view/CEvent.h"
#include "view/CPagePainter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <set>
#include <thread>

using namespace view;
using namespace std::chrono_literals;
using testsupport::Fixture;
using viewtest::OpenCore;
using viewtest::PaintSettled;

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

// A page that would draw for ever holds neither a zoom change nor the closing of its window:
// the zoom change waits only so long for it, and stopping the worker cancels it.
TEST(RenderWorker, ASlowPageHoldsNeitherAZoomChangeNorTheClose) {
    auto core = OpenCore(Fixture("hostile/slow-page.pdf"), 300, 300);
    ASSERT_TRUE(core);
    core->Handle()->m_PageBudget.m_Time = 1h;
    auto zoomed = std::async(std::launch::async, [&] { return core->ZoomTo(2.0f); });
    ASSERT_EQ(zoomed.wait_for(kLongWait), std::future_status::ready);
    EXPECT_EQ(zoomed.get(), 0);
    EXPECT_LT(core->Cache().FindCachedPage(1), 0);

    core->Worker().Stop();
    EXPECT_LT(core->Cache().FindCachedPage(1), 0); // the cancelled page left its slot empty
    ASSERT_EQ(core->Worker().Start(1, 1), 0);
    auto closed = std::async(std::launch::async, [&] { core.reset(); });
    ASSERT_EQ(closed.wait_for(kLongWait), std::future_status::ready);
    EXPECT_TRUE(CRenderWorker::WaitForFinishingWorkers(0ms));
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
// A paint does not wait, so the five pages and the one after them need six slots at once;
// the next zoom change takes the cache back to three.
TEST(Paint, FiveVisiblePagesAllStayInTheCache) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 800);
    ASSERT_TRUE(core);
    ASSERT_EQ(core->ZoomTo(0.2f), 0);
    ASSERT_EQ(core->Scroll().VertPos(), 0);
    platform::DeviceContext buffer(401, 801);
    ASSERT_TRUE(PaintSettled(*core, buffer));
    PDFHANDLE h = core->Handle();
    for (int page = 1; page <= 5; ++page)
        EXPECT_TRUE(viewtest::ShowsPageAt(buffer, PdfGetPageLeft(h, page, 401),
                                          PdfGetPageTop(h, page), core->PageWidthPx(page) + 4,
                                          core->PageHeightPx(page) + 4))
            << page;
    EXPECT_EQ(buffer.GetPixel(5, 5), CPagePainter::kBackground);
    EXPECT_EQ(core->Cache().SlotCount(), 6);
    EXPECT_EQ(core->Worker().GetState().request.nFirst, 6); // the look-ahead
    core->Worker().RenderPage(6);
    const long renders = core->Cache().RenderCount();
    ASSERT_TRUE(PaintSettled(*core, buffer)); // everything shown is still there
    EXPECT_EQ(core->Cache().RenderCount(), renders);

    ASSERT_EQ(core->ZoomTo(0.3f), 0);
    EXPECT_EQ(core->Cache().SlotCount(), CPageCache::kSlotCount);
}

TEST(Paint, LookAheadPastTheLastPageRendersNothing) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->SetDisplayMode(kSinglePage);
    core->LastPage();
    platform::DeviceContext buffer(401, 301);
    ASSERT_TRUE(PaintSettled(*core, buffer));
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
        ASSERT_TRUE(PaintSettled(*core, buffer));
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
    ASSERT_TRUE(PaintSettled(*core, buffer));
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

// The worker is held up as by a long page (the engine's lock is taken here): the paint still
// shows what the cache has, leaves the rest grey, and asks for it; once the worker has drawn
// it, it is told and the next paint shows it.
TEST(Paint, NeverWaitsForTheWorker) {
    auto core = OpenCore(Fixture("two-100pt.pdf"), 300, 300);
    ASSERT_TRUE(core);
    std::set<int> filled;
    CEvent evFilled;
    std::mutex filledLock;
    core->Cache().SetFillListener([&](int page) {
        std::lock_guard lock(filledLock);
        filled.insert(page);
        evFilled.Set();
    });
    ASSERT_EQ(core->ZoomTo(1.0f), 0); // page 1 is drawn by the zoom change
    PDFHANDLE h = core->Handle();
    std::unique_lock drawing(h->m_Lock);
    platform::DeviceContext buffer(301, 301);
    CPagePainter painter(*core);
    ASSERT_TRUE(painter.Paint(buffer));
    EXPECT_TRUE(
        viewtest::ShowsPageAt(buffer, PdfGetPageLeft(h, 1, 301), PdfGetPageTop(h, 1), 104, 104));
    EXPECT_FALSE(
        viewtest::ShowsPageAt(buffer, PdfGetPageLeft(h, 2, 301), PdfGetPageTop(h, 2), 104, 104));
    EXPECT_EQ(painter.FirstMissing(), 2);
    EXPECT_EQ(painter.LastMissing(), 2);
    EXPECT_EQ(core->Worker().GetState().request.nFirst, 2);
    drawing.unlock();

    // Page 1, drawn by the zoom change, may be told too.
    const auto hasPage2 = [&] {
        std::lock_guard lock(filledLock);
        return filled.count(2) == 1;
    };
    while (!hasPage2())
        ASSERT_TRUE(evFilled.Wait(kLongWait));
    CPagePainter again(*core);
    ASSERT_TRUE(again.Paint(buffer));
    EXPECT_EQ(again.FirstMissing(), 0);
    EXPECT_TRUE(
        viewtest::ShowsPageAt(buffer, PdfGetPageLeft(h, 2, 301), PdfGetPageTop(h, 2), 104, 104));
    core->Cache().SetFillListener(nullptr);
}

// The open leaves the worker idle: the fit draws page 1 at its zoom, once, and the first paint
// asks only for the page after it.
TEST(Paint, OpenAndFirstFitDrawPageOneOnce) {
    auto core = OpenCore(Fixture("outline.pdf"), 500, 400);
    ASSERT_TRUE(core);
    std::vector<int> drawn;
    std::mutex drawnLock;
    core->Cache().SetFillListener([&](int page) {
        std::lock_guard lock(drawnLock);
        drawn.push_back(page);
    });
    core->OnInitialUpdate();
    platform::DeviceContext buffer(501, 401);
    ASSERT_TRUE(PaintSettled(*core, buffer));
    core->Worker().RenderPage(2); // the look-ahead
    core->Cache().SetFillListener(nullptr);
    EXPECT_EQ(drawn, (std::vector<int>{1, 2}));
    EXPECT_EQ(core->Cache().RenderCount(), 2);
}

// Pages are drawn at device pixels: at scale 2 the slot holds the page at twice the zoom with a
// frame twice as thick, and the paint places it at twice the layout position.
TEST(Paint, AtADeviceScaleOfTwoPagesAreDrawnAtDevicePixels) {
    auto core = OpenCore(Fixture("two-100pt.pdf"), 300, 300);
    ASSERT_TRUE(core);
    ASSERT_EQ(core->ZoomTo(1.0f), 0);
    core->SetDeviceScale(2.0f);
    EXPECT_EQ(core->DeviceScale(), 2.0f);
    EXPECT_EQ(core->PageWidthPx(1), 100); // the layout keeps its numbers
    platform::DeviceContext buffer(601, 601);
    ASSERT_TRUE(PaintSettled(*core, buffer));
    int width = 0, height = 0;
    ASSERT_TRUE(core->Cache().DrawnSize(1, &width, &height));
    EXPECT_EQ(width, 208);
    EXPECT_EQ(height, 208);
    PDFHANDLE h = core->Handle();
    const int x = 2 * PdfGetPageLeft(h, 1, 301), y = 2 * PdfGetPageTop(h, 1);
    EXPECT_EQ(buffer.GetPixel(x, y), platform::kBlack); // the frame's corner
    EXPECT_EQ(buffer.GetPixel(x + 1, y + 1), platform::kBlack);
    EXPECT_EQ(buffer.GetPixel(x - 1, y), CPagePainter::kBackground);
    EXPECT_EQ(buffer.GetPixel(x + 2, y + 2), platform::kWhite); // paper
    EXPECT_TRUE(viewtest::ShowsPageAt(buffer, 2 * PdfGetPageLeft(h, 2, 301),
                                      2 * PdfGetPageTop(h, 2), 208, 208));

    core->SetDeviceScale(1.0f); // back on an ordinary screen: pictures of the old scale go
    EXPECT_EQ(core->Cache().FindCachedPage(1), -1);
    ASSERT_TRUE(PaintSettled(*core, buffer));
    ASSERT_TRUE(core->Cache().DrawnSize(1, &width, &height));
    EXPECT_EQ(width, 104);
}

// A view that is not shown gives every slot's memory back, keeping the fill order; shown
// again, what it shows is drawn before it is painted.
TEST(Paint, ReleasedMemoryIsFilledAgainWithWhatTheViewShows) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    ASSERT_EQ(core->ZoomTo(0.5f), 0);
    platform::DeviceContext buffer(401, 301);
    ASSERT_TRUE(PaintSettled(*core, buffer));
    core->Worker().RenderPage(2);
    const int lastSlot = core->Cache().LastSlot();
    core->ReleaseMemory();
    for (int slot = 0; slot < CPageCache::kSlotCount; ++slot) {
        EXPECT_EQ(core->Cache().SlotInfo(slot).nPage, 0) << slot;
        EXPECT_EQ(core->Cache().BitmapWidth(slot), 0) << slot;
    }
    EXPECT_EQ(core->Cache().LastSlot(), lastSlot);
    EXPECT_EQ(core->Worker().GetState().request.nCount, 0); // nothing is drawn behind it

    core->RenderVisiblePages();
    EXPECT_GE(core->Cache().FindCachedPage(1), 0);
    CPagePainter painter(*core);
    ASSERT_TRUE(painter.Paint(buffer));
    EXPECT_EQ(painter.FirstMissing(), 0);
}

// A page still being drawn when the memory is given back does not bring its bitmap back: the
// engine's lock, taken here, holds the drawing after its slot was claimed.
TEST(PageCache, APageDrawnAcrossAReleaseIsDropped) {
    const EnginePtr engine = OpenEngine(Fixture("outline.pdf"));
    CPageCache cache;
    cache.SetEngine(engine);
    cache.ClearCache();
    std::unique_lock drawing(engine->m_Lock);
    std::thread worker([&] { cache.CachePage(1); });
    const auto deadline = std::chrono::steady_clock::now() + kLongWait;
    while (cache.LastSlot() != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(cache.LastSlot(), 0);
    cache.ReleaseMemory();
    drawing.unlock();
    worker.join();
    EXPECT_EQ(cache.FindCachedPage(1), -1);
    EXPECT_EQ(cache.BitmapWidth(0), 0);
    EXPECT_EQ(cache.CachePage(1), 0); // the next slot in turn, with a bitmap of the page's size
    EXPECT_EQ(cache.BitmapWidth(1), 616);
}
