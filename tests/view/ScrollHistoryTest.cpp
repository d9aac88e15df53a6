// The scrolled area's vertical requests and the view history, without an engine.

#include "view/CScrollModel.h"
#include "view/CViewHistory.h"

#include <gtest/gtest.h>

using namespace view;

namespace {

struct VScrollCase {
    const char *name;
    int request;
    int arg;
    int track;
    int expected;
};

} // namespace

TEST(ScrollModel, VerticalRequestsMoveAsTheirCodesSay) {
    // Client 300 high over 2000: positions 0 to 1700, starting at 500.
    const VScrollCase cases[] = {
        {"line down", kLineDown, 0, 0, 550},
        {"line up", kLineUp, 0, 0, 450},
        {"page down", kPageDown, 0, 0, 800},
        {"page up", kPageUp, 0, 0, 200},
        {"thumb track", kThumbTrack, 0, 1234, 1234},
        {"thumb position", kThumbPosition, 0, 77, 77},
        {"top does not move", kTop, 0, 0, 500},
        {"bottom does not move", kBottom, 0, 1700, 500},
        {"end scroll", kEndScroll, 0, 0, 500},
        {"odd code beyond the table steps down", 9, 2, 0, 600},
        {"even code beyond the table steps up", 10, 3, 0, 350},
        {"limited at the end", kThumbTrack, 0, 5000, 1700},
        {"limited at the start", kThumbTrack, 0, -20, 0},
    };
    for (const VScrollCase &c : cases) {
        SCOPED_TRACE(c.name);
        CScrollModel scroll;
        scroll.SetClientSize(400, 300);
        scroll.SetTotalSize(600, 2000);
        scroll.SetVertPos(500);
        scroll.VScroll(c.request, c.arg, c.track);
        EXPECT_EQ(scroll.VertPos(), c.expected);
    }
}

TEST(ScrollModel, ShrinkingTheExtentOrGrowingTheClientPullsThePositionBack) {
    CScrollModel scroll;
    EXPECT_EQ(scroll.TotalWidth(), CScrollModel::kInitialExtent);
    EXPECT_EQ(scroll.TotalHeight(), CScrollModel::kInitialExtent);
    scroll.SetClientSize(100, 100);
    scroll.SetTotalSize(1000, 1000);
    scroll.SetHorzPos(800);
    scroll.SetVertPos(900);
    scroll.SetTotalSize(500, 1000);
    EXPECT_EQ(scroll.HorzPos(), 400);
    scroll.SetClientSize(100, 1200);
    EXPECT_EQ(scroll.VertPos(), 0);
    EXPECT_EQ(scroll.HorzPageStep(), 50);
    EXPECT_EQ(scroll.HorzLineStep(), 5);
}

TEST(ViewHistory, GoingBackToEntryZeroAndForwardAgain) {
    CViewHistory history;
    history.Push(5);
    EXPECT_EQ(history.Pos(), 1);
    EXPECT_EQ(history.Back(), 0); // entry 0 is no page
    EXPECT_EQ(history.Pos(), 0);
    EXPECT_EQ(history.Back(), std::nullopt);
    EXPECT_EQ(history.Forward(), 5);
    EXPECT_EQ(history.Forward(), std::nullopt);
    EXPECT_EQ(history.Pos(), 1);
}

TEST(ViewHistory, BranchingDropsTheForwardEntries) {
    CViewHistory history;
    for (int page : {2, 3, 4})
        history.Push(page);
    history.Back();
    EXPECT_EQ(history.Back(), 2);
    history.Push(7);
    EXPECT_EQ(history.Pos(), 2);
    EXPECT_EQ(history.At(2), 7);
    EXPECT_EQ(history.Top(), 2);
    EXPECT_EQ(history.Forward(), std::nullopt);
}

TEST(ViewHistory, SamePageTwiceIsOneEntry) {
    CViewHistory history;
    history.Push(3);
    history.Push(3);
    EXPECT_EQ(history.Pos(), 1);
    EXPECT_EQ(history.Top(), 1);
}

TEST(ViewHistory, AFullHistoryShiftsOutTheOldestEntries) {
    CViewHistory history;
    for (int jump = 1; jump <= 63; ++jump)
        history.Push(100 + jump);
    EXPECT_EQ(history.Pos(), 63);
    EXPECT_EQ(history.At(0), 0);
    history.Push(500); // the initial 0 goes first
    EXPECT_EQ(history.Pos(), 63);
    EXPECT_EQ(history.At(0), 101);
    EXPECT_EQ(history.At(62), 163);
    EXPECT_EQ(history.At(63), 500);
    history.Push(501); // then the first page gone to
    EXPECT_EQ(history.At(0), 102);
    EXPECT_EQ(history.At(63), 501);
    EXPECT_EQ(history.Top(), 63);
}

TEST(ViewHistory, ScrollingLeavesNothingForward) {
    CViewHistory history;
    for (int page : {2, 3, 4})
        history.Push(page);
    history.Back();
    history.DropForward();
    EXPECT_EQ(history.Top(), 2);
    EXPECT_EQ(history.Forward(), std::nullopt);
}
