// The hand and selection tools without a window: tool state, the hand drag's scrolling and
// history, the selection's corners, what is drawn and which cursor shows.

#include "tests/support/TestPaths.h"
#include "tests/view/ViewTestSupport.h"
#include "view/CMouseTools.h"

#include <gtest/gtest.h>

#include <functional>

using namespace view;
using testsupport::Fixture;
using viewtest::OpenCore;

TEST(MouseTools, SelectionToolNeedsADocumentThatAllowsCopying) {
    CViewCore none(testsupport::ResourceDir());
    CMouseTools idle(none);
    idle.SetSelectTool();
    EXPECT_FALSE(idle.IsSelectMode());
    EXPECT_EQ(idle.Cursor(), ToolCursor::Arrow);

    auto forbidding = OpenCore(Fixture("encrypted/no-copy.pdf"), 400, 300);
    ASSERT_TRUE(forbidding);
    CMouseTools kept(*forbidding);
    kept.SetSelectTool();
    EXPECT_FALSE(kept.IsSelectMode());
    EXPECT_EQ(kept.Cursor(), ToolCursor::OpenHand);

    auto core = OpenCore(Fixture("text-pages.pdf"), 400, 300);
    ASSERT_TRUE(core);
    CMouseTools tools(*core);
    EXPECT_FALSE(tools.IsSelectMode()); // the hand tool comes first
    tools.SetSelectTool();
    EXPECT_TRUE(tools.IsSelectMode());
    EXPECT_EQ(tools.Cursor(), ToolCursor::Arrow);
    tools.ExitSelectMode();
    EXPECT_FALSE(tools.IsSelectMode());
    tools.SetSelectTool();
    tools.SetHandTool();
    EXPECT_FALSE(tools.IsSelectMode());
    tools.SetSelectTool();
    tools.OnButtonDown(5, 6);
    tools.Reset(); // Close
    EXPECT_FALSE(tools.IsSelectMode());
    EXPECT_EQ(tools.Selection(), CSelectRect{});
    EXPECT_FALSE(tools.IsDragging());
}

namespace {

struct HandDragCase {
    const char *name;
    const char *fixture;
    int nMode;
    float fZoom;
    int nPage;
    bool bScrollsX, bScrollsY;
};

} // namespace

// A 400 x 300 window; the mouse moves down and right by 30 and 40 pixels. The rule follows the
// current page, not the whole document: page 5 of sizes.pdf is 100 points wide, page 3 792.
TEST(MouseTools, HandDragScrollsWhereThePageIsLargerThanTheWindow) {
    const HandDragCase cases[] = {
        {"single page smaller than the window: nothing moves", "outline.pdf", kSinglePage, 0.35f, 1,
         false, false},
        {"single page narrower and taller: vertically only", "outline.pdf", kSinglePage, 0.5f, 1,
         false, true},
        {"continuous, a narrow page in a wide document: vertically only", "sizes.pdf", kContinuous,
         1.0f, 5, false, true},
        {"continuous, a page wider and taller: both ways", "sizes.pdf", kContinuous, 1.0f, 3, true,
         true},
    };
    constexpr int kDx = 30, kDy = 40;
    for (const HandDragCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto core = OpenCore(Fixture(c.fixture), 400, 300);
        ASSERT_TRUE(core);
        core->SetDisplayMode(c.nMode);
        ASSERT_EQ(core->ZoomTo(c.fZoom), 0);
        ASSERT_EQ(core->GoToPage(c.nPage), 0);
        core->Scroll().SetHorzPos(100);
        core->Scroll().SetVertPos(core->Scroll().VertPos() + 100);
        const int x = core->Scroll().HorzPos(), y = core->Scroll().VertPos();
        CMouseTools tools(*core);
        tools.OnButtonDown(200, 200);
        EXPECT_EQ(tools.Cursor(), ToolCursor::ClosedHand);
        // Two steps: the second starts where the first left the mouse.
        EXPECT_TRUE(tools.OnMouseMove(200 + kDx / 2, 200 + kDy / 2, true));
        EXPECT_TRUE(tools.OnMouseMove(200 + kDx, 200 + kDy, true));
        tools.OnButtonUp(200 + kDx, 200 + kDy);
        EXPECT_EQ(tools.Cursor(), ToolCursor::OpenHand);
        // The document follows the mouse: pulled down and right, it shows what is above and left.
        EXPECT_EQ(x - core->Scroll().HorzPos(), c.bScrollsX ? kDx : 0);
        EXPECT_EQ(y - core->Scroll().VertPos(), c.bScrollsY ? kDy : 0);
    }
}

TEST(MouseTools, HandDragBeyondTheEndDoesNotPileUp) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    CMouseTools tools(*core);
    tools.OnButtonDown(100, 100);
    tools.OnMouseMove(100, 250, true); // pulls the document down at its top: nothing to show
    EXPECT_EQ(core->Scroll().VertPos(), 0);
    tools.OnMouseMove(100, 230, true); // the way back scrolls at once
    EXPECT_EQ(core->Scroll().VertPos(), 20);
}

TEST(MouseTools, HandDragLeavesNothingForNextView) {
    auto core = OpenCore(Fixture("outline.pdf"), 400, 300);
    ASSERT_TRUE(core);
    core->GoToPage(2);
    core->GoToPage(3);
    core->PrevView();
    ASSERT_EQ(core->History().Top(), 2);
    CMouseTools tools(*core);
    tools.OnMouseMove(10, 10, false); // the mouse passing over changes nothing
    EXPECT_EQ(core->History().Top(), 2);
    tools.OnButtonDown(10, 10);
    tools.OnMouseMove(10, 10, true); // even a drag that does not move yet
    EXPECT_EQ(core->History().Top(), core->History().Pos());
    tools.OnButtonUp(10, 10);
}

TEST(MouseTools, SelectionKeepsItsCornersInDragOrder) {
    auto core = OpenCore(Fixture("text-pages.pdf"), 400, 300);
    ASSERT_TRUE(core);
    CMouseTools tools(*core);
    tools.SetSelectTool();

    tools.OnButtonDown(300, 200);
    EXPECT_EQ(tools.Selection(), (CSelectRect{{300, 200}, {0, 0}}));
    EXPECT_TRUE(tools.ShowsBand());
    tools.OnMouseMove(250, 150, true);
    tools.OnMouseMove(120, 40, false); // moves without the button do not count
    tools.OnMouseMove(100, 50, true);
    EXPECT_EQ(tools.Selection(), (CSelectRect{{300, 200}, {100, 50}}));
    EXPECT_EQ(core->Scroll().VertPos(), 0); // the selection tool does not scroll
    tools.OnButtonUp(100, 50);
    EXPECT_FALSE(tools.ShowsBand());
    EXPECT_TRUE(tools.ShowsHighlight());

    // A click without a drag: the end stays at the window's corner and nothing is inverted.
    tools.OnButtonDown(80, 90);
    EXPECT_FALSE(tools.ShowsHighlight());
    tools.OnButtonUp(80, 90);
    EXPECT_EQ(tools.Selection(), (CSelectRect{{80, 90}, {0, 0}}));
    EXPECT_FALSE(tools.ShowsHighlight());
}

TEST(MouseTools, HighlightLastsWhileTheViewStaysAsItWas) {
    auto core = OpenCore(Fixture("text-pages.pdf"), 400, 300);
    ASSERT_TRUE(core);
    CMouseTools tools(*core);
    const auto select = [&] {
        tools.SetSelectTool();
        tools.OnButtonDown(20, 20);
        tools.OnMouseMove(120, 80, true);
        tools.OnButtonUp(120, 80);
        ASSERT_TRUE(tools.ShowsHighlight());
    };
    const struct {
        const char *name;
        std::function<void()> change;
    } changes[] = {
        {"scrolled", [&] { core->Scroll().SetVertPos(core->Scroll().VertPos() + 5); }},
        {"scrolled and back",
         [&] {
             core->Scroll().SetVertPos(core->Scroll().VertPos() + 5);
             EXPECT_FALSE(tools.ShowsHighlight());
             core->Scroll().SetVertPos(core->Scroll().VertPos() - 5);
         }},
        {"zoomed", [&] { core->ZoomTo(core->CurrentZoom() * 0.5f); }},
        {"rotated", [&] { core->Rotate(90); }},
        {"other mode", [&] { core->SetDisplayMode(kSinglePage); }},
        {"other page", [&] { core->GoToPage(2); }},
        {"resized", [&] { core->Scroll().SetClientSize(380, 300); }},
        {"hand tool", [&] { tools.SetHandTool(); }},
    };
    for (const auto &c : changes) {
        SCOPED_TRACE(c.name);
        select();
        c.change();
        EXPECT_FALSE(tools.ShowsHighlight());
    }
    // The selection itself outlives the highlight: the copy commands still use it.
    EXPECT_EQ(tools.Selection(), (CSelectRect{{20, 20}, {120, 80}}));
}

TEST(MouseTools, WithoutDocumentTheMouseDoesNothing) {
    CViewCore none(testsupport::ResourceDir());
    CMouseTools tools(none);
    tools.OnButtonDown(10, 10);
    EXPECT_FALSE(tools.IsDragging());
    EXPECT_FALSE(tools.OnMouseMove(50, 50, true));
    tools.OnButtonUp(50, 50);
    EXPECT_EQ(tools.Selection(), CSelectRect{});
    EXPECT_EQ(tools.Cursor(), ToolCursor::Arrow);
}
