// Engines used from several threads at once: each call is serialised per engine, and the
// shared configuration is never pulled from under an engine while another window opens,
// rebuilds it with another resource path, or is destroyed.

#include "engine/CPdfEngine.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

constexpr int kRounds = 15;

// One document window's life: create, open, measure, zoom, rotate, destroy.
void WindowLife(const std::string &path, int pages, std::atomic<int> &failures) {
    for (int round = 0; round < kRounds; ++round) {
        CEngineHandle h;
        if (h.Open(path) != 0 || PdfGetPageCount(h) != pages) {
            ++failures;
            continue;
        }
        for (int p = 1; p <= pages; ++p)
            if (PdfGetPageWidth(h, p) <= 0 || PdfGetPageHeight(h, p) <= 0)
                ++failures;
        PdfSetZoom(h, 1.0f + round % 3);
        PdfRotate(h, 90);
        int w = 0, ht = 0;
        if (PdfGetDocExtent(h, &w, &ht) != 0 || w <= 0 || ht <= 0)
            ++failures;
    }
}

} // namespace

TEST(EngineThreads, TwoWindowsOpenMeasureAndCloseWhileEachOtherWorks) {
    std::atomic<int> failures = 0;
    // A third window keeps switching the resource path, so the configuration is rebuilt
    // while the others work.
    std::atomic<bool> done = false;
    std::thread rebuilder([&] {
        CEngineHandle h;
        for (int i = 0; !done; ++i) {
            PdfSetResourceDir(h, i % 2 ? testsupport::ResourceDir().c_str() : "");
            if (h.Open(Fixture("two-100pt.pdf")) != 0)
                ++failures;
        }
    });
    std::thread a(WindowLife, Fixture("outline.pdf"), 6, std::ref(failures));
    std::thread b(WindowLife, Fixture("sizes.pdf"), 5, std::ref(failures));
    a.join();
    b.join();
    done = true;
    rebuilder.join();
    EXPECT_EQ(failures, 0);
}

TEST(EngineThreads, OneEngineCalledFromTwoThreadsStaysConsistent) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("sizes.pdf")), 0);
    std::atomic<int> failures = 0;
    // A render worker's calls against the interface thread's zoom, page and rotation changes.
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            const int page = 1 + i % 5;
            const int w = PdfGetPageWidth(h, page), ht = PdfGetPageHeight(h, page);
            if (w <= 0 || ht <= 0 || PdfGetZoom(h) < 0.125f)
                ++failures;
            PdfSetRedraw(h, 0);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        PdfSetZoom(h, i % 2 ? 1.5f : 1.0f);
        PdfGoToPage(h, 1 + i % 5);
        if (i % 100 == 0)
            PdfRotate(h, 90);
        int first = 0, last = 0;
        PdfGetVisibleRange(h, 0, 800, &first, &last);
    }
    worker.join();
    EXPECT_EQ(failures, 0);
}

// A page being drawn holds the engine's lock; the questions a paint asks must not wait for it.
// The lock is held on this thread while another asks; a call that waited would only answer
// once the lock is let go, long after the generous limit.
TEST(EngineThreads, LayoutQueriesAnswerWhileAPageIsBeingDrawn) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("outline.pdf")), 0);
    ASSERT_EQ(PdfSetZoom(h, 0.5f), 0);
    std::unique_lock drawing(h.Get()->m_Lock);
    auto answers = std::async(std::launch::async, [&h] {
        int first = 0, last = 0, width = 0, height = 0;
        PdfGetVisibleRange(h, 0, 700, &first, &last);
        PdfGetDocExtent(h, &width, &height);
        PdfGoToPage(h, 2);
        return std::vector<int>{PdfIsOpen(h),
                                PdfGetPageCount(h),
                                PdfGetPageWidth(h, 3),
                                PdfGetPageHeight(h, 3),
                                PdfGetPageTop(h, 2),
                                PdfGetPageLeft(h, 1, 400),
                                first,
                                last,
                                width,
                                height,
                                PdfGetCurrentPage(h),
                                static_cast<int>(PdfGetZoom(h) * 10),
                                PdfGetRotation(h)};
    });
    const bool answered = answers.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    drawing.unlock();
    ASSERT_TRUE(answered);
    // 612 x 792 pages at 0.5: 306 x 396, tops 10 apart.
    EXPECT_EQ(answers.get(), (std::vector<int>{1, 6, 612, 792, 416, 47, 1, 2, 326, 2446, 2, 5, 0}));
}
