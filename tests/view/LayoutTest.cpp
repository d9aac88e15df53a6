// Layout, zoom, rotation, scrolling, navigation and opening, driven through the view core
// with the real engine (the render worker runs alongside).

#include "tests/support/TestPaths.h"
#include "tests/view/ViewTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>

using namespace view;
using testsupport::Fixture;
using viewtest::OpenCore;

namespace {

struct ZoomRun {
    const char *name;
    float fStart;
    bool bIn;
    int nAccepted;   // steps that give a new factor
    float fLast;     // the factor after them
    int nNextResult; // what the step after them answers
};

} // namespace

TEST(ViewZoom, StepsFromTheDoubleStepInSinglePrecision) {
    const ZoomRun runs[] = {
        {"in from 1.0 ends below 3.81; 4.0000005 is refused", 1.0f, true, 14, 3.8000007f, -3},
        {"out from 0.75 ends at 0.15; a negative factor is refused", 0.75f, false, 3, 0.15f, -3},
        {"out from 1.0 ends at 0.2; 3.3e-8 passes the view, the engine keeps 0.2", 1.0f, false, 4,
         0.2f, 0},
    };
    auto core = OpenCore(Fixture("outline.pdf"), 800, 600);
    ASSERT_TRUE(core);
    for (const ZoomRun &run : runs) {
        SCOPED_TRACE(run.name);
        ASSERT_EQ(core->ZoomTo(run.fStart), 0);
        for (int step = 0; step < run.nAccepted; ++step)
            ASSERT_EQ(run.bIn ? core->ZoomIn() : core->ZoomOut(), 0);
        EXPECT_NEAR(core->CurrentZoom(), run.fLast, 1e-6);
        EXPECT_EQ(run.bIn ? core->ZoomIn() : core->ZoomOut(), run.nNextResult);
        EXPECT_NEAR(core->CurrentZoom(), run.fLast, 1e-6);
    }
}

TEST(ViewZoom, LargestStepFromActualSizeIsExactly3_8000007) {
    auto core = OpenCore(Fixture("outline.pdf"), 800, 600);
    ASSERT_TRUE(core);
    while (core->ZoomIn() == 0) {
    }
    EXPECT_EQ(core->CurrentZoom(), 3.8000007f);
}

// The refused factor still drives the re-layout: the centre maps to almost 0.
TEST(ViewZoom, EngineRefusedFactorStillRelaysOut) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 600);
    ASSERT_TRUE(core);
    for (int step = 0; step < 4; ++step)
        core->ZoomOut();
    core->Scroll().SetVertPos(300);
    ASSERT_EQ(core->Scroll().VertPos(), 300);
    EXPECT_EQ(core->ZoomOut(), 0);
    EXPECT_NEAR(core->CurrentZoom(), 0.2f, 1e-6);
    EXPECT_EQ(core->Scroll().VertPos(), 0);
}

TEST(ViewZoom, OutOfRangeAndNoDocumentChangeNothing) {
    auto core = OpenCore(Fixture("outline.pdf"), 800, 600);
    ASSERT_TRUE(core);
    for (float z : {-0.01f, 4.0001f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(core->ZoomTo(z), -3) << z;
    EXPECT_EQ(core->CurrentZoom(), 1.0f);
    EXPECT_EQ(core->ZoomTo(4.0f), 0);

    CViewCore empty(testsupport::ResourceDir());
    EXPECT_EQ(empty.ZoomTo(1.0f), -1);
    EXPECT_EQ(empty.FitWidth(), -1);
    EXPECT_EQ(empty.FitHeight(), -1);
    EXPECT_EQ(empty.ZoomIn(), -1);
    EXPECT_EQ(empty.CurrentZoom(), -1.0f);
}

TEST(ViewZoom, FitWidthAndHeightDivideTheWindowLessItsReserve) {
    testsupport::CTempDir dir;
    viewtest::WriteBlankPdf(dir / "600x800.pdf", {{600, 800}});
    auto core = OpenCore(dir / "600x800.pdf", 840, 820);
    ASSERT_TRUE(core);
    EXPECT_EQ(core->FitWidth(), 0);
    EXPECT_EQ(core->CurrentZoom(), 1.3333334f); // 800 / 600 in single precision
    EXPECT_EQ(core->FitHeight(), 0);
    EXPECT_EQ(core->CurrentZoom(), 1.0f); // (820 - 20) / 800
}

TEST(ViewZoom, FitToAFactorAboveFourChangesNothing) {
    auto core = OpenCore(Fixture("two-100pt.pdf"), 840, 300);
    ASSERT_TRUE(core);
    EXPECT_EQ(core->FitWidth(), 0); // 800 / 100 = 8 is refused by the view
    EXPECT_EQ(core->CurrentZoom(), 1.0f);
}

// The first fit follows the window's width, without drawing anything when the factor stays;
// any command that changes the zoom ends that.
TEST(ViewZoom, InitialFitFollowsTheWidthUntilACommandChangesTheZoom) {
    const std::pair<const char *, std::function<void(CViewCore &)>> commands[] = {
        {"zoom in", [](CViewCore &c) { c.ZoomIn(); }},
        {"zoom out", [](CViewCore &c) { c.ZoomOut(); }},
        {"zoom to", [](CViewCore &c) { c.ZoomTo(1.0f); }},
        {"fit width", [](CViewCore &c) { c.FitWidth(); }},
        {"fit height", [](CViewCore &c) { c.FitHeight(); }},
        {"rotate", [](CViewCore &c) { c.Rotate(90); }},
    };
    for (const auto &[name, command] : commands) {
        SCOPED_TRACE(name);
        auto core = OpenCore(Fixture("outline.pdf"), 500, 400);
        ASSERT_TRUE(core);
        EXPECT_FALSE(core->RefitWidth()); // nothing to keep before the initial update
        core->OnInitialUpdate();
        EXPECT_EQ(core->CurrentZoom(), static_cast<float>(460.0 / 612));
        core->Scroll().SetClientSize(800, 400);
        EXPECT_TRUE(core->RefitWidth());
        EXPECT_EQ(core->CurrentZoom(), static_cast<float>(760.0 / 612));
        const long renders = core->Cache().RenderCount();
        EXPECT_FALSE(core->RefitWidth());
        EXPECT_EQ(core->Cache().RenderCount(), renders);

        command(*core);
        EXPECT_FALSE(core->KeepsInitialFit());
        const float zoom = core->CurrentZoom();
        core->Scroll().SetClientSize(600, 400);
        EXPECT_FALSE(core->RefitWidth());
        EXPECT_EQ(core->CurrentZoom(), zoom);
    }
}

namespace {

struct SinglePageZoomCase {
    const char *name;
    float fStart;
    int nStartY;
    float fZoom;
    int nExpectedY;
};

} // namespace

// Window 400 x 300 over 612 x 792 pages in single-page mode.
TEST(ViewZoom, SinglePageVerticalRulesAroundActualSize) {
    const SinglePageZoomCase cases[] = {
        {"at 1.0 a page taller than the window goes to the top", 1.0f, 100, 1.0f, 0},
        {"below 1.0 likewise", 1.0f, 100, 0.9f, 0},
        // centre 100 + 150 = 250 becomes 300 at 1.2; minus half the window
        {"above 1.0 the window centre stays in the centre", 1.0f, 100, 1.2f, 150},
        // 792 x 0.3662 = 290 pixels fit in 300, but the extent of 310 still scrolls by 10
        {"a page that fits keeps its position", 0.3662f, 10, 0.3662f, 10},
    };
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->SetDisplayMode(kSinglePage);
    for (const SinglePageZoomCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(core->ZoomTo(c.fStart), 0);
        core->Scroll().SetVertPos(c.nStartY);
        ASSERT_EQ(core->Scroll().VertPos(), c.nStartY);
        ASSERT_EQ(core->ZoomTo(c.fZoom), 0);
        EXPECT_EQ(core->Scroll().VertPos(), c.nExpectedY);
    }
}

TEST(ViewLayout, ScrollExtentFollowsTheDisplayMode) {
    auto core = OpenCore(Fixture("sizes.pdf"), 400, 300);
    ASSERT_TRUE(core);
    int width = 0, height = 0;
    PdfGetDocExtent(core->Handle(), &width, &height);
    EXPECT_EQ(core->Scroll().TotalWidth(), width);
    EXPECT_EQ(core->Scroll().TotalHeight(), height);
    core->SetDisplayMode(kSinglePage);
    core->GoToPage(4); // 400 x 300 turned a quarter: 300 x 400
    core->UpdateScrollSizes();
    EXPECT_EQ(core->Scroll().TotalWidth(), 320);
    EXPECT_EQ(core->Scroll().TotalHeight(), 420);
}

namespace {

struct WheelCase {
    const char *name;
    int nMode;
    float fZoom;
    bool bHandled;
};

} // namespace

// Window 400 x 1000: a 792-point page at 1.0 fits with more than 10 pixels to spare.
TEST(ViewScroll, WheelScrollsALineUnlessASinglePageFits) {
    const WheelCase cases[] = {
        {"single page that fits", kSinglePage, 1.0f, false},
        {"single page taller than the window", kSinglePage, 1.5f, true},
        {"continuous", kContinuous, 1.0f, true},
    };
    auto core = OpenCore(Fixture("outline.pdf"), 400, 1000);
    ASSERT_TRUE(core);
    for (const WheelCase &c : cases) {
        SCOPED_TRACE(c.name);
        core->SetDisplayMode(c.nMode);
        core->ZoomTo(c.fZoom);
        for (int page : {2, 3})
            core->GoToPage(page);
        core->PrevView();
        const int y = core->Scroll().VertPos();
        const int pos = core->History().Pos();
        EXPECT_EQ(core->OnMouseWheel(-120), c.bHandled);
        EXPECT_EQ(core->Scroll().VertPos(), c.bHandled ? y + CScrollModel::kLineStep : y);
        EXPECT_EQ(core->History().Top(), c.bHandled ? pos : pos + 1);
    }
}

TEST(ViewScroll, WheelNotchesAddUpDeltasAndStartAfreshTheOtherWay) {
    const std::pair<std::vector<int>, std::vector<int>> runs[] = {
        {{120, -120, 240}, {1, -1, 2}}, // a classic wheel: one notch each
        {{15, 15, 15, 15, 15, 15, 15, 15}, {0, 0, 0, 0, 0, 0, 0, 1}},
        {{-90, -90, -90}, {0, -1, -1}}, // the remainder carries on
        {{100, -30, -100}, {0, 0, -1}}, // a turn the other way drops it
        {{2147483647, 2147483647}, {17895697, 17895697}},
    };
    for (const auto &[deltas, notches] : runs) {
        CWheelNotches wheel;
        std::vector<int> got;
        for (int delta : deltas)
            got.push_back(wheel.Add(delta));
        EXPECT_EQ(got, notches) << deltas.front();
    }
}

namespace {

struct WheelEventCase {
    const char *name;
    std::vector<std::array<int, 4>> events; // angle x, angle y, pixel x, pixel y
    int nDown;                              // pixels moved down
    int nRight;                             // pixels moved right
};

} // namespace

// Touchpads and high-resolution wheels: small angle deltas make a line only together, pixel
// deltas scroll by themselves, and sideways only where the pages are wider than the window.
TEST(ViewScroll, WheelAndTouchpadDeltas) {
    const WheelEventCase cases[] = {
        {"a classic notch", {{0, -120, 0, 0}}, 50, 0},
        {"eight small deltas are one notch", std::vector<std::array<int, 4>>(8, {0, -15, 0, 0}), 50,
         0},
        {"seven are none yet", std::vector<std::array<int, 4>>(7, {0, -15, 0, 0}), 0, 0},
        {"two notches at once", {{0, -240, 0, 0}}, 100, 0},
        {"pixels where the device gives them", {{0, -120, 0, -37}, {0, 0, 0, 12}}, 25, 0},
        {"sideways notch", {{-120, 0, 0, 0}}, 0, 50},
        {"sideways pixels", {{0, 0, -20, 0}}, 0, 20},
    };
    for (const WheelEventCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
        ASSERT_TRUE(core);
        core->ZoomTo(2.0f);
        core->Scroll().SetVertPos(500);
        core->ScrollHorz(100);
        for (const auto &[ax, ay, px, py] : c.events)
            EXPECT_TRUE(core->OnWheel(ax, ay, px, py));
        EXPECT_EQ(core->Scroll().VertPos(), 500 + c.nDown);
        EXPECT_EQ(core->Scroll().HorzPos(), 100 + c.nRight);
    }
    auto narrow = OpenCore(Fixture("two-100pt.pdf"), 400, 300);
    ASSERT_TRUE(narrow);
    narrow->OnWheel(-120, 0, 0, 0);
    narrow->OnWheel(0, 0, -40, 0);
    EXPECT_EQ(narrow->Scroll().HorzPos(), 0);
    narrow->SetDisplayMode(kSinglePage); // a page that fits: the wheel is not taken
    EXPECT_FALSE(narrow->OnWheel(0, -120, 0, 0));
    EXPECT_FALSE(narrow->OnWheel(0, 0, 0, -30));
}

TEST(ViewScroll, ArrowKeysScrollALineAndKeepTheHistory) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->GoToPage(2);
    core->GoToPage(3);
    core->PrevView();
    const int y = core->Scroll().VertPos();
    core->OnKeyUpDown(false);
    EXPECT_EQ(core->Scroll().VertPos(), y + CScrollModel::kLineStep);
    core->OnKeyUpDown(true);
    EXPECT_EQ(core->Scroll().VertPos(), y);
    EXPECT_EQ(core->History().Top(), 2);
}

TEST(ViewScroll, NarrowDocumentNeverScrollsSideways) {
    auto narrow = OpenCore(Fixture("two-100pt.pdf"), 400, 300);
    ASSERT_TRUE(narrow);
    for (int pos : {-5, 50, 100000}) {
        narrow->ScrollHorz(pos);
        EXPECT_EQ(narrow->Scroll().HorzPos(), 0) << pos;
    }
    auto wide = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(wide);
    wide->ZoomTo(2.0f);
    wide->ScrollHorz(300);
    EXPECT_EQ(wide->Scroll().HorzPos(), 300);
}

TEST(ViewLayout, RotatingTwiceEachWayRestoresLayoutAndZoom) {
    auto core = OpenCore(Fixture("sizes.pdf"), 500, 400);
    ASSERT_TRUE(core);
    core->ZoomTo(0.75f);
    PDFHANDLE h = core->Handle();
    auto layout = [&] {
        int width = 0, height = 0;
        PdfGetDocExtent(h, &width, &height);
        return std::vector<int>{width,
                                height,
                                PdfGetPageWidth(h, 2),
                                PdfGetPageHeight(h, 2),
                                PdfGetPageTop(h, 5),
                                core->Scroll().TotalHeight()};
    };
    const std::vector<int> before = layout();
    core->Rotate(90);
    EXPECT_EQ(PdfGetPageWidth(h, 2), before[3]);
    core->Rotate(90);
    core->Rotate(-90);
    core->Rotate(-90);
    EXPECT_EQ(layout(), before);
    EXPECT_EQ(core->CurrentZoom(), 0.75f);
}

TEST(ViewLayout, WindowPointsMapToPagePixelsFromTheTopMargin) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->ZoomTo(1.0f);
    core->ScrollHorz(40);
    core->Scroll().SetVertPos(70);
    int px = 0, py = 0;
    ASSERT_TRUE(core->WindowToPage(1, 100, 20, &px, &py));
    EXPECT_EQ(px, 40 + 100 - 10); // the page is wider than the window: left offset 10
    EXPECT_EQ(py, 70 + 20 - 10);
}

namespace {

struct PageCommandCase {
    const char *name;
    int nStart;
    int (CViewCore::*command)();
    int nResult;
    int nPageAfter;
};

} // namespace

TEST(ViewNavigation, PageCommandsAtBothEnds) {
    const PageCommandCase cases[] = {
        {"first on page 1", 1, &CViewCore::FirstPage, -1, 1},
        {"previous on page 1", 1, &CViewCore::PrevPage, -1, 1},
        {"next on page 1", 1, &CViewCore::NextPage, 0, 2},
        {"last on page 1", 1, &CViewCore::LastPage, 0, 6},
        {"next on the last page", 6, &CViewCore::NextPage, -1, 6},
        {"last on the last page", 6, &CViewCore::LastPage, -1, 6},
        {"previous on the last page", 6, &CViewCore::PrevPage, 0, 5},
        {"first on the last page", 6, &CViewCore::FirstPage, 0, 1},
    };
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    for (const PageCommandCase &c : cases) {
        SCOPED_TRACE(c.name);
        core->GoToPage(c.nStart);
        EXPECT_EQ(((*core).*c.command)(), c.nResult);
        EXPECT_EQ(core->CurrentPage(), c.nPageAfter);
    }
}

namespace {

struct SinglePageStep {
    int (CViewCore::*command)();
    int nPage;
    int nWidth, nHeight; // the extent afterwards
};

} // namespace

// The sample's pages in a 700 x 500 window at 1.0: a landscape page after a portrait one can be
// scrolled to its right edge, a card after it does not scroll, a portrait page again to its
// bottom.
TEST(ViewNavigation, SinglePageExtentFollowsEveryPageChange) {
    const SinglePageStep steps[] = {
        {&CViewCore::NextPage, 4, 862, 615},                                       // A4 landscape
        {&CViewCore::NextPage, 5, 320, 220},                                       // a card
        {&CViewCore::PrevPage, 4, 862, 615},  {&CViewCore::LastPage, 6, 632, 812}, // US Letter
        {&CViewCore::FirstPage, 1, 615, 862},                                      // A4
    };
    auto core = OpenCore(testsupport::SourceDir() + "/res/sample/sample.pdf", 700, 500);
    ASSERT_TRUE(core);
    core->ZoomTo(1.0f);
    core->SetDisplayMode(kSinglePage);
    ASSERT_EQ(core->GoToPage(3), 0);
    for (const SinglePageStep &step : steps) {
        SCOPED_TRACE(step.nPage);
        ASSERT_EQ(((*core).*step.command)(), 0);
        ASSERT_EQ(core->CurrentPage(), step.nPage);
        EXPECT_EQ(core->Scroll().TotalWidth(), step.nWidth);
        EXPECT_EQ(core->Scroll().TotalHeight(), step.nHeight);
        core->ScrollHorz(100000);
        core->Scroll().SetVertPos(100000);
        EXPECT_EQ(core->Scroll().HorzPos(), std::max(step.nWidth - 700, 0));
        EXPECT_EQ(core->Scroll().VertPos(), std::max(step.nHeight - 500, 0));
    }
}

TEST(ViewNavigation, GoToPagePutsThePageTopAtTheWindowTop) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    ASSERT_EQ(core->GoToPage(3), 0);
    EXPECT_EQ(core->Scroll().VertPos(), PdfGetPageTop(core->Handle(), 3));
    core->SetDisplayMode(kSinglePage);
    ASSERT_EQ(core->GoToPage(4), 0);
    EXPECT_EQ(core->Scroll().VertPos(), CViewCore::kPageMargin);
}

TEST(ViewNavigation, NumbersThatAreNoPageChangeNothing) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->GoToPage(3);
    const int y = core->Scroll().VertPos();
    for (int page : {0, -1, 7, 1000}) {
        EXPECT_EQ(core->GoToPage(page), -1) << page;
        EXPECT_EQ(core->CurrentPage(), 3);
        EXPECT_EQ(core->Scroll().VertPos(), y);
        EXPECT_EQ(core->History().Pos(), 1);
    }
    CViewCore empty(testsupport::ResourceDir());
    EXPECT_EQ(empty.GoToPage(1), -1);
    EXPECT_EQ(empty.NextPage(), -1);
    EXPECT_EQ(empty.CurrentPage(), -1);
}

TEST(ViewNavigation, PreviousViewToEntryZeroStaysAndNextViewReturns) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->GoToPage(5);
    core->PrevView();
    EXPECT_EQ(core->History().Pos(), 0);
    EXPECT_EQ(core->CurrentPage(), 5);
    core->GoToPage(2); // a jump from entry 0 replaces what lay ahead
    EXPECT_EQ(core->History().Pos(), 1);
    core->PrevView();
    core->NextView();
    EXPECT_EQ(core->CurrentPage(), 2);
    EXPECT_EQ(core->History().Pos(), 1);
}

TEST(ViewNavigation, BackTwiceThenAJumpBranches) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    for (int page : {2, 3, 4})
        core->GoToPage(page);
    core->PrevView();
    core->PrevView();
    EXPECT_EQ(core->CurrentPage(), 2);
    core->GoToPage(6);
    EXPECT_EQ(core->History().Pos(), 2);
    core->NextView();
    EXPECT_EQ(core->CurrentPage(), 6);
}

// The new mode's extent is set before the page is placed, so a page far down a continuous
// document is shown from its top rather than cut back to the single-page range.
TEST(ViewNavigation, SwitchingModesKeepsThePageAndShowsItFromItsTop) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->GoToPage(4);
    core->SetDisplayMode(kSinglePage);
    EXPECT_EQ(core->CurrentPage(), 4);
    EXPECT_EQ(core->Scroll().VertPos(), CViewCore::kPageMargin);
    core->GoToPage(5);
    core->SetDisplayMode(kContinuous);
    EXPECT_EQ(core->CurrentPage(), 5);
    EXPECT_EQ(core->Scroll().VertPos(), PdfGetPageTop(core->Handle(), 5));
    EXPECT_EQ(core->History().At(core->History().Pos()), 5);
}

namespace {

struct OpenCase {
    const char *name;
    std::string path;
    const char *password; // null: no prompt expected
    int nResult;
};

} // namespace

TEST(ViewOpen, ResultsAndTheSinglePasswordRetry) {
    const OpenCase cases[] = {
        {"plain file", Fixture("outline.pdf"), nullptr, 0},
        {"missing file", Fixture("no-such-file.pdf"), nullptr, -1},
        {"not a PDF", testsupport::SourceDir() + "/CMakeLists.txt", nullptr, -1},
        {"right password", Fixture("encrypted/aes-128.pdf"), "user", 0},
        {"owner password", Fixture("encrypted/rc4-128.pdf"), "owner", 0},
        {"wrong password", Fixture("encrypted/aes-256.pdf"), "nope", -2},
        {"cancelled prompt", Fixture("encrypted/rc4-40.pdf"), "", -2},
    };
    // One view opening one file after another, as each open replaces the document.
    CViewCore core(testsupport::ResourceDir());
    core.Scroll().SetClientSize(400, 300);
    for (const OpenCase &c : cases) {
        SCOPED_TRACE(c.name);
        int prompts = 0;
        const int r = core.OpenPdfFile(c.path, nullptr, [&] {
            ++prompts;
            return std::string(c.password ? c.password : "");
        });
        EXPECT_EQ(r, c.nResult);
        EXPECT_EQ(prompts, c.password ? 1 : 0);
        EXPECT_EQ(core.IsOpen(), r == 0);
        EXPECT_EQ(core.Worker().IsRunning(), r == 0);
        EXPECT_EQ(core.FilePath(), r == 0 ? c.path : "");
        if (r == 0) {
            EXPECT_EQ(core.CurrentPage(), 1);
            EXPECT_EQ(core.History().Pos(), 0); // opening adds no history entry
        }
    }
}
